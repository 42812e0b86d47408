#pragma once
// Laplacian smoothing of heights: each chosen node's Z moves towards the mean Z of its polygon
// neighbours; X and Y stay. The border of the chosen nodes stays put: a node with a neighbour
// outside them, on the outer border of the mesh, or without neighbours.
#include "model/shaping/MeshEdit.h"
#include "model/shaping/ShapingProgress.h"

namespace terravel {

class TEditor;

struct TSmoothOptions {
  int Passes = 1;         // 1 .. kMaxSmoothPasses
  float Strength = 0.5f;  // (0, 1]: the share of the way to the mean in one pass
};

inline constexpr int kMaxSmoothPasses = 1000;

// Heights only; a node whose Z comes out the same is left out. Options out of range are an
// input error (EInputError).
// The progress is told the node moves done; EShapingCancelled when it says stop.
TMeshEdit SmoothHeights(const TEditor& editor, const TSmoothOptions& options, const TShapingProgress& progress = {});

}  // namespace terravel
