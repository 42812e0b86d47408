#pragma once
// The geometry behind the editing commands of the viewport: where "Add node here" puts a node,
// which three nodes a new ground or sky polygon joins and in which order, how many polygons a
// removal takes along, and the texture names offered for the selection.
#include <string>
#include <vector>

#include "model/view/ViewTransform.h"

namespace terravel {

class TEditor;

enum class TPlacementResult {
  Ok,           // Node1..Node3 hold the corners, oriented for the requested kind
  TooFewNodes,  // the project has fewer than three nodes
  NoCorners,    // cursor mode: every nearby choice would repeat or overlap an existing polygon
  Duplicate,    // a polygon with exactly these corners exists: DuplicateIndex
  Degenerate,   // the three corners lie on one line (orientation sum 0)
};

// With Duplicate and Degenerate, Node1..Node3 hold the chosen corners in the order A, B, third.
struct TPolygonPlacement {
  TPlacementResult Result = TPlacementResult::TooFewNodes;
  int Node1 = -1;
  int Node2 = -1;
  int Node3 = -1;
  int DuplicateIndex = -1;
};

// The ground/sky orientation sum of three nodes, in single precision: positive for a ground
// winding, negative for a sky winding, 0 for a degenerate triangle.
float OrientationSum(const TEditor& editor, int a, int b, int c);

// Polygons that have a and b as neighbouring corners, in either order.
int EdgeUseCount(const TEditor& editor, int a, int b);
// True when a polygon with the edge p-q has its third corner on the same side of p->q as r.
bool OverlapsOnEdge(const TEditor& editor, int p, int q, int r);

// Cursor mode: the nearest suitable nodes around the world point (x, y).
TPolygonPlacement PlacePolygonAt(const TEditor& editor, float x, float y, bool ground);
// Selected mode: the three given nodes (the selected ones, in list order).
TPolygonPlacement PlacePolygonOn(const TEditor& editor, int a, int b, int c, bool ground);

// Where "Add node here" puts a node for a viewport pixel: the world point, snapped to the grid
// when SnapToGrid is on and the grid is set.
TWorldPoint AddNodePosition(const TEditor& editor, int px, int py);

// The number of polygons that use at least one selected node.
int PolygonsUsingSelectedNodes(const TEditor& editor);

// The distinct texture names of all polygons, sorted ignoring letter case (of names that differ
// only in case, the spelling of the first polygon); the empty texture is the empty string.
std::vector<std::string> TextureNames(const TEditor& editor);

}  // namespace terravel
