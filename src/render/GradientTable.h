#pragma once
// The colour ramp behind every Z colour: 559 entries from blue (lowest Z) through cyan, green and
// yellow to red (highest Z), each channel at most 248. The gradient bar of the main window shows
// the same ramp stretched.
#include <QImage>
#include <QRgb>

#include <array>

namespace terravel {

inline constexpr int kGradientWidth = 559;
inline constexpr int kGradientLast = kGradientWidth - 1;  // 558
// The entry of a zero Z range (MinZ = MaxZ): pure green.
inline constexpr int kGradientMiddle = kGradientWidth / 2;  // 279

using TGradientTable = std::array<QRgb, kGradientWidth>;

// Made once, on first use.
const TGradientTable& GradientTable();

// The ramp as a 559 x 1 picture.
QImage GradientImage();

}  // namespace terravel
