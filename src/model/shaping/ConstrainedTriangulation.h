#pragma once
// Triangulating nodes: a constrained Delaunay triangulation of the chosen nodes in X and Y, with
// every side of an existing polygon as a constraint. New ground (or sky) triangles fill the convex
// hull of the chosen nodes wherever no polygon is yet; none overlaps or repeats an existing one.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/shaping/ShapingProgress.h"

namespace terravel {

class TEditor;

struct TTriangulateOptions {
  float MaxEdge = 0;  // a triangle with a side longer than this (in X and Y) is left out; 0: no limit
  bool Sky = false;   // the winding of the new triangles: ground, or sky
};

struct TTriangulateResult {
  // The corners of the new triangles in winding order, in the order they are to be appended. Every
  // one becomes a polygon with the default texture, no group, the automatic colour and a new
  // automatic name: the corners are all that differs.
  std::vector<std::array<std::int32_t, 3>> Triangles;
  int Added = 0;
  // Triangles of the triangulation that the stored single-precision coordinates would call flat
  // or wound the other way (the ground and sky rule of the viewport): left out, not turned.
  int LeftOut = 0;
};

// New triangles only (nothing else changes); without existing polygons they are the plain Delaunay
// triangulation of the chosen nodes. Each is wound by the exact orientation of its corners, in an
// order that the single-precision ground and sky rule reads the same way. A negative or non-finite MaxEdge is an input error (ETerravelError).
// The progress is told the constraints and faces done; EShapingCancelled when it says stop.
TTriangulateResult TriangulateNodes(const TEditor& editor, const TTriangulateOptions& options,
                                    const TShapingProgress& progress = {});

// What the user is told about the triangles left out: "left out 1,204 triangles too thin to wind
// as ground in single precision" (or sky); empty when none was.
std::string LeftOutReport(const TTriangulateResult& result, bool sky);

}  // namespace terravel
