#pragma once

#include <QByteArray>
#include <QString>

// The user's "ANSI" code page: the locale's charset. Characters it cannot represent become the
// converter's default character.
QByteArray ToAnsi(QStringView text);
QString FromAnsi(QByteArrayView bytes);
