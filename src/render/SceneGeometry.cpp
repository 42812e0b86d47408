#include "render/SceneGeometry.h"

#include <algorithm>
#include <cmath>

#include "model/editor/Editor.h"
#include "render/Rounding.h"
#include "render/Shapes.h"

namespace terravel {

std::vector<TScreenPoint> NodePositions(const TEditor& editor) {
  std::vector<TScreenPoint> positions;
  positions.reserve(static_cast<std::size_t>(editor.Nodes.Count()));
  for (const T3DCoord& node : editor.Nodes) positions.push_back(NodeScreenPosition(editor, node));
  return positions;
}

bool PolygonCorners(const TPoly& polygon, const std::vector<TScreenPoint>& nodes,
                    std::array<TScreenPoint, 3>& corners) {
  const int indices[3] = {polygon.Node1, polygon.Node2, polygon.Node3};
  for (int i = 0; i < 3; ++i) {
    if (indices[i] < 0 || static_cast<std::size_t>(indices[i]) >= nodes.size()) return false;
    corners[static_cast<std::size_t>(i)] = nodes[static_cast<std::size_t>(indices[i])];
  }
  return true;
}

namespace {

// Round(sum / 3) for a whole sum: a third never ends in a half, so the nearest whole number is
// the floor quotient, one more when the remainder is 2.
int RoundedThird(long long sum) {
  long long quotient = sum / 3, remainder = sum % 3;
  if (remainder < 0) {
    quotient -= 1;
    remainder += 3;
  }
  return static_cast<int>(remainder == 2 ? quotient + 1 : quotient);
}

}  // namespace

TScreenPoint PolygonCentre(const std::array<TScreenPoint, 3>& c) {
  return {RoundedThird(static_cast<long long>(c[0].X) + c[1].X + c[2].X),
          RoundedThird(static_cast<long long>(c[0].Y) + c[1].Y + c[2].Y)};
}

int MarkerRadius(float zoom) {
  const long double r = RoundHalfEven(3.0L * zoom);
  if (!(r >= 2)) return 2;
  return r > 6 ? 6 : static_cast<int>(r);
}

void FillBoxEllipse(TRaster& raster, long long left, long long top, long long right, long long bottom,
                    double grow, QRgb color) {
  // Pixel centres sit at whole coordinates: the box covers left..right-1.
  const double cx = (double(left) + double(right) - 1) / 2, cy = (double(top) + double(bottom) - 1) / 2;
  FillDisc(raster, cx, cy, (double(right) - double(left)) / 2 + grow, color);
}

}  // namespace terravel
