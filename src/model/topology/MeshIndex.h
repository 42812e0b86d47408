#pragma once
// The mesh's topology and plan-view index, kept beside the document and shared by every view and
// tool: the polygons around each node, each node's neighbours and whether it lies on a border,
// and plan-view grids of the nodes and of the polygons. The editor hands it every change set before
// the windows see it (TEditor::Publish): a change of topology makes it look at the polygons again
// at the next question, a node moved in the plan makes it file the nodes again and its own
// polygons anew, and a change of heights alone touches nothing. Polygons appended at the end of
// the list are added in place, so placing polygon after polygon rebuilds nothing.
//
// Whatever changes the lists outside the history must publish a change set (TChangeSet::Rebuilt
// when unsure); a change of a list's length is noticed even without one.
#include <cstddef>
#include <span>
#include <vector>

#include "model/topology/NodeGrid.h"
#include "model/topology/PolygonGrid.h"

namespace terravel {

class TCoordList;
class TPolyList;
struct TChangeSet;

class TMeshIndex {
 public:
  TMeshIndex(const TCoordList& nodes, const TPolyList& polygons) : nodes_(nodes), polygons_(polygons) {}
  TMeshIndex(const TMeshIndex&) = delete;
  TMeshIndex& operator=(const TMeshIndex&) = delete;

  // Takes note of what changed; the work is done at the next question.
  void Apply(const TChangeSet& changes);
  // Compares the polygons with what the index holds now, change set or not (a whole rebuild of a
  // view calls this: it costs one pass over the corners), and the nodes' plan positions at the
  // next question about the plan.
  void Check() const;
  // Nodes may have moved in the plan without a change set saying which (a view that compared the
  // document found moved nodes): the grid of polygons looks at every node at its next question.
  void CheckPlan() const;

  // The polygons that use the node, ascending; a polygon with a repeated corner once, a polygon
  // with a corner outside the node list on its other corners. Empty for an index out of range.
  std::span<const int> PolygonsOf(int node) const;
  // The number of polygons that have a and b as neighbouring corners, either order.
  int EdgeUseCount(int a, int b) const;
  // True when a polygon with the edge p-q has its third corner strictly on the same side of p->q as r.
  bool OverlapsOnEdge(int p, int q, int r) const;

  // The nodes joined to the node by a polygon side, ascending and distinct. Polygons with a corner
  // outside the node list are left out.
  std::span<const int> NeighboursOf(int node) const;
  // On a side that only one polygon uses (the outer border of the mesh or of a hole).
  bool OnBorder(int node) const;
  // The mean of the neighbours' heights, height(i) giving node i's; the node must have neighbours.
  template <class Height>
  double NeighbourMean(int node, Height height) const {
    const std::span<const int> around = NeighboursOf(node);
    double sum = 0;
    for (const int i : around) sum += height(i);
    return sum / static_cast<double>(around.size());
  }

  // The nodes with finite X and Y in the plan-view cells the square of half-width reach around
  // (x, y) touches (and one cell more on each side), ascending: every node within the square and
  // some more, for the caller to measure.
  std::vector<int> NodesNear(double x, double y, double reach) const;
  // The cells of the plan-view grid of polygons under the path of a ray, nearest first (see
  // TPolygonGrid::Walk); the grid is brought up to date first. A polygon with a corner outside
  // the node list or not finite in X or Y is in no cell.
  void WalkPlan(double x, double y, double dx, double dy, const TPolygonGrid::TVisit& visit) const;

  // Full builds of the polygons around the nodes so far (an append is no build).
  long long Builds() const { return builds_; }
  // Builds of the plan-view grid of polygons so far.
  long long PlanBuilds() const { return polygonGrid_.Builds(); }

 private:
  void Current() const;
  void CurrentPlan() const;
  void Build() const;
  bool Append(int from) const;
  void BuildNeighbours() const;
  bool ValidCorner(int corner) const { return corner >= 0 && corner < nodeCount_; }

  const TCoordList& nodes_;
  const TPolyList& polygons_;

  // What the questions are answered from; brought up to date when asked.
  mutable bool built_ = false;
  mutable bool check_ = false;  // a change set said the topology changed
  mutable long long builds_ = 0;
  mutable int nodeCount_ = 0;
  mutable std::vector<int> corners_;  // three per polygon, as the list had them
  // Node i's polygons are users_[start_[i] .. start_[i] + count_[i]); there is room up to start_[i + 1].
  mutable std::vector<int> start_;
  mutable std::vector<int> count_;
  mutable std::vector<int> users_;
  // Neighbours of node i: neighbours_[neighbourStart_[i] .. neighbourStart_[i + 1]); built when asked.
  mutable bool neighboursBuilt_ = false;
  mutable std::vector<int> neighbourStart_;
  mutable std::vector<int> neighbours_;
  mutable std::vector<bool> border_;
  mutable TNodeGrid grid_;
  mutable bool gridCheck_ = false;  // a change set did not say which nodes moved
  mutable TPolygonGrid polygonGrid_;
  mutable std::vector<int> planMoved_;  // nodes told moved in the plan since the grid filed them
  mutable bool planCheck_ = false;      // compare every node at the next question
};

}  // namespace terravel
