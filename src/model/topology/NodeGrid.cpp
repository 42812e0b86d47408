#include "model/topology/NodeGrid.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "model/document/CoordList.h"

namespace terravel {

namespace {

bool SameBits(float a, float b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

void TNodeGrid::Build(const TCoordList& nodes) {
  const int count = nodes.Count();
  planX_.resize(static_cast<std::size_t>(count));
  planY_.resize(static_cast<std::size_t>(count));
  double minX = 0, minY = 0, maxX = 0, maxY = 0;
  int filed = 0;
  for (int i = 0; i < count; ++i) {
    const T3DCoord& node = nodes[i];
    planX_[static_cast<std::size_t>(i)] = node.X;
    planY_[static_cast<std::size_t>(i)] = node.Y;
    if (!std::isfinite(node.X) || !std::isfinite(node.Y)) continue;
    minX = filed > 0 ? std::min(minX, double(node.X)) : node.X;
    maxX = filed > 0 ? std::max(maxX, double(node.X)) : node.X;
    minY = filed > 0 ? std::min(minY, double(node.Y)) : node.Y;
    maxY = filed > 0 ? std::max(maxY, double(node.Y)) : node.Y;
    ++filed;
  }
  built_ = true;
  columns_ = rows_ = 0;
  cellStart_.assign(1, 0);
  cellNodes_.clear();
  if (filed == 0) return;
  // About one node a cell over the extent, but never many more cells than nodes (a line of nodes).
  cellSize_ = std::max(std::sqrt((maxX - minX) * (maxY - minY) / filed), 1e-3);
  if (!std::isfinite(cellSize_)) cellSize_ = 1e-3;
  const double limit = 4.0 * filed + 16;
  while (((maxX - minX) / cellSize_ + 1) * ((maxY - minY) / cellSize_ + 1) > limit) cellSize_ *= 2;
  originX_ = minX;
  originY_ = minY;
  columns_ = static_cast<int>((maxX - minX) / cellSize_) + 1;
  rows_ = static_cast<int>((maxY - minY) / cellSize_) + 1;
  const auto cellOf = [&](const T3DCoord& node) {
    const int column = std::min(static_cast<int>((node.X - originX_) / cellSize_), columns_ - 1);
    const int row = std::min(static_cast<int>((node.Y - originY_) / cellSize_), rows_ - 1);
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) + static_cast<std::size_t>(column);
  };
  cellStart_.assign(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_) + 1, 0);
  std::vector<std::size_t> cells(static_cast<std::size_t>(count), 0);
  for (int i = 0; i < count; ++i) {
    const T3DCoord& node = nodes[i];
    if (!std::isfinite(node.X) || !std::isfinite(node.Y)) continue;
    cells[static_cast<std::size_t>(i)] = cellOf(node);
    ++cellStart_[cells[static_cast<std::size_t>(i)] + 1];
  }
  for (std::size_t c = 1; c < cellStart_.size(); ++c) cellStart_[c] += cellStart_[c - 1];
  cellNodes_.assign(static_cast<std::size_t>(cellStart_.back()), 0);
  std::vector<int> fill(cellStart_.begin(), cellStart_.end() - 1);
  for (int i = 0; i < count; ++i) {
    const T3DCoord& node = nodes[i];
    if (!std::isfinite(node.X) || !std::isfinite(node.Y)) continue;
    cellNodes_[static_cast<std::size_t>(fill[cells[static_cast<std::size_t>(i)]]++)] = i;
  }
}

bool TNodeGrid::MovedInPlan(const TCoordList& nodes, int node) const {
  if (node < 0 || node >= nodes.Count() || static_cast<std::size_t>(node) >= planX_.size()) return true;
  const T3DCoord& now = nodes[node];
  return !SameBits(now.X, planX_[static_cast<std::size_t>(node)]) ||
         !SameBits(now.Y, planY_[static_cast<std::size_t>(node)]);
}

std::vector<int> TNodeGrid::NodesNear(double x, double y, double reach) const {
  std::vector<int> nodes;
  if (columns_ == 0 || !std::isfinite(x) || !std::isfinite(y)) return nodes;
  const auto clampTo = [](double value, int size) {
    if (!(value > 0)) return 0;  // also NaN
    return value >= size - 1 ? size - 1 : static_cast<int>(value);
  };
  // One cell more on each side, for a node on the very edge of the square.
  const int left = clampTo((x - reach - originX_) / cellSize_ - 1, columns_);
  const int right = clampTo((x + reach - originX_) / cellSize_ + 1, columns_);
  const int top = clampTo((y - reach - originY_) / cellSize_ - 1, rows_);
  const int bottom = clampTo((y + reach - originY_) / cellSize_ + 1, rows_);
  for (int row = top; row <= bottom; ++row) {
    const std::size_t first = static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_);
    nodes.insert(nodes.end(), cellNodes_.begin() + cellStart_[first + static_cast<std::size_t>(left)],
                 cellNodes_.begin() + cellStart_[first + static_cast<std::size_t>(right) + 1]);
  }
  std::sort(nodes.begin(), nodes.end());
  return nodes;
}

}  // namespace terravel
