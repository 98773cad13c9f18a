#include "gui/DialogUnits.h"

#include <QFontMetrics>
#include <QStringList>

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int alphabet = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_baseX = (alphabet / 26 + 1) / 2;
    m_baseY = metrics.height();
}

QFont DialogUnits::DialogFont(int points) {
    QFont font;
    QStringList families;
    for (const char* family : {"MS Shell Dlg", "WenQuanYi Micro Hei", "Noto Sans CJK SC",
                               "Droid Sans Fallback", "DejaVu Sans"})
        families.append(QString::fromLatin1(family));
    font.setFamilies(families);
    font.setPointSize(points);
    return font;
}
