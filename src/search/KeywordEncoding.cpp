#include "search/KeywordEncoding.h"

namespace {

bool KeptAsIs(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
    switch (c) {
        case '-':
        case '.':
        case '_':
        case '~':
        case '!':
        case '$':
        case '&':
        case '\'':
        case '(':
        case ')':
        case '*':
        case '+':
        case ',':
        case ';':
        case '=':
        case ':':
        case '@':
            return true;
        default:
            return false;
    }
}

}  // namespace

QString EncodeKeywordForPath(const QString& keyword) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const QByteArray utf8 = keyword.toUtf8();
    QString out;
    out.reserve(utf8.size() * 3);
    for (const char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        if (KeptAsIs(c)) {
            out.append(QChar(c));
        } else {
            out.append(u'%');
            out.append(QChar(kHex[c >> 4]));
            out.append(QChar(kHex[c & 0x0F]));
        }
    }
    return out;
}
