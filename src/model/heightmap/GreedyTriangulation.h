#pragma once
// The heightmap within a triangle budget or an error bound: greedy insertion into a Delaunay
// triangulation (Garland and Heckbert, "Fast Polygonal Approximation of Terrains and Height
// Fields", 1995), with data-dependent edge flips after each insertion. The pixel that the current
// terrain misses most is added next, until the budget is spent, the worst pixel is within the
// bound, or the terrain matches the picture. With the budget spent, the face that misses most is
// flipped against a neighbour while that lowers its worst pixel without raising the sum of squares.
#include "model/heightmap/HeightGrid.h"
#include "model/heightmap/TerrainMesh.h"

namespace terravel {

struct TGreedySettings {
  int MaxTriangles = 2;  // 2 or more
  double MaxError = 0;   // in levels: stop once no pixel is missed by more (0: the budget alone)
  // Every side of the picture thinned on its own, so that tiles cut from one heightmap and built
  // with the same budget and bound meet point for point: up to an eighth of the budget a side,
  // until the side's own pixels are within the bound. Otherwise the border pixels compete with
  // the inner ones, which spends the budget where the terrain needs it.
  bool SeamlessBorder = false;
  // After each insertion, an edge around the new point is flipped wherever the other diagonal of
  // its quadrilateral follows the pixels closer (a smaller sum of squared errors).
  bool DataDependentFlips = true;
};

// What ended the insertion. BorderShare: a seamless border's side spent its share of the budget
// while its pixels were missed by more than the bound (or, without one, at all); the inside was
// done. SkippedPixels: the error bound held on the pixels a step keeps, not on those it skips
// (told by the import, which measures them).
enum class TGreedyStop { Budget, ErrorBound, Exact, BorderShare, SkippedPixels };

struct TGreedyTerrain {
  TTerrainMesh Mesh;
  TGreedyStop Stop = TGreedyStop::Exact;
  // Against every pixel of the grid, in levels; from the scans the insertion made.
  double MaxError = 0;
  double MeanError = 0;
  double RmsError = 0;
};

// A terrain over the whole grid (2 x 2 pixels or more) whose four corners are always points. With
// the budget as the limit, the terrain has exactly MaxTriangles triangles (with a seamless border,
// or when every border pixel is a point, possibly one fewer). The progress is told the triangles
// made so far, at least every 50 ms; EHeightmapCancelled when it asks to stop.
TGreedyTerrain BuildGreedyTerrain(const THeightGrid& grid, const TGreedySettings& settings,
                                  const THeightmapProgress& progress = {});

}  // namespace terravel
