#pragma once
// A terrain built from a heightmap, still in the picture's terms: points on pixel centres
// (column, row, level) and triangles as indices into them.
#include <array>
#include <functional>
#include <vector>

namespace terravel {

struct TPixelPoint {
  int Column = 0;
  int Row = 0;
  float Level = 0;  // 0 black .. 1 white
};

struct TTerrainMesh {
  std::vector<TPixelPoint> Points;
  // Wound as the New mesh command winds its triangles: clockwise with the columns to the right
  // and the rows downwards, so that every triangle is a ground polygon.
  std::vector<std::array<int, 3>> Triangles;
};

// Told how far a long build has come; returns false to cancel it.
using THeightmapProgress = std::function<bool(int done, int total)>;

}  // namespace terravel
