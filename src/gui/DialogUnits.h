#pragma once

#include <QFont>
#include <QRect>

// Dialog units to pixels for a dialog font: a horizontal unit is a quarter of the font's average
// character width, a vertical unit an eighth of its height.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    int x(int units) const { return MulDiv(units, m_baseX, 4); }
    int y(int units) const { return MulDiv(units, m_baseY, 8); }
    QRect rect(int left, int top, int width, int height) const {
        return {x(left), y(top), x(width), y(height)};
    }

    // The font of the dialog templates: "MS Shell Dlg" at size points, with the fonts that
    // stand in for it on Linux (the CJK ones first, so the Chinese texts render).
    static QFont DialogFont(int points);

private:
    static int MulDiv(int value, int numerator, int denominator) {
        return (value * numerator + denominator / 2) / denominator;
    }

    int m_baseX;
    int m_baseY;
};
