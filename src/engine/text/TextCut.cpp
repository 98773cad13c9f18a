#include "engine/text/TextCut.h"

#include <algorithm>
#include <limits>

namespace cut {

int leadingInt(QStringView text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == u' ' || (text[i] >= u'\t' && text[i] <= u'\r'))) ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    // One past the int range is enough to saturate either sign.
    constexpr long long kLimit = static_cast<long long>(std::numeric_limits<int>::max()) + 1;
    long long value = 0;
    for (; i < n && text[i] >= u'0' && text[i] <= u'9'; ++i)
        value = std::min(value * 10 + (text[i].unicode() - u'0'), kLimit);
    if (negative) value = -value;
    if (value > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (value < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

}  // namespace cut

QString PrintableServerText(QStringView text, qsizetype maxLength) {
    QString out;
    for (const QChar c : text) {
        if (out.size() >= maxLength) return out + QChar(0x2026);
        if (c.category() != QChar::Other_Control) out += c;
    }
    return out;
}
