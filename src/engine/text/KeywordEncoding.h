#pragma once

#include <QByteArray>
#include <QString>

// The keyword as it goes into a URL path segment: UTF-8, with every byte that a request line
// cannot carry as is (space, controls, non-ASCII, '/', '#', '?', '%', quotes, brackets...)
// written as %XX. Plain ASCII keywords stay unchanged.
QString EncodeKeywordForPath(const QString& keyword);
