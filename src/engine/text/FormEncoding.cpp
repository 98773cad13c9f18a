#include "engine/text/FormEncoding.h"

QString PercentEncodeBytes(const QString& text, bool (*keep)(unsigned char)) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const QByteArray utf8 = text.toUtf8();
    QString out;
    out.reserve(utf8.size() * 3);
    for (const char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        if (keep(c)) {
            out.append(QChar(c));
        } else {
            out.append(u'%');
            out.append(QChar(kHex[c >> 4]));
            out.append(QChar(kHex[c & 0x0F]));
        }
    }
    return out;
}

QString EncodeFormValue(const QString& value) {
    return PercentEncodeBytes(value, [](unsigned char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
               c == '-' || c == '_' || c == '.' || c == '~';
    });
}
