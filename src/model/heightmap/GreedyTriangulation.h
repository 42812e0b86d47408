#pragma once
// The heightmap within a triangle budget: greedy insertion into a Delaunay triangulation (Garland
// and Heckbert, "Fast Polygonal Approximation of Terrains and Height Fields", 1995). The pixel
// that the current terrain misses most is added next, until the budget is spent or the terrain
// matches the picture.
#include "model/heightmap/HeightGrid.h"
#include "model/heightmap/TerrainMesh.h"

namespace terravel {

// At most maxTriangles (2 or more) triangles over the whole grid (2 x 2 pixels or more). The four
// corners are always points, and the border points are chosen from the border pixels alone (each
// side on its own, from half the budget at most), so that tiles cut from one heightmap and built
// with the same budget share their border points. The progress is told the interior points
// inserted; EHeightmapCancelled when it asks to stop.
TTerrainMesh BuildBudgetedMesh(const THeightGrid& grid, int maxTriangles, const THeightmapProgress& progress = {});

}  // namespace terravel
