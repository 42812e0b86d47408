#include "model/formats/FiniteCoordinates.h"

#include <cfloat>
#include <cmath>

#include "model/core/Errors.h"
#include "model/text/NumberText.h"

namespace terravel {

namespace {

std::string NodeText(const TCoordList& nodes, int index) {
  return "node " + std::to_string(index) + " (" + nodes[index].Name + ")";
}

}  // namespace

bool FitsSingle(long double value) {
  // FLT_MAX and half an ulp: anything below rounds to FLT_MAX at most.
  static const long double kOverflow = FLT_MAX + std::ldexp(1.0L, 103);
  return std::fabs(value) < kOverflow;
}

std::string NonFiniteCoordinateText(const TCoordList& nodes) {
  for (int i = 0; i < nodes.Count(); ++i) {
    const T3DCoord& node = nodes[i];
    const char axis = !std::isfinite(node.X) ? 'X' : !std::isfinite(node.Y) ? 'Y' : !std::isfinite(node.Z) ? 'Z' : 0;
    if (axis != 0) return std::string("the ") + axis + " coordinate of " + NodeText(nodes, i) + " is not a finite number.";
  }
  return {};
}

void RequireFiniteCoordinates(const TCoordList& nodes) {
  if (const std::string text = NonFiniteCoordinateText(nodes); !text.empty()) throw ETerravelError("Cannot export: " + text);
}

void FailScaledBeyondRange(const TCoordList& nodes, int index, float scale) {
  throw ETerravelError("Cannot export: " + NodeText(nodes, index) + " times the scale " + FormatGeneral(scale) +
                       " lies outside the single-precision range.");
}

std::string TrimmedForMessage(std::string_view text) {
  constexpr std::size_t kShown = 40;
  std::string shown(text.substr(0, kShown));
  if (text.size() > kShown) shown += "...";
  return shown;
}

}  // namespace terravel
