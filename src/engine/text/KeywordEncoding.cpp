#include "engine/text/KeywordEncoding.h"

#include "engine/text/FormEncoding.h"

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
    return PercentEncodeBytes(keyword, KeptAsIs);
}
