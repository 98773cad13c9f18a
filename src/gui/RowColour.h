#pragma once

#include <QString>
#include <cstdint>

// The text colour of a result row as 0xRRGGBB: red-orange for more than 4 sources, sky blue
// for a row that repeats the file name above it, black otherwise. above is empty for row 0.
std::uint32_t RowTextColour(const QString& name, const QString& above, const QString& sources);

inline constexpr std::uint32_t kManySourcesColour = 0xFF3300;   // RGB(255, 51, 0)
inline constexpr std::uint32_t kRepeatedNameColour = 0x00CCFF;  // RGB(0, 204, 255)
inline constexpr std::uint32_t kPlainRowColour = 0x000000;
