#include "model/scene3d/TriangleGrid.h"

#include <algorithm>
#include <cmath>

namespace terravel {

namespace {
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// floor(value) held to 0 .. count - 1 before it becomes an int: NaN and values beyond the int
// range (far or infinite coordinates) would make the conversion undefined.
int ClampedIndex(double value, int count) {
  if (!(value >= 0)) return 0;
  if (!(value < count)) return count - 1;
  return static_cast<int>(std::floor(value));
}

// ceil(value) held to 1 .. most.
int ClampedCount(double value, int most) {
  if (!(value > 1)) return 1;
  if (!(value < most)) return most;
  return static_cast<int>(std::ceil(value));
}

bool Finite(const TVec3& p) { return std::isfinite(p.X) && std::isfinite(p.Y) && std::isfinite(p.Z); }
}

double RayTriangle(const TRay& ray, const TVec3& a, const TVec3& b, const TVec3& c) {
  const TVec3 e1 = b - a;
  const TVec3 e2 = c - a;
  const TVec3 p = Cross(ray.Direction, e2);
  const double det = Dot(e1, p);
  // Parallel or degenerate (|e1| |e2| is at most half the sum of their squares).
  const double scale = Dot(e1, e1) + Dot(e2, e2);
  if (scale == 0 || std::fabs(det) <= 1e-12 * scale) return kInfinity;
  const double inv = 1 / det;
  const TVec3 s = ray.Origin - a;
  const double u = Dot(s, p) * inv;
  // Borders count: a ray through an edge meets both triangles that share it.
  constexpr double kEdge = 1e-9;
  if (u < -kEdge || u > 1 + kEdge) return kInfinity;
  const TVec3 q = Cross(s, e1);
  const double v = Dot(ray.Direction, q) * inv;
  if (v < -kEdge || u + v > 1 + kEdge) return kInfinity;
  const double t = Dot(e2, q) * inv;
  return t >= 0 ? t : kInfinity;
}

TTriangleGrid::TCellRange TTriangleGrid::RangeOf(const TMeshBuffers& mesh, int polygon, bool& inside) const {
  const std::array<int, 3>& c = mesh.Corners()[static_cast<std::size_t>(polygon)];
  inside = true;
  if (c[0] < 0) return {};
  double x0 = kInfinity, y0 = kInfinity, x1 = -kInfinity, y1 = -kInfinity;
  for (int corner : c) {
    const TVec3 p = mesh.Position(corner);
    // A triangle with a corner that is no finite point cannot be met by a ray: it has no cells.
    if (!Finite(p)) return {};
    x0 = std::min(x0, p.X);
    y0 = std::min(y0, p.Y);
    x1 = std::max(x1, p.X);
    y1 = std::max(y1, p.Y);
  }
  const auto cell = [this](double v, double origin, int count) { return ClampedIndex((v - origin) / cellSize_, count); };
  inside = x0 >= minX_ && y0 >= minY_ && x1 <= minX_ + cellSize_ * columns_ && y1 <= minY_ + cellSize_ * rows_;
  return {cell(x0, minX_, columns_), cell(y0, minY_, rows_), cell(x1, minX_, columns_), cell(y1, minY_, rows_)};
}

void TTriangleGrid::Insert(int polygon, const TCellRange& range) {
  for (int y = range.Y0; y <= range.Y1; ++y)
    for (int x = range.X0; x <= range.X1; ++x) Cell(x, y).push_back(polygon);
}

void TTriangleGrid::Remove(int polygon, const TCellRange& range) {
  for (int y = range.Y0; y <= range.Y1; ++y)
    for (int x = range.X0; x <= range.X1; ++x) {
      std::vector<int>& cell = Cell(x, y);
      const auto it = std::find(cell.begin(), cell.end(), polygon);
      if (it != cell.end()) {
        *it = cell.back();
        cell.pop_back();
      }
    }
}

void TTriangleGrid::Build(const TMeshBuffers& mesh) {
  const TBox3 bounds = mesh.Bounds();
  const int polygons = static_cast<int>(mesh.Corners().size());
  cells_.clear();
  ranges_.assign(static_cast<std::size_t>(polygons), TCellRange());
  if (bounds.Empty()) {
    columns_ = rows_ = 0;
    return;
  }
  // About two polygons per cell, square cells over the plan.
  const double width = std::max(bounds.Max.X - bounds.Min.X, 1e-6);
  const double height = std::max(bounds.Max.Y - bounds.Min.Y, 1e-6);
  const double cells = std::max(1.0, polygons / 2.0);
  cellSize_ = std::max(std::sqrt(width * height / cells), std::max(width, height) / 2048);
  columns_ = ClampedCount(width / cellSize_, 2048);
  rows_ = ClampedCount(height / cellSize_, 2048);
  cellSize_ = std::max(width / columns_, height / rows_) * (1 + 1e-9);
  minX_ = bounds.Min.X;
  minY_ = bounds.Min.Y;
  cells_.assign(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_), {});
  for (int i = 0; i < polygons; ++i) {
    bool inside = true;
    ranges_[static_cast<std::size_t>(i)] = RangeOf(mesh, i, inside);
    Insert(i, ranges_[static_cast<std::size_t>(i)]);
  }
}

