#include "model/heightmap/HeightmapImport.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <new>

#include "model/document/Orientation.h"
#include "model/editor/Editor.h"
#include "model/heightmap/GreedyTriangulation.h"
#include "model/heightmap/HeightError.h"
#include "model/heightmap/HeightmapErrors.h"
#include "model/heightmap/ProgressTicker.h"
#include "model/heightmap/RegularMesh.h"
#include "model/text/NumberText.h"

namespace terravel {

namespace {

// Where a pixel lands: the picture's centre on the origin, `cell` units from pixel to pixel.
float WorldPosition(int pixel, int size, float cell) {
  return static_cast<float>((2.0L * pixel - (size - 1)) * static_cast<long double>(cell) / 2.0L);
}

}  // namespace

void CheckHeightmapOptions(const THeightmapOptions& options) {
  using enum THeightmapField;
  if (!std::isfinite(options.CellSize) || options.CellSize <= 0)
    throw EHeightmapOptionError(CellSize, "The size of a pixel must be a number above 0.");
  if (options.LowZ && !std::isfinite(*options.LowZ))
    throw EHeightmapOptionError(LowZ, "The Z of black must be a number.");
  if (options.HighZ && !std::isfinite(*options.HighZ))
    throw EHeightmapOptionError(HighZ, "The Z of white must be a number.");
  if (options.Step < 1) throw EHeightmapOptionError(Step, "The step must be 1 or more.");
  if (options.MaxTriangles && *options.MaxTriangles < 2)
    throw EHeightmapOptionError(MaxTriangles, "The triangle budget must be at least 2.");
  if (options.MaxError && !(std::isfinite(*options.MaxError) && *options.MaxError >= 0))
    throw EHeightmapOptionError(MaxError, "The error bound must be a number of 0 or more.");
}

namespace {

// Whether every pixel of a side lands on its own single-precision position.
bool PositionsApart(int size, float cell) {
  float last = -std::numeric_limits<float>::infinity();
  for (int pixel = 0; pixel < size; ++pixel) {
    const float position = WorldPosition(pixel, size, cell);
    if (!std::isfinite(position) || !(position > last)) return false;
    last = position;
  }
  return true;
}

// The smallest orientation sum of the triangles of every row's cells and of the whole picture in
// the document's single precision, where ground and sky are told apart: a tiny cell makes the
// products underflow to 0, a huge one overflow.
float SmallestCellSum(int width, int height, float cell) {
  const auto node = [](float x, float y) {
    T3DCoord coord;
    coord.X = x;
    coord.Y = y;
    return coord;
  };
  // The largest triangle a terrain can have, over the whole picture.
  const float left = WorldPosition(0, width, cell), right = WorldPosition(width - 1, width, cell);
  const float top = WorldPosition(0, height, cell), bottom = WorldPosition(height - 1, height, cell);
  float smallest = SingleOrientationSum(node(left, top), node(left, bottom), node(right, top));
  if (!std::isfinite(smallest)) return smallest;
  for (int column : {0, (width - 1) / 2}) {
    const float x0 = WorldPosition(column, width, cell), x1 = WorldPosition(column + 1, width, cell);
    for (int row = 0; row + 1 < height; ++row) {
      const float y0 = WorldPosition(row, height, cell), y1 = WorldPosition(row + 1, height, cell);
      // The two triangles of the cell, wound as the terrain winds them.
      const T3DCoord a = node(x0, y0), b = node(x0, y1), c = node(x1, y0), d = node(x1, y1);
      for (const float sum : {SingleOrientationSum(a, b, c), SingleOrientationSum(c, b, d)}) {
        if (!std::isfinite(sum)) return sum;
        smallest = std::min(smallest, sum);
      }
    }
  }
  return smallest;
}

}  // namespace

void CheckHeightmapOptions(const THeightmapOptions& options, int width, int height, float lowZ, float highZ) {
  using enum THeightmapField;
  CheckHeightmapOptions(options);
  const std::string size = std::to_string(width) + " x " + std::to_string(height);
  const long double extent = static_cast<long double>(std::max(width, height) - 1) / 2 * options.CellSize;
  if (extent > std::numeric_limits<float>::max())
    throw EHeightmapOptionError(CellSize, "The size of a pixel is too large for a picture of " + size +
                                              " pixels: the terrain would be wider than single precision holds.");
  if (!PositionsApart(width, options.CellSize) || !PositionsApart(height, options.CellSize))
    throw EHeightmapOptionError(CellSize, "The size of a pixel is too small for a picture of " + size +
                                              " pixels: neighbouring pixels would land on the same X or Y.");
  const float cellSum = SmallestCellSum(width, height, options.CellSize);
  if (!std::isfinite(cellSum))
    throw EHeightmapOptionError(CellSize, "The size of a pixel is too large for a picture of " + size +
                                              " pixels: the areas of its triangles would overflow single precision.");
  if (!(cellSum > 0))
    throw EHeightmapOptionError(CellSize, "The size of a pixel is too small for a picture of " + size +
                                              " pixels: its triangles would have no area in single precision.");
  const long double range =
      static_cast<long double>(options.HighZ.value_or(highZ)) - static_cast<long double>(options.LowZ.value_or(lowZ));
  if (std::fabs(range) > std::numeric_limits<float>::max())
    throw EHeightmapOptionError(options.HighZ ? HighZ : LowZ,
                                "The Z of black and of white lie too far apart for single precision.");
  if (options.MaxTriangles || options.MaxError) return;
  const long long squares = (long long)(SampledPositions(width, options.Step).size() - 1) *
                            (long long)(SampledPositions(height, options.Step).size() - 1);
  if (squares > kMaxRegularSquares) {
    int step = options.Step;
    while ((long long)(SampledPositions(width, step).size() - 1) *
               (long long)(SampledPositions(height, step).size() - 1) > kMaxRegularSquares)
      ++step;
    throw EHeightmapOptionError(
        MaxTriangles, "A regular mesh of this heightmap has " + std::to_string(SampledPositions(width, options.Step).size() - 1) +
                          " x " + std::to_string(SampledPositions(height, options.Step).size() - 1) +
                          " squares, more than the 256 x 256 the editor handles well. Set a triangle budget or an "
                          "error bound, or a step of " + std::to_string(step) + " or more.");
  }
}

THeightmapTerrain BuildHeightmapTerrain(const THeightGrid& grid, const THeightmapOptions& options, float lowZ,
                                        float highZ, const THeightmapProgress& progress) {
  if (grid.Width < 2 || grid.Height < 2) throw EHeightmapError("The heightmap must be at least 2 x 2 pixels.");
  CheckHeightmapOptions(options, grid.Width, grid.Height, lowZ, highZ);
  const std::vector<int> columns = SampledPositions(grid.Width, options.Step);
  const std::vector<int> rows = SampledPositions(grid.Height, options.Step);
  const THeightGrid sampled = options.Step == 1 ? THeightGrid() : SampleGrid(grid, columns, rows);
  const THeightGrid& used = options.Step == 1 ? grid : sampled;

  const float low = options.LowZ.value_or(lowZ);
  const float high = options.HighZ.value_or(highZ);
  const long double range = static_cast<long double>(high) - low;
  THeightmapTerrain terrain;
  TTerrainMesh mesh;
  THeightError error;
  bool measured = false;
  if (options.MaxTriangles || options.MaxError) {
    TGreedySettings settings;
    // Without a budget, as many triangles as the picture's pixels make.
    const long long most = 2LL * (used.Width - 1) * (used.Height - 1);
    settings.MaxTriangles = options.MaxTriangles ? *options.MaxTriangles : int(std::min<long long>(most, INT_MAX));
    // The bound in levels; a flat Z range has no error at all.
    if (options.MaxError) {
      settings.MaxError = range == 0 ? std::numeric_limits<double>::infinity()
                                     : static_cast<double>(*options.MaxError / std::fabs(range));
      // Rounded down, so that an error within it is within the bound in Z units too.
      while (settings.MaxError > 0 && range != 0 &&
             static_cast<long double>(settings.MaxError) * std::fabs(range) > *options.MaxError)
        settings.MaxError = std::nextafter(settings.MaxError, 0.0);
    }
    settings.SeamlessBorder = options.SeamlessBorder;
    TGreedyTerrain greedy = BuildGreedyTerrain(used, settings, progress);
    mesh = std::move(greedy.Mesh);
    terrain.Result.Stop = greedy.Stop;
    if (options.Step == 1) {
      error = {greedy.MaxError, greedy.MeanError, greedy.RmsError};
      measured = true;
    }
  } else {
    mesh = BuildRegularMesh(used);
  }
  // Back to the picture's pixels, so that the error is measured against every pixel.
  for (TPixelPoint& point : mesh.Points) {
    point.Column = columns[std::size_t(point.Column)];
    point.Row = rows[std::size_t(point.Row)];
  }
  if (!measured) error = MeasureHeightError(grid, mesh, progress);

  terrain.Result.Nodes = int(mesh.Points.size());
  terrain.Result.Polygons = int(mesh.Triangles.size());
  terrain.Result.MaxError = static_cast<double>(error.Max * std::fabs(range));
  terrain.Result.MeanError = static_cast<double>(error.Mean * std::fabs(range));
  terrain.Result.RmsError = static_cast<double>(error.Rms * std::fabs(range));
  // The bound held on the sampled pixels; the ones the step skips may be missed by more.
  if (terrain.Result.Stop == TGreedyStop::ErrorBound && options.MaxError && terrain.Result.MaxError > *options.MaxError)
    terrain.Result.Stop = TGreedyStop::SkippedPixels;
  terrain.Nodes.reserve(mesh.Points.size());
  for (const TPixelPoint& point : mesh.Points) {
    terrain.Nodes.push_back({WorldPosition(point.Column, grid.Width, options.CellSize),
                             WorldPosition(point.Row, grid.Height, options.CellSize),
                             static_cast<float>(low + static_cast<long double>(point.Level) * range)});
  }
  terrain.Triangles = std::move(mesh.Triangles);
  return terrain;
}

void AppendNodesAndGround(TEditor& editor, const std::vector<std::array<float, 3>>& nodes,
                          const std::vector<std::array<int, 3>>& triangles, const THeightmapProgress& progress) {
  const int first = editor.Nodes.Count(), firstPolygon = editor.Polygons.Count();
  const int total = int(nodes.size() + triangles.size());
  TProgressTicker ticker(progress);
  try {
    editor.Nodes.Reserve(std::size_t(first) + nodes.size());
    if (!triangles.empty()) editor.Polygons.Reserve(std::size_t(firstPolygon) + triangles.size());
    int done = 0;
    for (const auto& node : nodes) {
      ticker.Step(done++, total);
      if (editor.Nodes.NewNode("", "", node[0], node[1], node[2]) < 0) throw std::bad_alloc();
    }
    for (const auto& triangle : triangles) {
      ticker.Step(done++, total);
      if (editor.Polygons.NewPolygon(first + triangle[0], first + triangle[1], first + triangle[2], kDefaultTexture,
                                     "", "") < 0)
        throw std::bad_alloc();
    }
  } catch (...) {
    // Cancelled or out of memory: the document goes back to what it was.
    while (editor.Polygons.Count() > firstPolygon) editor.Polygons.DetachPolygon(editor.Polygons.Count() - 1);
    while (editor.Nodes.Count() > first) editor.Nodes.DetachNode(editor.Nodes.Count() - 1);
    throw;
  }
}

std::string HeightmapStopText(const THeightmapResult& result) {
  if (!result.Stop) return "";
  switch (*result.Stop) {
    case TGreedyStop::Budget:
      return "Stopped at the triangle budget.";
    case TGreedyStop::ErrorBound:
      return "Stopped at the error bound.";
    case TGreedyStop::BorderShare:
      return "Stopped at the seamless border's share of the triangle budget: its pixels are missed by more than "
             "the rest.";
    case TGreedyStop::SkippedPixels:
      return "Stopped at the error bound on the pixels the step keeps; those it skips are missed by more.";
    case TGreedyStop::Exact:
      break;
  }
  return "Stopped because the terrain matches the picture.";
}

std::string HeightmapResultText(const THeightmapResult& result) {
  const auto number = [](double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", value);
    return std::string(text);
  };
  return std::to_string(result.Nodes) + " nodes, " + std::to_string(result.Polygons) +
         " polygons; height error max " + number(result.MaxError) + ", mean " + number(result.MeanError);
}

}  // namespace terravel
