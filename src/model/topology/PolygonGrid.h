#pragma once
// The polygons filed by plan-view cell: each polygon in every cell its plan box touches, about two
// polygons a cell. A ray's path over the plan visits the cells under it nearest first and looks
// only at their polygons. Each polygon keeps the cells it was filed in, and the grid the plan
// position it last took of each node, so that a node moved only in height changes nothing and one
// moved in the plan files only its own polygons anew.
#include <cstddef>
#include <functional>
#include <span>
#include <vector>

namespace terravel {

class TCoordList;
class TPolyList;

class TPolygonGrid {
 public:
  // Gets the polygons of one cell and the distance along the ray at which its path leaves the
  // cell (infinity for the last one); returns false to stop.
  using TVisit = std::function<bool(std::span<const int> polygons, double leave)>;

  bool Built() const { return built_; }
  void Invalidate() { built_ = false; }
  // Files every polygon whose corners are all nodes with a finite X and Y; the rest have no cells.
  void Build(const TCoordList& nodes, const TPolyList& polygons);
  std::size_t FiledNodes() const { return planX_.size(); }
  std::size_t FiledPolygons() const { return ranges_.size(); }
  long long Builds() const { return builds_; }

  // True when the node's plan position differs from the one last taken (indices beyond those
  // filed count as moved).
  bool MovedInPlan(const TCoordList& nodes, int node) const;
  // Takes the node's plan position as filed (after its polygons were filed anew).
  void TakePlan(const TCoordList& nodes, int node);
  // Files the polygon anew from its corners' positions now, or appends the next one; false when
  // it leaves the grid's area (then only a build brings the grid in line).
  bool Refile(const TCoordList& nodes, const TPolyList& polygons, int polygon);

  // Walks the cells under the path of the ray from (x, y) along (dx, dy) in the plan, nearest
  // first, from distance 0 on (distances in units of the direction's length, as the ray's own).
  // A path that hardly moves in the plan visits the one cell under its start.
  void Walk(double x, double y, double dx, double dy, const TVisit& visit) const;

 private:
  struct TCellRange {
    int X0 = 0, Y0 = 0, X1 = -1, Y1 = -1;  // no cells when X1 < X0
  };
  // The cells of the polygon's plan box; inside tells whether the box lies in the grid's area.
  TCellRange RangeOf(const TCoordList& nodes, const TPolyList& polygons, int polygon, bool& inside) const;
  void Insert(int polygon, const TCellRange& range);
  void Remove(int polygon, const TCellRange& range);
  std::vector<int>& Cell(int x, int y) {
    return cells_[static_cast<std::size_t>(y) * static_cast<std::size_t>(columns_) +
                  static_cast<std::size_t>(x)];
  }
  const std::vector<int>& Cell(int x, int y) const {
    return cells_[static_cast<std::size_t>(y) * static_cast<std::size_t>(columns_) +
                  static_cast<std::size_t>(x)];
  }

  bool built_ = false;
  long long builds_ = 0;
  double minX_ = 0, minY_ = 0, cellSize_ = 1;
  int columns_ = 0, rows_ = 0;
  std::vector<std::vector<int>> cells_;
  std::vector<TCellRange> ranges_;  // per polygon
  std::vector<float> planX_;        // per node, as last taken
  std::vector<float> planY_;
};

}  // namespace terravel
