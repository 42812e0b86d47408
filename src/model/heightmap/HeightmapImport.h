#pragma once
// A heightmap turned into nodes and ground polygons of the document: a regular mesh, or an
// adaptive terrain within a triangle budget.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "model/heightmap/GreedyTriangulation.h"
#include "model/heightmap/HeightGrid.h"
#include "model/heightmap/TerrainMesh.h"

namespace terravel {

class TEditor;

struct THeightmapOptions {
  float CellSize = 64;           // world units between neighbouring pixels
  std::optional<float> LowZ;     // the Z of black; none: the project's MinZ
  std::optional<float> HighZ;    // the Z of white; none: the project's MaxZ
  int Step = 1;                  // every Nth pixel (the last column and row always)
  std::optional<int> MaxTriangles;  // none: the regular mesh (unless MaxError is set)
  std::optional<float> MaxError;    // in Z units: insert until no pixel is missed by more
  bool SeamlessBorder = false;      // each side thinned on its own, so that tiles meet
};

struct THeightmapResult {
  int Nodes = 0;
  int Polygons = 0;
  double MaxError = 0;   // in Z units, against every pixel of the picture
  double MeanError = 0;
  double RmsError = 0;
  std::optional<TGreedyStop> Stop;  // what ended the insertion; none for a regular mesh
};

// The biggest regular mesh the import makes without a budget: 256 x 256 squares.
inline constexpr int kMaxRegularSquares = 256 * 256;

// EHeightmapOptionError for options out of range (a cell size that is no positive number, a step
// under 1, a budget under 2, a negative error bound).
void CheckHeightmapOptions(const THeightmapOptions& options);

// The same, and what the options do to a picture of that size: a terrain beyond single precision
// or with neighbouring pixels at one X or Y, a Z range beyond single precision, a regular mesh
// above 256 x 256 squares. lowZ and highZ stand in for the options' Z when these have none.
void CheckHeightmapOptions(const THeightmapOptions& options, int width, int height, float lowZ, float highZ);

// The terrain in world coordinates, built and measured but not yet in the document.
struct THeightmapTerrain {
  std::vector<std::array<float, 3>> Nodes;  // X, Y, Z
  std::vector<std::array<int, 3>> Triangles;  // ground polygons, indices into Nodes
  THeightmapResult Result;
};

// Builds the terrain, centred on the origin with the picture's top at the smallest Y; black and
// white take the options' Z, or else lowZ and highZ. A budget or an error bound makes a greedy
// terrain, neither a regular mesh. EHeightmapOptionError as CheckHeightmapOptions says,
// EHeightmapCancelled when the progress asks to stop.
THeightmapTerrain BuildHeightmapTerrain(const THeightGrid& grid, const THeightmapOptions& options, float lowZ,
                                        float highZ, const THeightmapProgress& progress = {});

// Appends the nodes (empty group, automatic names) and ground polygons with the default texture:
// what every import that appends nodes and ground polygons outside the history uses. The records
// go straight into the lists and nothing is recorded in the history; the modified flag is the
// caller's. The progress is told the records appended; when it asks to stop (EHeightmapCancelled)
// or memory runs out, the appended records are taken out again before the error goes on.
void AppendNodesAndGround(TEditor& editor, const std::vector<std::array<float, 3>>& nodes,
                          const std::vector<std::array<int, 3>>& triangles, const THeightmapProgress& progress = {});

// "1234 nodes, 2400 polygons; height error max 12.5, mean 3.1": the CLI's line and the log's.
std::string HeightmapResultText(const THeightmapResult& result);

// What ended a greedy terrain: "Stopped at the triangle budget.", "Stopped at the error bound.",
// "Stopped because the terrain matches the picture." or, when a seamless border or a step kept
// pixels beyond the bound, a sentence that says so; empty for a regular mesh. The error bound is
// claimed only when every pixel of the picture is within it.
std::string HeightmapStopText(const THeightmapResult& result);

}  // namespace terravel
