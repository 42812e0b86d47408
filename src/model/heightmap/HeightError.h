#pragma once
// How far a terrain strays from the picture it was built from.
#include "model/heightmap/HeightGrid.h"
#include "model/heightmap/TerrainMesh.h"

namespace terravel {

struct THeightError {
  double Max = 0;   // in levels (0 .. 1)
  double Mean = 0;  // over every pixel the triangles cover
  double Rms = 0;   // the root of the mean square, likewise
};

// Each pixel once, against the triangle that covers it first; the mesh's points are pixels of
// this grid.
// The progress is told the triangles measured; EHeightmapCancelled when it asks to stop.
THeightError MeasureHeightError(const THeightGrid& grid, const TTerrainMesh& mesh, const THeightmapProgress& progress = {});

}  // namespace terravel
