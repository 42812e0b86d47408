#pragma once
// The nodes filed by plan-view cell, so that a question about a small area looks only at the cells
// under it. The cells are about one node apiece on an even mesh, never many more than the nodes.
// It keeps the plan position it filed each node at: a node moved only in height leaves it as it is.
#include <cstddef>
#include <vector>

namespace terravel {

class TCoordList;

class TNodeGrid {
 public:
  bool Built() const { return built_; }
  void Invalidate() { built_ = false; }
  // Files every node with a finite X and Y.
  void Build(const TCoordList& nodes);
  // True when a node changed its plan position since it was filed (then the grid is rebuilt at
  // the next question). Indices out of what was filed count as a change.
  bool MovedInPlan(const TCoordList& nodes, int node) const;
  std::size_t FiledCount() const { return planX_.size(); }
  // See TMeshIndex::NodesNear.
  std::vector<int> NodesNear(double x, double y, double reach) const;

 private:
  bool built_ = false;
  double cellSize_ = 1;
  double originX_ = 0;
  double originY_ = 0;
  int columns_ = 0;
  int rows_ = 0;
  // The nodes of cell c: cellNodes_[cellStart_[c] .. cellStart_[c + 1]), ascending.
  std::vector<int> cellStart_;
  std::vector<int> cellNodes_;
  std::vector<float> planX_;
  std::vector<float> planY_;
};

}  // namespace terravel
