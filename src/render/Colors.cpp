#include "render/Colors.h"

#include <cmath>

#include "model/editor/Editor.h"
#include "render/GradientTable.h"
#include "render/Rounding.h"

namespace terravel {

namespace {

using Extended = long double;

QRgb TableEntry(Extended position) {
  if (std::isnan(position)) return colors::kBlack;
  const TGradientTable& table = GradientTable();
  if (position <= 0) return table[0];
  if (position >= kGradientLast) return table[kGradientLast];
  return table[static_cast<std::size_t>(RoundHalfEven(position))];
}

}  // namespace

QRgb GradientColor(const TProjectValues& values, float z) {
  if (std::isnan(z) || z < values.MinZ) return colors::kBlack;
  if (z > values.MaxZ) return colors::kWhite;
  float range = values.MaxZ - values.MinZ;
  if (range == 0) return GradientTable()[kGradientMiddle];
  // A range beyond the float limit is taken wide rather than as infinity.
  const Extended wideRange = std::isfinite(range) ? Extended(range) : Extended(values.MaxZ) - values.MinZ;
  return TableEntry((Extended(z) - values.MinZ) / wideRange * kGradientLast);
}

QRgb NodeColor(const TProjectValues& values, float z, bool selected) {
  if (z < values.MinZ) return selected ? colors::kGrey : colors::kBlack;
  return GradientColor(values, z);
}

namespace {

template <typename Gradient>
QRgb PolygonColorBy(const TEditor& editor, const TPoly& polygon, Gradient gradient) {
  if (polygon.Color != kAutomaticColor) return ColorFromValue(polygon.Color);
  const T3DCoord* n1 = editor.Nodes.NodeAt(polygon.Node1);
  const T3DCoord* n2 = editor.Nodes.NodeAt(polygon.Node2);
  const T3DCoord* n3 = editor.Nodes.NodeAt(polygon.Node3);
  if (n1 == nullptr || n2 == nullptr || n3 == nullptr) return colors::kBlack;
  const auto mean = static_cast<float>((Extended(n1->Z) + n2->Z + n3->Z) * (1.0L / 3));
  return gradient(mean);
}

}  // namespace

QRgb PolygonColor(const TEditor& editor, const TPoly& polygon) {
  return PolygonColorBy(editor, polygon, [&](float z) { return GradientColor(editor.Values, z); });
}

TGradientMemo::TGradientMemo(const TProjectValues& values)
    : values_(values), entries_(kSize, TEntry{0, GradientColor(values, 0.0f)}) {}

QRgb TGradientMemo::Polygon(const TEditor& editor, const TPoly& polygon) {
  return PolygonColorBy(editor, polygon, [this](float z) { return (*this)(z); });
}

QRgb ColorFromValue(std::int32_t value) {
  if (value < 0) return SystemColor(value & 0xFF);
  const auto bits = static_cast<std::uint32_t>(value);
  return qRgb(bits & 0xFF, (bits >> 8) & 0xFF, (bits >> 16) & 0xFF);
}

TZColorScale::TZColorScale(const TProjectValues& values)
    : minZ_(values.MinZ), maxZ_(values.MaxZ), factor_(0), table_(GradientTable().data()) {
  const double range = maxZ_ - minZ_;
  if (range == 0) {
    table_ += kGradientMiddle;
  } else {
    factor_ = kGradientLast / range;
  }
}

}  // namespace terravel
