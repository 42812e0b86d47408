#pragma once
// The ground as a 16-bit heightmap: the ground polygons rasterized into a grid of heights that
// samples the terrain's bounding box as the heightmap import reads a picture. W pixels span W-1
// cells, so the corner pixels sit on the box's corners and the first row on the smallest Y; a
// terrain imported from a picture comes back at the picture's size exactly.
#include <cstdint>
#include <string>
#include <vector>

#include "model/heightmap/HeightGrid.h"

namespace terravel {

class TEditor;

enum class THeightRange {
  Project,  // MinZ is 0, MaxZ is 65535
  Terrain,  // the lowest corner of a ground polygon is 0, the highest 65535
};

struct THeightmapExportOptions {
  int Width = 0;  // pixels; with Height, both 0: from the pixel size
  int Height = 0;
  float PixelSize = 0;  // world units from pixel to pixel; 0: the grid step, or 64 without a grid
  THeightRange Range = THeightRange::Project;
};

// The largest heightmap the export writes: 8192 x 8192 pixels in all, at most 16384 on a side.
inline constexpr long long kMaxHeightmapPixels = 8192LL * 8192LL;
inline constexpr int kMaxHeightmapSide = 16384;

struct THeightRaster {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint16_t> Values;  // row by row, the first row at the smallest Y
  long long Outside = 0;              // pixels outside every ground polygon: 0
  long long Clamped = 0;              // pixels whose height lies outside the range
  float LowZ = 0;                     // the Z of 0 and of 65535
  float HighZ = 0;
};

// Each pixel takes the height of the ground polygon plane at its centre (the highest where ground
// polygons overlap); a pixel on an edge or corner counts as inside. Heights map linearly to
// 0..65535 over the range, rounded to nearest and clamped; an empty or reversed range gives 0
// everywhere.
// EHeightmapError without ground polygons, when they span no area, and for a size or pixel size
// out of range (each side 2 or more, at most kMaxHeightmapSide and kMaxHeightmapPixels in all).
// Coordinates are taken to be finite numbers.
THeightRaster RasterizeGround(const TEditor& editor, const THeightmapExportOptions& options);

// Little-endian samples, row by row: the raw 16-bit file (".r16", ".raw").
std::string RawHeightmapBytes(const THeightRaster& raster);

struct THeightDifference {
  double Max = 0;   // in 16-bit steps
  double Mean = 0;  // over every pixel
};

// How far the raster lies from a picture of the same size (its levels 0..1 read as 0..65535);
// EHeightmapError for a picture of another size.
THeightDifference CompareHeightmap(const THeightRaster& raster, const THeightGrid& picture);

}  // namespace terravel
