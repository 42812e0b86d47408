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

}  // namespace terravel
