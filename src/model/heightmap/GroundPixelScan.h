#pragma once
// The pixels of the heightmap export under one ground triangle whose corners lie anywhere in
// pixel coordinates. Each row is walked only over the columns where the triangle can hold a
// pixel, so that the cost follows the triangle's own area, not its bounding box.
#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace terravel {

// The plane of one triangle in pixel coordinates, with its corners' heights.
struct TPixelTriangle {
  double U[3], V[3], Z[3];
};

// Calls visit(column, row, z) for every pixel centre inside or on the triangle.
template <class Visit>
void ScanGroundPixels(const TPixelTriangle& t, int width, int height, Visit&& visit) {
  const double det = (t.U[1] - t.U[0]) * (t.V[2] - t.V[0]) - (t.U[2] - t.U[0]) * (t.V[1] - t.V[0]);
  if (det == 0 || !std::isfinite(det)) return;
  // Corners on pixel centres give exact weights; elsewhere a pixel on a shared edge must not be
  // lost between both neighbours by rounding.
  constexpr double kOnEdge = 1e-9;
  const double margin = 1e-6;
  const int left = std::max(0, int(std::ceil(std::min({t.U[0], t.U[1], t.U[2]}) - margin)));
  const int right = std::min(width - 1, int(std::floor(std::max({t.U[0], t.U[1], t.U[2]}) + margin)));
  const int top = std::max(0, int(std::ceil(std::min({t.V[0], t.V[1], t.V[2]}) - margin)));
  const int bottom = std::min(height - 1, int(std::floor(std::max({t.V[0], t.V[1], t.V[2]}) + margin)));
  if (left > right || top > bottom) return;
  // Along a row each weight is a line in the column, w = start + slope * column. The weights
  // below are rounded; a bound on that rounding (a few units in the last place of the largest
  // product they add) widens each row's columns, so that the exact test of every pixel, which
  // decides, never meets a column that was not walked.
  const double e1u = t.U[1] - t.U[0], e1v = t.V[1] - t.V[0], e2u = t.U[2] - t.U[0], e2v = t.V[2] - t.V[0];
  const double reachU = std::max(std::fabs(left - t.U[0]), std::fabs(right - t.U[0]));
  const double reachV = std::max(std::fabs(top - t.V[0]), std::fabs(bottom - t.V[0]));
  const double products = reachU * (std::fabs(e1v) + std::fabs(e2v)) + reachV * (std::fabs(e1u) + std::fabs(e2u));
  const double rounding = 32 * std::numeric_limits<double>::epsilon() * products / std::fabs(det) + kOnEdge;
  for (int row = top; row <= bottom; ++row) {
    const double dv = row - t.V[0];
    // w1 and w2 at column U[0] and their change per column; w0 = 1 - w1 - w2.
    const double start1 = -e2u * dv / det, slope1 = e2v / det;
    const double start2 = e1u * dv / det, slope2 = -e1v / det;
    const double start0 = 1 - start1 - start2, slope0 = -slope1 - slope2;
    double from = left, to = right;
    for (const auto& [start, slope] : {std::pair{start0, slope0}, {start1, slope1}, {start2, slope2}}) {
      // start + slope * du >= -rounding, with du = column - U[0].
      if (slope == 0) continue;
      const double at = t.U[0] + (-rounding - start) / slope;
      if (!std::isfinite(at)) continue;
      if (slope > 0) {
        from = std::max(from, std::floor(at) - 1);
      } else {
        to = std::min(to, std::ceil(at) + 1);
      }
    }
    if (from > to) continue;
    for (int column = int(from); column <= int(to); ++column) {
      const double du = column - t.U[0];
      const double w1 = (du * (t.V[2] - t.V[0]) - (t.U[2] - t.U[0]) * dv) / det;
      const double w2 = ((t.U[1] - t.U[0]) * dv - du * (t.V[1] - t.V[0])) / det;
      const double w0 = 1 - w1 - w2;
      if (w0 < -kOnEdge || w1 < -kOnEdge || w2 < -kOnEdge) continue;
      // At a corner the weights are exactly 1, 0 and 0: the corner's own height.
      visit(column, row, w0 * t.Z[0] + w1 * t.Z[1] + w2 * t.Z[2]);
    }
  }
}

}  // namespace terravel
