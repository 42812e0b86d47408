#pragma once
// Edges of triangles: which polygons share a pair of nodes, and on which side of an edge a point
// lies. The placement of a new polygon asks these questions for many candidate nodes, so
// TEdgeIndex answers them from the polygons around a node instead of the whole list.
#include <span>
#include <vector>

#include "model/document/CoordList.h"

namespace terravel {

// True when a and b are neighbouring corners (Node1-Node2, Node2-Node3 or Node3-Node1), either order.
inline bool HasEdge(const TPoly& polygon, int a, int b) {
  const auto is = [a, b](int u, int v) { return (u == a && v == b) || (u == b && v == a); };
  return is(polygon.Node1, polygon.Node2) || is(polygon.Node2, polygon.Node3) ||
         is(polygon.Node3, polygon.Node1);
}

// The corner opposite the first of the polygon's edges that joins a and b; -1 when none does.
inline int ThirdCorner(const TPoly& polygon, int a, int b) {
  const auto is = [a, b](int u, int v) { return (u == a && v == b) || (u == b && v == a); };
  if (is(polygon.Node1, polygon.Node2)) return polygon.Node3;
  if (is(polygon.Node2, polygon.Node3)) return polygon.Node1;
  if (is(polygon.Node3, polygon.Node1)) return polygon.Node2;
  return -1;
}

// (q - p) x (s - p) in single precision: positive on one side of the line p->q, negative on the other.
float SideOf(const T3DCoord& p, const T3DCoord& q, const T3DCoord& s);

// True when the polygon has the edge p-q and its third corner lies strictly on the same side of
// p->q as r.
bool PolygonOverlapsOnEdge(const TCoordList& nodes, const TPoly& polygon, int p, int q, int r);

// For every node, the polygons that use it, built once from the polygon list. A question about the
// edge a-b looks only at the polygons of the less used of the two nodes, so asking it for every
// node of a mesh costs about as much as one pass over the polygons.
class TEdgeIndex {
 public:
  TEdgeIndex(const TPolyList& polygons, int nodeCount);

  // The number of polygons that have the edge a-b.
  int UseCount(int a, int b) const;
  // True when a polygon with the edge p-q has its third corner on the same side of p->q as r.
  bool Overlaps(const TCoordList& nodes, int p, int q, int r) const;

 private:
  std::span<const int> PolygonsOf(int node) const;
  std::span<const int> PolygonsOfEither(int a, int b) const;

  const TPolyList& polygons_;
  std::vector<int> start_;  // node i's polygons are users_[start_[i] .. start_[i + 1])
  std::vector<int> users_;
};

}  // namespace terravel
