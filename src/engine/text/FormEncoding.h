#pragma once

#include <QString>

// The UTF-8 bytes of text with every byte for which keep(byte) is false written as %XX
// (upper-case hex digits).
QString PercentEncodeBytes(const QString& text, bool (*keep)(unsigned char));

// A value of an application/x-www-form-urlencoded body, as a browser sends it: letters, digits
// and "-_.~" as they are, every other byte of the UTF-8 as %XX.
QString EncodeFormValue(const QString& value);
