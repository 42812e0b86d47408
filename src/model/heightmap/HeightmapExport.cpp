#include "model/heightmap/HeightmapExport.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

#include "model/document/Orientation.h"
#include "model/editor/Editor.h"
#include "model/heightmap/GroundPixelScan.h"
#include "model/heightmap/HeightmapErrors.h"

namespace terravel {

namespace {

struct TGroundTriangle {
  std::array<const T3DCoord*, 3> Corners;
};

struct TBox {
  double MinX = 0, MaxX = 0, MinY = 0, MaxY = 0;
  float LowZ = 0, HighZ = 0;
};

// The ground polygons and their box; `area` tells whether any of them has one (three corners on
// one line count as ground, but cover no pixel of their own).
std::vector<TGroundTriangle> GroundTriangles(const TEditor& editor, TBox& box, bool& area) {
  std::vector<TGroundTriangle> triangles;
  bool first = true;
  area = false;
  for (const TPoly& polygon : editor.Polygons) {
    const T3DCoord& a = editor.Nodes[polygon.Node1];
    const T3DCoord& b = editor.Nodes[polygon.Node2];
    const T3DCoord& c = editor.Nodes[polygon.Node3];
    if (!IsGround(a, b, c)) continue;
    triangles.push_back({{&a, &b, &c}});
    const double twice = (double(b.X) - a.X) * (double(c.Y) - a.Y) - (double(c.X) - a.X) * (double(b.Y) - a.Y);
    if (twice != 0 && std::isfinite(twice)) area = true;
    for (const T3DCoord* node : {&a, &b, &c}) {
      if (first) {
        box = {node->X, node->X, node->Y, node->Y, node->Z, node->Z};
        first = false;
      }
      box.MinX = std::min(box.MinX, double(node->X));
      box.MaxX = std::max(box.MaxX, double(node->X));
      box.MinY = std::min(box.MinY, double(node->Y));
      box.MaxY = std::max(box.MaxY, double(node->Y));
      box.LowZ = std::min(box.LowZ, node->Z);
      box.HighZ = std::max(box.HighZ, node->Z);
    }
  }
  return triangles;
}

// A number as it was typed: the shortest text that reads back as the same single- or
// double-precision value.
std::string ShortestText(double value) {
  char text[32];
  const float single = static_cast<float>(value);
  const auto result = double(single) == value ? std::to_chars(text, text + sizeof text, single)
                                              : std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

// The pixels along a side of `extent` world units at the pixel size: whole cells, rounded.
int PixelsAlong(double extent, double pixelSize) {
  const double cells = std::floor(extent / pixelSize + 0.5);
  if (!(cells + 1 <= kMaxHeightmapSide)) {
    throw EHeightmapError("A pixel size of " + ShortestText(pixelSize) + " gives more than " +
                          std::to_string(kMaxHeightmapSide) + " pixels on a side; choose a larger one.");
  }
  return std::max(2, int(cells) + 1);
}

}  // namespace

THeightRaster RasterizeGround(const TEditor& editor, const THeightmapExportOptions& options) {
  TBox box;
  bool area = false;
  const std::vector<TGroundTriangle> triangles = GroundTriangles(editor, box, area);
  if (triangles.empty()) throw EHeightmapError("There are no ground polygons to make a heightmap of.");
  const double extentX = box.MaxX - box.MinX, extentY = box.MaxY - box.MinY;
  if (!(extentX > 0 && extentY > 0) || !area) throw EHeightmapError("The ground polygons span no area.");

  THeightRaster raster;
  if (options.Width != 0 || options.Height != 0) {
    raster.Width = options.Width;
    raster.Height = options.Height;
  } else {
    const TProjectValues& values = editor.Values;
    const double pixel = options.PixelSize != 0 ? double(options.PixelSize)
                         : values.GridX > 0     ? values.GridX
                                                : 64.0;
    if (!(pixel > 0) || !std::isfinite(pixel))
      throw EHeightmapError("The size of a pixel must be a number above 0.");
    raster.Width = PixelsAlong(extentX, pixel);
    raster.Height = PixelsAlong(extentY, pixel);
  }
  if (raster.Width < 2 || raster.Height < 2 || raster.Width > kMaxHeightmapSide ||
      raster.Height > kMaxHeightmapSide || (long long)raster.Width * raster.Height > kMaxHeightmapPixels) {
    throw EHeightmapError("A heightmap of " + std::to_string(raster.Width) + " x " +
                          std::to_string(raster.Height) + " pixels cannot be written: each side takes 2 to " +
                          std::to_string(kMaxHeightmapSide) + " pixels, at most " +
                          std::to_string(kMaxHeightmapPixels) + " in all.");
  }
  const bool project = options.Range == THeightRange::Project;
  raster.LowZ = project ? editor.Values.MinZ : box.LowZ;
  raster.HighZ = project ? editor.Values.MaxZ : box.HighZ;

  // The highest height at each pixel; below every height: outside the ground. Single precision, as
  // the nodes hold their Z: the largest picture needs 256 MB for it instead of 512.
  const std::size_t count = std::size_t(raster.Width) * std::size_t(raster.Height);
  std::vector<float> heights(count, -std::numeric_limits<float>::infinity());
  const double cellsX = raster.Width - 1, cellsY = raster.Height - 1;
  for (const TGroundTriangle& triangle : triangles) {
    TPixelTriangle t;
    for (int k = 0; k < 3; ++k) {
      const T3DCoord& node = *triangle.Corners[std::size_t(k)];
      // Multiplied before divided: a node on a pixel centre gets its whole pixel number exactly.
      t.U[k] = (double(node.X) - box.MinX) * cellsX / extentX;
      t.V[k] = (double(node.Y) - box.MinY) * cellsY / extentY;
      t.Z[k] = node.Z;
    }
    ScanGroundPixels(t, raster.Width, raster.Height, [&](int column, int row, double z) {
      float& height = heights[std::size_t(row) * std::size_t(raster.Width) + std::size_t(column)];
      height = std::max(height, static_cast<float>(z));
    });
  }

  const double low = raster.LowZ, range = double(raster.HighZ) - low;
  raster.Values.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    if (heights[i] == -std::numeric_limits<float>::infinity()) {
      ++raster.Outside;
      raster.Values[i] = 0;
      continue;
    }
    const double level = range > 0 ? (double(heights[i]) - low) / range * 65535.0 : 0.0;
    if (level < -0.5 || level > 65535.5) ++raster.Clamped;
    raster.Values[i] = static_cast<std::uint16_t>(std::clamp(std::nearbyint(level), 0.0, 65535.0));
  }
  return raster;
}

std::string RawHeightmapBytes(const THeightRaster& raster) {
  std::string bytes;
  bytes.reserve(raster.Values.size() * 2);
  for (std::uint16_t value : raster.Values) {
    bytes += static_cast<char>(value & 0xFF);
    bytes += static_cast<char>(value >> 8);
  }
  return bytes;
}

THeightDifference CompareHeightmap(const THeightRaster& raster, const THeightGrid& picture) {
  if (picture.Width != raster.Width || picture.Height != raster.Height) {
    throw EHeightmapError("The picture to compare is " + std::to_string(picture.Width) + " x " +
                          std::to_string(picture.Height) + " pixels, the heightmap " +
                          std::to_string(raster.Width) + " x " + std::to_string(raster.Height) + ".");
  }
  THeightDifference difference;
  double sum = 0;
  for (std::size_t i = 0; i < raster.Values.size(); ++i) {
    const double original = std::nearbyint(double(picture.Levels[i]) * 65535.0);
    const double step = std::fabs(original - raster.Values[i]);
    difference.Max = std::max(difference.Max, step);
    sum += step;
  }
  if (!raster.Values.empty()) difference.Mean = sum / double(raster.Values.size());
  return difference;
}

}  // namespace terravel
