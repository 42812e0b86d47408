#pragma once
// Z to colour: the gradient colour of a height, the colours of nodes and polygons, and the fixed
// colours of the viewport.
#include <QRgb>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "model/document/ProjectValues.h"
#include "model/document/Records.h"
#include "render/GradientTable.h"

namespace terravel {

class TEditor;

namespace colors {
inline constexpr QRgb kBlack = 0xFF000000;
inline constexpr QRgb kWhite = 0xFFFFFFFF;
inline constexpr QRgb kSilver = 0xFFC0C0C0;  // viewport background
inline constexpr QRgb kGrey = 0xFF808080;    // every 8th grid line, origin marker, selected node below MinZ
inline constexpr QRgb kLightGrey = 0xFFA0A0A0;  // other grid lines, label backgrounds
inline constexpr QRgb kNavy = 0xFF000080;       // position and scale readouts
}  // namespace colors

// Black below MinZ, white above MaxZ, otherwise the ramp entry Round((z - MinZ) / (MaxZ - MinZ) * kGradientLast);
// the middle entry (green) when MinZ = MaxZ.
QRgb GradientColor(const TProjectValues& values, float z);

// As GradientColor, but a selected node below MinZ is grey.
QRgb NodeColor(const TProjectValues& values, float z, bool selected);

// The gradient colour of the mean Z of the corners for the automatic colour (-1), otherwise the
// polygon's own colour. A polygon with a corner naming no node is black.
QRgb PolygonColor(const TEditor& editor, const TPoly& polygon);

// A stored colour value: 0x00BBGGRR, or a system colour (negative, its index in the low byte).
QRgb ColorFromValue(std::int32_t value);

// The platform's colour for a system colour index (the low byte of a negative colour value);
// 13 is the selection highlight.
QRgb SystemColor(int index);
inline constexpr int kSystemHighlight = 13;

// GradientColor for the heights of one picture: terrains repeat a few thousand heights over tens
// of thousands of nodes and polygons, so each height is looked up once and then remembered.
class TGradientMemo {
 public:
  explicit TGradientMemo(const TProjectValues& values);

  QRgb operator()(float z) {
    std::uint32_t bits;
    std::memcpy(&bits, &z, sizeof bits);
    TEntry& entry = entries_[(bits ^ (bits >> 13)) & (kSize - 1)];
    if (entry.Bits != bits) entry = {bits, GradientColor(values_, z)};
    return entry.Color;
  }
  QRgb Node(float z, bool selected) {
    if (z < values_.MinZ) return selected ? colors::kGrey : colors::kBlack;
    return (*this)(z);
  }
  // PolygonColor with the gradient taken from here.
  QRgb Polygon(const TEditor& editor, const TPoly& polygon);

 private:
  static constexpr std::size_t kSize = 4096;
  struct TEntry {
    std::uint32_t Bits;
    QRgb Color;
  };
  const TProjectValues& values_;
  std::vector<TEntry> entries_;
};

// GradientColor for many heights against one MinZ and MaxZ: the per-pixel colours of gradient
// lines. Works in double precision, so a height exactly between two entries may take the other one.
class TZColorScale {
 public:
  explicit TZColorScale(const TProjectValues& values);

  QRgb operator()(double z) const {
    if (z < minZ_) return colors::kBlack;
    if (z > maxZ_) return colors::kWhite;
    const double position = (z - minZ_) * factor_;
    if (!(position >= 0)) return position < 0 ? table_[0] : colors::kBlack;  // NaN is black
    if (position >= kGradientLast) return table_[kGradientLast];
    return table_[std::lrint(position)];
  }

 private:
  double minZ_;
  double maxZ_;
  double factor_;      // kGradientLast / (MaxZ - MinZ); 0 for a zero range
  const QRgb* table_;  // the ramp; for a zero range its middle entry, so that position 0 is green
};

}  // namespace terravel
