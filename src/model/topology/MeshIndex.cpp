#include "model/topology/MeshIndex.h"

#include <algorithm>

#include "model/document/CoordList.h"
#include "model/editing/PolygonEdges.h"
#include "model/history/ChangeSet.h"

namespace terravel {

namespace {

// Room left after each node's polygons for polygons appended later.
constexpr int kRoom = 6;

}  // namespace

void TMeshIndex::Apply(const TChangeSet& changes) {
  // A change that does not say what it changed (Everything) is compared at the next question:
  // an added polygon says no more than that, and is appended.
  if (changes.Topology()) check_ = true;
  if (changes.Everything || changes.NodesAddedOrRemoved) gridCheck_ = planCheck_ = true;
  // Heights alone leave the grids as they are.
  if (grid_.Built() && !gridCheck_) {
    for (const int i : changes.MovedNodes) {
      if (grid_.MovedInPlan(nodes_, i)) {
        grid_.Invalidate();
        break;
      }
    }
  }
  if (polygonGrid_.Built() && !planCheck_) {
    for (const int i : changes.MovedNodes) {
      if (polygonGrid_.MovedInPlan(nodes_, i)) planMoved_.push_back(i);
    }
    // A long drag told nobody in between: one look at every node is cheaper.
    if (planMoved_.size() > static_cast<std::size_t>(nodes_.Count())) {
      planMoved_.clear();
      planCheck_ = true;
    }
  }
}

void TMeshIndex::Check() const {
  check_ = true;
  planCheck_ = true;
  Current();
}

void TMeshIndex::CheckPlan() const {
  planCheck_ = true;
}

void TMeshIndex::Current() const {
  const int polygonCount = polygons_.Count();
  if (!built_ || nodeCount_ != nodes_.Count()) {
    Build();
    return;
  }
  const auto known = static_cast<int>(corners_.size() / 3);
  if (!check_ && known == polygonCount) return;
  check_ = false;
  // The polygons the index holds must be as they were; those after them are appended.
  const int same = std::min(known, polygonCount);
  for (int i = 0; i < same; ++i) {
    const TPoly& p = polygons_[i];
    const int* c = &corners_[3 * static_cast<std::size_t>(i)];
    if (p.Node1 != c[0] || p.Node2 != c[1] || p.Node3 != c[2]) {
      Build();
      return;
    }
  }
  if (polygonCount < known || !Append(known)) Build();
}

void TMeshIndex::Build() const {
  ++builds_;
  built_ = true;
  check_ = false;
  neighboursBuilt_ = false;
  polygonGrid_.Invalidate();
  nodeCount_ = nodes_.Count();
  const int polygonCount = polygons_.Count();
  corners_.resize(3 * static_cast<std::size_t>(polygonCount));
  for (int i = 0; i < polygonCount; ++i) {
    const TPoly& p = polygons_[i];
    int* c = &corners_[3 * static_cast<std::size_t>(i)];
    c[0] = p.Node1, c[1] = p.Node2, c[2] = p.Node3;
  }
  // Each distinct valid corner of each polygon, counted per node, then filled in polygon order.
  const auto distinct = [this](const int* c, int k) {
    if (!ValidCorner(c[k])) return false;
    return (k < 1 || c[k] != c[0]) && (k < 2 || c[k] != c[1]);
  };
  const auto nodes = static_cast<std::size_t>(nodeCount_);
  count_.assign(nodes, 0);
  for (int i = 0; i < polygonCount; ++i) {
    const int* c = &corners_[3 * static_cast<std::size_t>(i)];
    for (int k = 0; k < 3; ++k)
      if (distinct(c, k)) ++count_[static_cast<std::size_t>(c[k])];
  }
  start_.assign(nodes + 1, 0);
  for (std::size_t n = 0; n < nodes; ++n) start_[n + 1] = start_[n] + count_[n] + kRoom;
  users_.assign(static_cast<std::size_t>(start_[nodes]), -1);
  std::fill(count_.begin(), count_.end(), 0);
  for (int i = 0; i < polygonCount; ++i) {
    const int* c = &corners_[3 * static_cast<std::size_t>(i)];
    for (int k = 0; k < 3; ++k) {
      if (!distinct(c, k)) continue;
      const auto n = static_cast<std::size_t>(c[k]);
      users_[static_cast<std::size_t>(start_[n] + count_[n]++)] = i;
    }
  }
}

bool TMeshIndex::Append(int from) const {
  const int polygonCount = polygons_.Count();
  for (int i = from; i < polygonCount; ++i) {
    const TPoly& p = polygons_[i];
    const int c[3] = {p.Node1, p.Node2, p.Node3};
    for (int k = 0; k < 3; ++k) {
      if (!ValidCorner(c[k]) || (k >= 1 && c[k] == c[0]) || (k >= 2 && c[k] == c[1])) continue;
      const auto n = static_cast<std::size_t>(c[k]);
      if (start_[n] + count_[n] == start_[n + 1]) return false;  // no room left: a build makes some
    }
    for (int k = 0; k < 3; ++k) {
      if (!ValidCorner(c[k]) || (k >= 1 && c[k] == c[0]) || (k >= 2 && c[k] == c[1])) continue;
      const auto n = static_cast<std::size_t>(c[k]);
      users_[static_cast<std::size_t>(start_[n] + count_[n]++)] = i;
    }
    corners_.insert(corners_.end(), c, c + 3);
    neighboursBuilt_ = false;
    // Filed where it lies; one that reaches beyond the plan grid's area makes it build anew.
    if (polygonGrid_.Built() &&
        (polygonGrid_.FiledPolygons() != static_cast<std::size_t>(i) || !polygonGrid_.Refile(nodes_, polygons_, i)))
      polygonGrid_.Invalidate();
  }
  return true;
}

std::span<const int> TMeshIndex::PolygonsOf(int node) const {
  Current();
  if (node < 0 || node >= nodeCount_) return {};
  const auto n = static_cast<std::size_t>(node);
  return std::span<const int>(users_).subspan(static_cast<std::size_t>(start_[n]), static_cast<std::size_t>(count_[n]));
}

int TMeshIndex::EdgeUseCount(int a, int b) const {
  const std::span<const int> ofA = PolygonsOf(a), ofB = PolygonsOf(b);
  int count = 0;
  for (int i : ofA.size() <= ofB.size() ? ofA : ofB) count += HasEdge(polygons_[i], a, b) ? 1 : 0;
  return count;
}

bool TMeshIndex::OverlapsOnEdge(int p, int q, int r) const {
  const std::span<const int> ofP = PolygonsOf(p), ofQ = PolygonsOf(q);
  for (int i : ofP.size() <= ofQ.size() ? ofP : ofQ) {
    if (PolygonOverlapsOnEdge(nodes_, polygons_[i], p, q, r)) return true;
  }
  return false;
}

void TMeshIndex::BuildNeighbours() const {
  const auto nodes = static_cast<std::size_t>(nodeCount_);
  neighbourStart_.assign(nodes + 1, 0);
  neighbours_.clear();
  border_.assign(nodes, false);
  std::vector<int> others;
  for (std::size_t n = 0; n < nodes; ++n) {
    const int node = static_cast<int>(n);
    others.clear();
    // Both ends of every side at this node, once per polygon side: a side two polygons share (or
    // one polygon twice, through a repeated corner) comes twice.
    for (int k = start_[n]; k < start_[n] + count_[n]; ++k) {
      const int* c = &corners_[3 * static_cast<std::size_t>(users_[static_cast<std::size_t>(k)])];
      if (!ValidCorner(c[0]) || !ValidCorner(c[1]) || !ValidCorner(c[2])) continue;
      for (int s = 0; s < 3; ++s) {
        const int a = c[s], b = c[(s + 1) % 3];
        if (a == b) continue;
        if (a == node) others.push_back(b);
        if (b == node) others.push_back(a);
      }
    }
    std::sort(others.begin(), others.end());
    for (std::size_t i = 0; i < others.size();) {
      std::size_t j = i;
      while (j < others.size() && others[j] == others[i]) ++j;
      if (j - i == 1) border_[n] = true;
      neighbours_.push_back(others[i]);
      i = j;
    }
    neighbourStart_[n + 1] = static_cast<int>(neighbours_.size());
  }
  neighboursBuilt_ = true;
}

std::span<const int> TMeshIndex::NeighboursOf(int node) const {
  Current();
  if (!neighboursBuilt_) BuildNeighbours();
  if (node < 0 || node >= nodeCount_) return {};
  const auto n = static_cast<std::size_t>(node);
  return std::span<const int>(neighbours_).subspan(static_cast<std::size_t>(neighbourStart_[n]),
                                                  static_cast<std::size_t>(neighbourStart_[n + 1] - neighbourStart_[n]));
}

bool TMeshIndex::OnBorder(int node) const {
  Current();
  if (!neighboursBuilt_) BuildNeighbours();
  return node >= 0 && node < nodeCount_ && border_[static_cast<std::size_t>(node)];
}

std::vector<int> TMeshIndex::NodesNear(double x, double y, double reach) const {
  if (gridCheck_ && grid_.Built() && grid_.FiledCount() == static_cast<std::size_t>(nodes_.Count())) {
    for (int i = 0; i < nodes_.Count(); ++i) {
      if (grid_.MovedInPlan(nodes_, i)) {
        grid_.Invalidate();
        break;
      }
    }
  }
  gridCheck_ = false;
  if (!grid_.Built() || grid_.FiledCount() != static_cast<std::size_t>(nodes_.Count())) grid_.Build(nodes_);
  return grid_.NodesNear(x, y, reach);
}

}  // namespace terravel