void TTriangleGrid::Apply(const TMeshBuffers& mesh, const TMeshUpdate& update) {
  if (update.Rebuilt || ranges_.size() != mesh.Corners().size() || columns_ == 0) {
    Build(mesh);
    return;
  }
  for (int polygon : update.Polygons) {
    bool inside = true;
    const TCellRange range = RangeOf(mesh, polygon, inside);
    if (!inside) {
      Build(mesh);
      return;
    }
    TCellRange& was = ranges_[static_cast<std::size_t>(polygon)];
    // Raised or lowered only: the same cells.
    if (was.X0 == range.X0 && was.Y0 == range.Y0 && was.X1 == range.X1 && was.Y1 == range.Y1) continue;
    Remove(polygon, was);
    was = range;
    Insert(polygon, range);
  }
}

TRayHit TTriangleGrid::Cast(const TMeshBuffers& mesh, const TRay& ray) const {
  TRayHit best;
  if (columns_ == 0) return best;
  const auto test = [&](int x, int y) {
    for (int polygon : Cell(x, y)) {
      const std::array<int, 3>& c = mesh.Corners()[static_cast<std::size_t>(polygon)];
      const double t = RayTriangle(ray, mesh.Position(c[0]), mesh.Position(c[1]), mesh.Position(c[2]));
      if (t < best.T || (t == best.T && polygon > best.Polygon && best.Polygon >= 0)) best = {polygon, t};
    }
  };
  // The part of the ray over the grid's plan (slab test in X and Y).
  const double maxX = minX_ + cellSize_ * columns_;
  const double maxY = minY_ + cellSize_ * rows_;
  double t0 = 0, t1 = kInfinity;
  const auto slab = [&](double origin, double direction, double lo, double hi) {
    if (direction == 0) return origin >= lo && origin <= hi;
    double a = (lo - origin) / direction;
    double b = (hi - origin) / direction;
    if (a > b) std::swap(a, b);
    t0 = std::max(t0, a);
    t1 = std::min(t1, b);
    return t0 <= t1;
  };
  if (!slab(ray.Origin.X, ray.Direction.X, minX_, maxX) || !slab(ray.Origin.Y, ray.Direction.Y, minY_, maxY))
    return best;
  const double planLength = std::hypot(ray.Direction.X, ray.Direction.Y);
  if (planLength < 1e-12 || !std::isfinite(t1)) {
    // Straight up or down: the one cell under the ray.
    const int x = ClampedIndex((ray.Origin.X - minX_) / cellSize_, columns_);
    const int y = ClampedIndex((ray.Origin.Y - minY_) / cellSize_, rows_);
    test(x, y);
    return best;
  }
  // Walk the cells along the plan of the ray (Amanatides and Woo), nearest first; stop once the
  // best hit lies before the cell being left.
  const TVec3 start = ray.Origin + ray.Direction * t0;
  int x = ClampedIndex((start.X - minX_) / cellSize_, columns_);
  int y = ClampedIndex((start.Y - minY_) / cellSize_, rows_);
  const int stepX = ray.Direction.X > 0 ? 1 : -1;
  const int stepY = ray.Direction.Y > 0 ? 1 : -1;
  const auto boundary = [&](int cell, int step, double origin, double direction, double min) {
    if (direction == 0) return kInfinity;
    const double edge = min + cellSize_ * (cell + (step > 0 ? 1 : 0));
    return (edge - origin) / direction;
  };
  double nextX = boundary(x, stepX, ray.Origin.X, ray.Direction.X, minX_);
  double nextY = boundary(y, stepY, ray.Origin.Y, ray.Direction.Y, minY_);
  const double deltaX = ray.Direction.X != 0 ? cellSize_ / std::fabs(ray.Direction.X) : kInfinity;
  const double deltaY = ray.Direction.Y != 0 ? cellSize_ / std::fabs(ray.Direction.Y) : kInfinity;
  while (true) {
    test(x, y);
    const double leave = std::min(nextX, nextY);
    if (best.T <= leave || leave > t1) break;
    if (nextX < nextY) {
      x += stepX;
      nextX += deltaX;
      if (x < 0 || x >= columns_) break;
    } else {
      y += stepY;
      nextY += deltaY;
      if (y < 0 || y >= rows_) break;
    }
  }
  return best;
}

}  // namespace terravel
