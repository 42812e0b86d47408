#pragma once
// The pixels a triangle covers and the height its plane gives there. Corners lie on pixel
// centres, so the edge tests are exact integer arithmetic and a pixel on an edge counts as inside.
#include <algorithm>
#include <cstdint>
#include <type_traits>
#include <utility>

#include "model/heightmap/TerrainMesh.h"

namespace terravel {

namespace scan_detail {

inline std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

inline std::int64_t CeilDiv(std::int64_t a, std::int64_t b) {
  return -FloorDiv(-a, b);
}

// A triangle's plane over its pixels: level = a.Level - (A (x - ax) + B (y - ay)) * Inverse.
struct TPlane {
  double A = 0, B = 0, Inverse = 0;
};

// Swaps b and c so that the corners turn the positive way and gives the plane; false (nothing
// to scan) for a degenerate triangle.
inline bool OrientedPlane(const TPixelPoint& a, TPixelPoint& b, TPixelPoint& c, TPlane& plane) {
  std::int64_t det = std::int64_t(b.Column - a.Column) * (c.Row - a.Row) - std::int64_t(c.Column - a.Column) * (b.Row - a.Row);
  if (det == 0) return false;
  if (det < 0) {
    std::swap(b, c);
    det = -det;
  }
  const double z1 = double(b.Level) - a.Level, z2 = double(c.Level) - a.Level;
  plane.A = double(b.Row - a.Row) * z2 - double(c.Row - a.Row) * z1;
  plane.B = double(c.Column - a.Column) * z1 - double(b.Column - a.Column) * z2;
  plane.Inverse = 1.0 / double(det);
  return true;
}

}  // namespace scan_detail

// Calls visit(column, row, planeLevel) for every pixel centre inside or on the triangle, row by
// row. A degenerate triangle visits nothing.
template <class Visit>
void ScanTriangle(TPixelPoint a, TPixelPoint b, TPixelPoint c, Visit&& visit) {
  using scan_detail::CeilDiv;
  using scan_detail::FloorDiv;
  scan_detail::TPlane plane;
  if (!scan_detail::OrientedPlane(a, b, c, plane)) return;
  const double planeA = plane.A, planeB = plane.B, inverse = plane.Inverse;
  const TPixelPoint corners[3] = {a, b, c};
  const int top = std::min({a.Row, b.Row, c.Row}), bottom = std::max({a.Row, b.Row, c.Row});
  for (int y = top; y <= bottom; ++y) {
    std::int64_t left = std::min({a.Column, b.Column, c.Column});
    std::int64_t right = std::max({a.Column, b.Column, c.Column});
    for (int e = 0; e < 3; ++e) {
      const TPixelPoint& p = corners[e];
      const TPixelPoint& q = corners[(e + 1) % 3];
      const std::int64_t dx = q.Column - p.Column, dy = q.Row - p.Row;
      // Inside: dx (y - py) - dy (x - px) >= 0.
      const std::int64_t bound = dy * p.Column + dx * (y - p.Row);
      if (dy > 0) {
        right = std::min(right, FloorDiv(bound, dy));
      } else if (dy < 0) {
        left = std::max(left, CeilDiv(bound, dy));
      } else if (dx * (y - p.Row) < 0) {
        left = right + 1;
      }
    }
    const double rowPart = planeB * double(y - a.Row);
    for (std::int64_t x = left; x <= right; ++x) {
      const double level = double(a.Level) - (planeA * double(x - a.Column) + rowPart) * inverse;
      visit(int(x), y, level);
    }
  }
}

// As ScanTriangle, but the triangles of a tiling of the picture's rectangle visit every pixel once:
// a pixel on an edge inside the rectangle belongs to one of the two triangles that share the edge,
// a pixel on an edge along the rectangle's sides (column 0 or lastColumn, row 0 or lastRow) to its
// only triangle. A corner pixel may be visited by none or several, and its level is exact. Calls
// visitRow(row, left, right, level, step) for each row that has such pixels: columns left,
// left + stride, ... up to right, the plane's level at the first and its change from one to the
// next. With a stride above 1, only the pixels whose column and row are multiples of it. A visitor
// may return a bool: false stops the scan after that row.
template <class VisitRow>
void ScanTriangleOnce(TPixelPoint a, TPixelPoint b, TPixelPoint c, int lastColumn, int lastRow, VisitRow&& visitRow,
                      int stride = 1) {
  using scan_detail::CeilDiv;
  scan_detail::TPlane plane;
  if (!scan_detail::OrientedPlane(a, b, c, plane)) return;
  const double planeA = plane.A, planeB = plane.B, inverse = plane.Inverse;
  const TPixelPoint corners[3] = {a, b, c};
  // Per edge: how far inside a pixel must lie, 0 (on the edge counts) or 1 (it does not). Of the
  // two directions an inner edge is walked in, exactly one counts its pixels.
  std::int64_t margin[3];
  for (int e = 0; e < 3; ++e) {
    const TPixelPoint& p = corners[e];
    const TPixelPoint& q = corners[(e + 1) % 3];
    const std::int64_t dx = q.Column - p.Column, dy = q.Row - p.Row;
    const bool onSide = (p.Column == q.Column && (p.Column == 0 || p.Column == lastColumn)) ||
                        (p.Row == q.Row && (p.Row == 0 || p.Row == lastRow));
    margin[e] = (onSide || dy < 0 || (dy == 0 && dx > 0)) ? 0 : 1;
  }
  const int top = int(CeilDiv(std::min({a.Row, b.Row, c.Row}), stride) * stride);
  const int bottom = std::max({a.Row, b.Row, c.Row});
  const std::int64_t leftmost = std::min({a.Column, b.Column, c.Column});
  const std::int64_t rightmost = std::max({a.Column, b.Column, c.Column});
  const double columnStep = -planeA * inverse;
  // Per edge, the bound on x in a row as a line in y: x <= (or >=) (start + dx y) / dy. The
  // quotient is rounded to a whole pixel through a product with 1/dy: the exact quotient is whole
  // or at least 1/|dy| from the next whole number, far more than the product's rounding error.
  double edgeStart[3], edgeSlope[3], edgeInverse[3];
  int edgeKind[3];  // 1: bounds the right, -1: the left, 0: a row that is wholly inside or outside
  for (int e = 0; e < 3; ++e) {
    const TPixelPoint& p = corners[e];
    const TPixelPoint& q = corners[(e + 1) % 3];
    const std::int64_t dx = q.Column - p.Column, dy = q.Row - p.Row;
    edgeStart[e] = double(dy * p.Column - dx * p.Row - margin[e]);
    edgeSlope[e] = double(dx);
    edgeInverse[e] = dy != 0 ? 1.0 / double(dy) : 0.0;
    edgeKind[e] = dy > 0 ? 1 : dy < 0 ? -1 : 0;
  }
  constexpr double kNudge = 1e-7;
  for (int y = top; y <= bottom; y += stride) {
    std::int64_t left = leftmost, right = rightmost;
    for (int e = 0; e < 3; ++e) {
      const double quotient = (edgeStart[e] + edgeSlope[e] * y) * edgeInverse[e];
      if (edgeKind[e] > 0) {
        const double bound = quotient + kNudge;
        std::int64_t whole = std::int64_t(bound);
        if (double(whole) > bound) --whole;  // the floor
        right = std::min(right, whole);
      } else if (edgeKind[e] < 0) {
        const double bound = quotient - kNudge;
        std::int64_t whole = std::int64_t(bound);
        if (double(whole) < bound) ++whole;  // the ceiling
        left = std::max(left, whole);
      } else if (edgeSlope[e] * double(y - corners[e].Row) < double(margin[e])) {
        left = right + 1;
      }
    }
    if (stride > 1) left = CeilDiv(left, stride) * stride;
    if (left > right) continue;
    const double level = double(a.Level) - (planeA * double(left - a.Column) + planeB * double(y - a.Row)) * inverse;
    // A visitor that answers false has seen enough: the scan stops.
    if constexpr (std::is_same_v<decltype(visitRow(y, int(left), int(right), level, columnStep)), bool>) {
      if (!visitRow(y, int(left), int(right), level, columnStep * stride)) return;
    } else {
      visitRow(y, int(left), int(right), level, columnStep * stride);
    }
  }
}

}  // namespace terravel
