#pragma once

#include <QString>

// Bounds that keep a search finite whatever its servers send.
namespace search_limits {

// Rows one search keeps; what comes after is dropped and the count text says so.
inline constexpr int kMaxRows = 100000;
// Result pages a magnet search reads, whatever page 1 announces.
inline constexpr int kMaxMagnetPages = 100;

// "共搜到：N", with the notice that the list was cut when it was.
inline QString FoundText(int rows, bool cut) {
    QString text = QStringLiteral("共搜到：%1").arg(rows);
    if (cut) text += QStringLiteral("（结果过多，只显示前 %1 条）").arg(kMaxRows);
    return text;
}

}  // namespace search_limits
