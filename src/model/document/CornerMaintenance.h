#pragma once
// Keeping polygon corner indices right while nodes leave and re-enter the node list.
#include <vector>

#include "model/document/CoordList.h"

namespace terravel {

// Detaches node j after every polygon using it is gone; corner indices above j move down by one.
// A polygon that still uses j is an internal error (Actions).
T3DCoord DetachNodeFixingCorners(TCoordList& nodes, TPolyList& polygons, int j);

// Puts a node back at j; corner indices at or above j move up by one.
void InsertNodeFixingCorners(TCoordList& nodes, TPolyList& polygons, int j, T3DCoord node);

// The same for many nodes at once, in linear time: the indices are ascending positions in the
// list before the removal (Detach) or after the re-insertion (Insert).
std::vector<T3DCoord> DetachNodesFixingCorners(TCoordList& nodes, TPolyList& polygons,
                                               const std::vector<int>& ascending);
void InsertNodesFixingCorners(TCoordList& nodes, TPolyList& polygons, const std::vector<int>& ascending,
                              std::vector<T3DCoord> records);

}  // namespace terravel
