#include "model/topology/PolygonGrid.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "model/document/CoordList.h"

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

bool SameBits(float a, float b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

TPolygonGrid::TCellRange TPolygonGrid::RangeOf(const TCoordList& nodes, const TPolyList& polygons,
                                               int polygon, bool& inside) const {
  const TPoly& p = polygons[polygon];
  inside = true;
  double x0 = kInfinity, y0 = kInfinity, x1 = -kInfinity, y1 = -kInfinity;
  for (const int corner : {p.Node1, p.Node2, p.Node3}) {
    // A corner that is no node, or no finite point in the plan: the polygon cannot be met.
    if (corner < 0 || corner >= nodes.Count()) return {};
    const T3DCoord& node = nodes[corner];
    if (!std::isfinite(node.X) || !std::isfinite(node.Y)) return {};
    x0 = std::min(x0, double(node.X));
    y0 = std::min(y0, double(node.Y));
    x1 = std::max(x1, double(node.X));
    y1 = std::max(y1, double(node.Y));
  }
  const auto cell = [this](double v, double origin, int count) {
    return ClampedIndex((v - origin) / cellSize_, count);
  };
  inside =
      x0 >= minX_ && y0 >= minY_ && x1 <= minX_ + cellSize_ * columns_ && y1 <= minY_ + cellSize_ * rows_;
  return {cell(x0, minX_, columns_), cell(y0, minY_, rows_), cell(x1, minX_, columns_),
          cell(y1, minY_, rows_)};
}

void TPolygonGrid::Insert(int polygon, const TCellRange& range) {
  for (int y = range.Y0; y <= range.Y1; ++y)
    for (int x = range.X0; x <= range.X1; ++x) Cell(x, y).push_back(polygon);
}

void TPolygonGrid::Remove(int polygon, const TCellRange& range) {
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

void TPolygonGrid::Build(const TCoordList& nodes, const TPolyList& polygons) {
  built_ = true;
  ++builds_;
  const int nodeCount = nodes.Count();
  const int polygonCount = polygons.Count();
  planX_.resize(static_cast<std::size_t>(nodeCount));
  planY_.resize(static_cast<std::size_t>(nodeCount));
  double x0 = kInfinity, y0 = kInfinity, x1 = -kInfinity, y1 = -kInfinity;
  for (int i = 0; i < nodeCount; ++i) {
    const T3DCoord& node = nodes[i];
    planX_[static_cast<std::size_t>(i)] = node.X;
    planY_[static_cast<std::size_t>(i)] = node.Y;
    if (!std::isfinite(node.X) || !std::isfinite(node.Y)) continue;
    x0 = std::min(x0, double(node.X));
    y0 = std::min(y0, double(node.Y));
    x1 = std::max(x1, double(node.X));
    y1 = std::max(y1, double(node.Y));
  }
  cells_.clear();
  ranges_.assign(static_cast<std::size_t>(polygonCount), TCellRange());
  if (!(x0 <= x1)) {
    columns_ = rows_ = 0;
    return;
  }
  // About two polygons a cell, square cells over the plan.
  const double width = std::max(x1 - x0, 1e-6);
  const double height = std::max(y1 - y0, 1e-6);
  const double cells = std::max(1.0, polygonCount / 2.0);
  cellSize_ = std::max(std::sqrt(width * height / cells), std::max(width, height) / 2048);
  columns_ = ClampedCount(width / cellSize_, 2048);
  rows_ = ClampedCount(height / cellSize_, 2048);
  cellSize_ = std::max(width / columns_, height / rows_) * (1 + 1e-9);
  minX_ = x0;
  minY_ = y0;
  cells_.assign(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_), {});
  for (int i = 0; i < polygonCount; ++i) {
    bool inside = true;
    ranges_[static_cast<std::size_t>(i)] = RangeOf(nodes, polygons, i, inside);
    Insert(i, ranges_[static_cast<std::size_t>(i)]);
  }
}

bool TPolygonGrid::MovedInPlan(const TCoordList& nodes, int node) const {
  if (node < 0 || node >= nodes.Count() || static_cast<std::size_t>(node) >= planX_.size()) return true;
  const T3DCoord& now = nodes[node];
  return !SameBits(now.X, planX_[static_cast<std::size_t>(node)]) ||
         !SameBits(now.Y, planY_[static_cast<std::size_t>(node)]);
}

void TPolygonGrid::TakePlan(const TCoordList& nodes, int node) {
  if (node < 0 || static_cast<std::size_t>(node) >= planX_.size() || node >= nodes.Count()) return;
  planX_[static_cast<std::size_t>(node)] = nodes[node].X;
  planY_[static_cast<std::size_t>(node)] = nodes[node].Y;
}

bool TPolygonGrid::Refile(const TCoordList& nodes, const TPolyList& polygons, int polygon) {
  if (!built_ || columns_ == 0 || polygon < 0 || static_cast<std::size_t>(polygon) > ranges_.size())
    return false;
  bool inside = true;
  const TCellRange range = RangeOf(nodes, polygons, polygon, inside);
  if (!inside) return false;
  if (static_cast<std::size_t>(polygon) == ranges_.size()) {
    ranges_.push_back(range);
    Insert(polygon, range);
    return true;
  }
  TCellRange& was = ranges_[static_cast<std::size_t>(polygon)];
  // Raised or lowered only, or moved within its cells: nothing to do.
  if (was.X0 == range.X0 && was.Y0 == range.Y0 && was.X1 == range.X1 && was.Y1 == range.Y1) return true;
  Remove(polygon, was);
  was = range;
  Insert(polygon, range);
  return true;
}

void TPolygonGrid::Walk(double x, double y, double dx, double dy, const TVisit& visit) const {
  if (columns_ == 0) return;
  // The part of the path over the grid's area (slab test in X and Y).
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
  if (!slab(x, dx, minX_, maxX) || !slab(y, dy, minY_, maxY)) return;
  if (std::hypot(dx, dy) < 1e-12 || !std::isfinite(t1)) {
    // Straight up or down: the one cell under the start.
    visit(Cell(ClampedIndex((x - minX_) / cellSize_, columns_), ClampedIndex((y - minY_) / cellSize_, rows_)),
          kInfinity);
    return;
  }
  // Cell by cell along the path (Amanatides and Woo), nearest first.
  int column = ClampedIndex((x + dx * t0 - minX_) / cellSize_, columns_);
  int row = ClampedIndex((y + dy * t0 - minY_) / cellSize_, rows_);
  const int stepX = dx > 0 ? 1 : -1;
  const int stepY = dy > 0 ? 1 : -1;
  const auto boundary = [&](int cell, int step, double origin, double direction, double min) {
    if (direction == 0) return kInfinity;
    const double edge = min + cellSize_ * (cell + (step > 0 ? 1 : 0));
    return (edge - origin) / direction;
  };
  double nextX = boundary(column, stepX, x, dx, minX_);
  double nextY = boundary(row, stepY, y, dy, minY_);
  const double deltaX = dx != 0 ? cellSize_ / std::fabs(dx) : kInfinity;
  const double deltaY = dy != 0 ? cellSize_ / std::fabs(dy) : kInfinity;
  while (true) {
    const double leave = std::min(nextX, nextY);
    if (!visit(Cell(column, row), leave) || leave > t1) break;
    if (nextX < nextY) {
      column += stepX;
      nextX += deltaX;
      if (column < 0 || column >= columns_) break;
    } else {
      row += stepY;
      nextY += deltaY;
      if (row < 0 || row >= rows_) break;
    }
  }
}

}  // namespace terravel