namespace terravel {

void TMeshIndex::CurrentPlan() const {
  Current();
  const auto nodes = static_cast<std::size_t>(nodeCount_);
  const auto build = [this] {
    polygonGrid_.Build(nodes_, polygons_);
    planMoved_.clear();
    planCheck_ = false;
  };
  if (!polygonGrid_.Built() || polygonGrid_.FiledNodes() != nodes ||
      polygonGrid_.FiledPolygons() != static_cast<std::size_t>(polygons_.Count())) {
    build();
    return;
  }
  if (planCheck_) {
    planCheck_ = false;
    planMoved_.clear();
    for (int i = 0; i < nodeCount_; ++i) {
      if (polygonGrid_.MovedInPlan(nodes_, i)) planMoved_.push_back(i);
    }
  }
  // Many nodes moved (a whole selection dragged far): filing everything anew costs less.
  if (planMoved_.size() > nodes / 4 + 16) {
    build();
    return;
  }
  for (const int node : planMoved_) {
    if (!polygonGrid_.MovedInPlan(nodes_, node)) continue;
    for (const int polygon : PolygonsOf(node)) {
      if (!polygonGrid_.Refile(nodes_, polygons_, polygon)) {
        build();
        return;
      }
    }
    polygonGrid_.TakePlan(nodes_, node);
  }
  planMoved_.clear();
}

void TMeshIndex::WalkPlan(double x, double y, double dx, double dy, const TPolygonGrid::TVisit& visit) const {
  CurrentPlan();
  polygonGrid_.Walk(x, y, dx, dy, visit);
}

}  // namespace terravel
