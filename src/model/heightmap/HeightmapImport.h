#pragma once
// A heightmap turned into nodes and ground polygons of the document: a regular mesh, or an
// adaptive terrain within a triangle budget.
#include <optional>
#include <string>

#include "model/heightmap/HeightGrid.h"
#include "model/heightmap/TerrainMesh.h"

namespace terravel {

class TEditor;

struct THeightmapOptions {
  float CellSize = 64;           // world units between neighbouring pixels
  std::optional<float> LowZ;     // the Z of black; none: the project's MinZ
  std::optional<float> HighZ;    // the Z of white; none: the project's MaxZ
  int Step = 1;                  // every Nth pixel (the last column and row always)
  std::optional<int> MaxTriangles;  // none: the regular mesh
};

struct THeightmapResult {
  int Nodes = 0;
  int Polygons = 0;
  double MaxError = 0;   // in Z units, against every pixel of the picture
  double MeanError = 0;
};

// The biggest regular mesh the import makes without a budget: 256 x 256 squares.
inline constexpr int kMaxRegularSquares = 256 * 256;

// EHeightmapError for options out of range (a cell size that is no positive number, a step
// under 1, a budget under 2).
void CheckHeightmapOptions(const THeightmapOptions& options);

// Builds the terrain first and only then appends its nodes (empty group, automatic names) and
// ground polygons with the default texture, centred on the origin with the picture's top at
// the smallest Y, and logs the counts and the height error. As the XYZ import, the records go
// straight into the lists and nothing is recorded in the history; the modified flag is the
// caller's. Any error (options, a regular mesh above 256 x 256 squares, a cancellation) is thrown
// before the document changes.
THeightmapResult ImportHeightmap(TEditor& editor, const THeightGrid& grid, const THeightmapOptions& options,
                                 const THeightmapProgress& progress = {});

// "1234 nodes, 2400 polygons; height error max 12.5, mean 3.1": the CLI's line and the log's.
std::string HeightmapResultText(const THeightmapResult& result);

}  // namespace terravel
