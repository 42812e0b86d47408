#pragma once
// Triangulating nodes: a constrained Delaunay triangulation of the chosen nodes in X and Y, with
// every side of an existing polygon as a constraint. New ground (or sky) triangles fill the convex
// hull of the chosen nodes wherever no polygon is yet; none overlaps or repeats an existing one.
#include "model/shaping/MeshEdit.h"
#include "model/shaping/ShapingProgress.h"

namespace terravel {

class TEditor;

struct TTriangulateOptions {
  float MaxEdge = 0;  // a triangle with a side longer than this (in X and Y) is left out; 0: no limit
  bool Sky = false;   // the winding of the new triangles: ground, or sky
};

// Added polygons only, unselected, with the default texture and automatic colour. A negative or
// non-finite MaxEdge is an input error (ETerravelError).
// The progress is told the constraints and faces done; EShapingCancelled when it says stop.
TMeshEdit TriangulateNodes(const TEditor& editor, const TTriangulateOptions& options,
                           const TShapingProgress& progress = {});

}  // namespace terravel
