#pragma once
// The heightmap without a budget: every Nth pixel becomes a node of a regular mesh.
#include <vector>

#include "model/heightmap/HeightGrid.h"
#include "model/heightmap/TerrainMesh.h"

namespace terravel {

// The pixels every `step`th column and row keep: 0, step, 2 step, ... and always the last one, so
// that the border stays whole.
std::vector<int> SampledPositions(int size, int step);

// The grid of those pixels only; columns/rows say where each sample lies in the picture.
THeightGrid SampleGrid(const THeightGrid& grid, const std::vector<int>& columns, const std::vector<int>& rows);

// Two triangles per square of the grid, split and wound as the New mesh command does.
TTerrainMesh BuildRegularMesh(const THeightGrid& grid);

}  // namespace terravel
