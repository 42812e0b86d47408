#include "model/heightmap/HeightmapImport.h"

#include <cmath>
#include <new>

#include "model/editor/Editor.h"
#include "model/heightmap/GreedyTriangulation.h"
#include "model/heightmap/HeightError.h"
#include "model/heightmap/HeightmapErrors.h"
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
  if (!std::isfinite(options.CellSize) || options.CellSize <= 0)
    throw EHeightmapError("The size of a pixel must be a number above 0.");
  if ((options.LowZ && !std::isfinite(*options.LowZ)) || (options.HighZ && !std::isfinite(*options.HighZ)))
    throw EHeightmapError("The Z of black and of white must be numbers.");
  if (options.Step < 1) throw EHeightmapError("The step must be 1 or more.");
  if (options.MaxTriangles && *options.MaxTriangles < 2)
    throw EHeightmapError("The triangle budget must be at least 2.");
}

THeightmapTerrain BuildHeightmapTerrain(const THeightGrid& grid, const THeightmapOptions& options, float lowZ,
                                        float highZ, const THeightmapProgress& progress) {
  CheckHeightmapOptions(options);
  if (grid.Width < 2 || grid.Height < 2) throw EHeightmapError("The heightmap must be at least 2 x 2 pixels.");
  const std::vector<int> columns = SampledPositions(grid.Width, options.Step);
  const std::vector<int> rows = SampledPositions(grid.Height, options.Step);
  const THeightGrid sampled = SampleGrid(grid, columns, rows);

  TTerrainMesh mesh;
  if (options.MaxTriangles) {
    mesh = BuildBudgetedMesh(sampled, *options.MaxTriangles, progress);
  } else {
    const long long squares = (long long)(columns.size() - 1) * (long long)(rows.size() - 1);
    if (squares > kMaxRegularSquares) {
      int step = options.Step;
      while ((long long)(SampledPositions(grid.Width, step).size() - 1) *
                 (long long)(SampledPositions(grid.Height, step).size() - 1) > kMaxRegularSquares)
        ++step;
      throw EHeightmapError("A regular mesh of this heightmap has " + std::to_string(columns.size() - 1) + " x " +
                            std::to_string(rows.size() - 1) +
                            " squares, more than the 256 x 256 the editor handles well. Set a triangle budget "
                            "(--max-triangles, or \"At most this many triangles\" in the options), or a step of " +
                            std::to_string(step) +
                            " or more.");
    }
    mesh = BuildRegularMesh(sampled);
  }
  // Back to the picture's pixels, so that the error is measured against every pixel.
  for (TPixelPoint& point : mesh.Points) {
    point.Column = columns[std::size_t(point.Column)];
    point.Row = rows[std::size_t(point.Row)];
  }
  const THeightError error = MeasureHeightError(grid, mesh);

  const float low = options.LowZ.value_or(lowZ);
  const float high = options.HighZ.value_or(highZ);
  const long double range = static_cast<long double>(high) - low;
  THeightmapTerrain terrain;
  terrain.Result.Nodes = int(mesh.Points.size());
  terrain.Result.Polygons = int(mesh.Triangles.size());
  terrain.Result.MaxError = static_cast<double>(error.Max * std::fabs(range));
  terrain.Result.MeanError = static_cast<double>(error.Mean * std::fabs(range));
  terrain.Nodes.reserve(mesh.Points.size());
  for (const TPixelPoint& point : mesh.Points) {
    terrain.Nodes.push_back({WorldPosition(point.Column, grid.Width, options.CellSize),
                             WorldPosition(point.Row, grid.Height, options.CellSize),
                             static_cast<float>(low + static_cast<long double>(point.Level) * range)});
  }
  terrain.Triangles = std::move(mesh.Triangles);
  return terrain;
}

void AppendHeightmapTerrain(TEditor& editor, const THeightmapTerrain& terrain) {
  const int first = editor.Nodes.Count();
  editor.Nodes.Reserve(std::size_t(first) + terrain.Nodes.size());
  editor.Polygons.Reserve(std::size_t(editor.Polygons.Count()) + terrain.Triangles.size());
  for (const auto& node : terrain.Nodes) {
    if (editor.Nodes.NewNode("", "", node[0], node[1], node[2]) < 0) throw std::bad_alloc();
  }
  for (const auto& triangle : terrain.Triangles) {
    if (editor.Polygons.NewPolygon(first + triangle[0], first + triangle[1], first + triangle[2], kDefaultTexture,
                                   "", "") < 0)
      throw std::bad_alloc();
  }
  editor.Host().Log("LOG: Heightmap import: " + HeightmapResultText(terrain.Result));
}

THeightmapResult ImportHeightmap(TEditor& editor, const THeightGrid& grid, const THeightmapOptions& options,
                                 const THeightmapProgress& progress) {
  const THeightmapTerrain terrain =
      BuildHeightmapTerrain(grid, options, editor.Values.MinZ, editor.Values.MaxZ, progress);
  AppendHeightmapTerrain(editor, terrain);
  return terrain.Result;
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
