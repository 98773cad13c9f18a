#pragma once

#include <QString>
#include <QStringView>

// The three cuts every scraper takes web answers apart with. Positions count UTF-16 units; a
// marker that is missing gives -1, and the cuts turn such values into empty or whole texts
// instead of failing.
namespace cut {

// Index of the first occurrence of marker in text (case-sensitive), or -1.
inline qsizetype find(QStringView text, QStringView marker) {
    return text.indexOf(marker, 0, Qt::CaseSensitive);
}

// text without its first k characters; k < 0 counts as 0, k at or past the end gives "".
inline QStringView from(QStringView text, qsizetype k) {
    if (k < 0) k = 0;
    if (k >= text.size()) return {};
    return text.sliced(k);
}

// The first n characters of text; n < 0 counts as 0.
inline QStringView first(QStringView text, qsizetype n) {
    if (n < 0) n = 0;
    if (n > text.size()) n = text.size();
    return text.first(n);
}

// The decimal number at the start of text: leading white space skipped, an optional sign, then
// digits up to the first non-digit; 0 when there are no digits. Saturates at the int range.
int leadingInt(QStringView text);

}  // namespace cut

// A text a server sent, fit to print in one line: control characters removed, and cut to
// maxLength characters with "…" after the cut.
QString PrintableServerText(QStringView text, qsizetype maxLength = 200);
