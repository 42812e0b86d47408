#include "model/editing/PolygonEdges.h"

namespace terravel {

float SideOf(const T3DCoord& p, const T3DCoord& q, const T3DCoord& s) {
  // Every step in single precision and every product its own statement (no fused multiply-add).
  const float qx = q.X - p.X, qy = q.Y - p.Y;
  const float sx = s.X - p.X, sy = s.Y - p.Y;
  const float first = qx * sy;
  const float second = qy * sx;
  return first - second;
}

bool PolygonOverlapsOnEdge(const TCoordList& nodes, const TPoly& polygon, int p, int q, int r) {
  const T3DCoord* np = nodes.NodeAt(p);
  const T3DCoord* nq = nodes.NodeAt(q);
  const T3DCoord* nr = nodes.NodeAt(r);
  const T3DCoord* nd = nodes.NodeAt(ThirdCorner(polygon, p, q));
  if (!np || !nq || !nr || !nd) return false;
  // The sign of the product of the two sides, without forming it (it could underflow to 0).
  const float sideR = SideOf(*np, *nq, *nr);
  const float sideD = SideOf(*np, *nq, *nd);
  return (sideR > 0 && sideD > 0) || (sideR < 0 && sideD < 0);
}

TEdgeIndex::TEdgeIndex(const TPolyList& polygons, int nodeCount)
    : polygons_(polygons), start_(static_cast<std::size_t>(nodeCount) + 1, 0) {
  // The corners in one pass over the records, a repeated or damaged corner as -1; the counting
  // passes then run over this compact copy.
  std::vector<int> corners;
  corners.reserve(3 * static_cast<std::size_t>(polygons.Count()));
  const auto valid = [nodeCount](int c) { return c >= 0 && c < nodeCount ? c : -1; };
  for (const TPoly& p : polygons) {
    corners.push_back(valid(p.Node1));
    corners.push_back(p.Node2 != p.Node1 ? valid(p.Node2) : -1);
    corners.push_back(p.Node3 != p.Node1 && p.Node3 != p.Node2 ? valid(p.Node3) : -1);
  }
  int* start = start_.data();
  for (int c : corners) {
    if (c >= 0) ++start[c + 1];
  }
  for (int i = 0; i < nodeCount; ++i) start[i + 1] += start[i];
  users_.resize(static_cast<std::size_t>(start[nodeCount]));
  int* users = users_.data();
  for (std::size_t k = 0; k < corners.size(); ++k) {
    if (corners[k] >= 0) users[start[corners[k]]++] = static_cast<int>(k / 3);
  }
  // Each start has moved on to the next node's: move them back.
  for (int i = nodeCount; i > 0; --i) start[i] = start[i - 1];
  start[0] = 0;
}

std::span<const int> TEdgeIndex::PolygonsOf(int node) const {
  if (node < 0 || node + 1 >= static_cast<int>(start_.size())) return {};
  return std::span<const int>(users_).subspan(start_[node], start_[node + 1] - start_[node]);
}

std::span<const int> TEdgeIndex::PolygonsOfEither(int a, int b) const {
  const std::span<const int> ofA = PolygonsOf(a), ofB = PolygonsOf(b);
  return ofA.size() <= ofB.size() ? ofA : ofB;
}

int TEdgeIndex::UseCount(int a, int b) const {
  int count = 0;
  for (int i : PolygonsOfEither(a, b)) count += HasEdge(polygons_[i], a, b) ? 1 : 0;
  return count;
}

bool TEdgeIndex::Overlaps(const TCoordList& nodes, int p, int q, int r) const {
  for (int i : PolygonsOfEither(p, q)) {
    if (PolygonOverlapsOnEdge(nodes, polygons_[i], p, q, r)) return true;
  }
  return false;
}

}  // namespace terravel
