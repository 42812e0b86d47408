#pragma once
// Simplifying polygons by half-edge collapse: a node goes and its triangles are joined to one of
// its neighbours, cheapest first, the cost being the largest height error the removed nodes then
// have against the surface (measured in Z at each removed node's X and Y); with a triangle budget
// it is raised where the summed squared error would grow by more. The outline stays in place in X
// and Y (a border node goes only into a border neighbour along a straight stretch of the border,
// its height error counted like any other), and so do the edges between groups or textures and
// every node of a polygon that is not chosen. Winding never flips; no node moves. The work is
// about n log n for n triangles, whatever the shape.
#include "model/shaping/MeshEdit.h"
#include "model/shaping/ShapingProgress.h"

namespace terravel {

class TEditor;

struct TSimplifyOptions {
  // With MaxTriangles > 0 the chosen polygons are reduced to at most that many (exactly that many
  // when the mesh allows it: an inner node takes two triangles, a border node one); otherwise
  // collapses go on while the error stays at most MaxError (>= 0).
  int MaxTriangles = 0;
  float MaxError = 0;
};

struct TSimplifyResult {
  TMeshEdit Edit;
  int PolygonsBefore = 0;  // the chosen polygons
  int PolygonsAfter = 0;
  double MaxError = 0;  // the largest height error at a removed node
  // The root of the mean squared height error over every node of the chosen polygons (a kept
  // node has none).
  double RmsError = 0;
  // The budget asked for (0 with an error bound); where the outline and the edges between
  // groups or textures keep more triangles, PolygonsAfter is above it.
  int Budget = 0;
};

// Options out of range are an input error (ETerravelError).
// The progress is told the collapses done; EShapingCancelled when it says stop.
TSimplifyResult SimplifyPolygons(const TEditor& editor, const TSimplifyOptions& options,
                                 const TShapingProgress& progress = {});

}  // namespace terravel
