#pragma once
// Edges of triangles: whether a polygon has a pair of nodes as neighbouring corners, and on which
// side of an edge a point lies. The mesh index (TMeshIndex) asks these of the polygons around a node.

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

}  // namespace terravel
