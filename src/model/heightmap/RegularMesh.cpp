#include "model/heightmap/RegularMesh.h"

namespace terravel {

std::vector<int> SampledPositions(int size, int step) {
  std::vector<int> positions;
  for (int i = 0; i < size; i += step) positions.push_back(i);
  if (positions.back() != size - 1) positions.push_back(size - 1);
  return positions;
}

THeightGrid SampleGrid(const THeightGrid& grid, const std::vector<int>& columns, const std::vector<int>& rows) {
  THeightGrid sampled;
  sampled.Width = static_cast<int>(columns.size());
  sampled.Height = static_cast<int>(rows.size());
  sampled.Levels.reserve(columns.size() * rows.size());
  for (int row : rows)
    for (int column : columns) sampled.Levels.push_back(grid.At(column, row));
  return sampled;
}

TTerrainMesh BuildRegularMesh(const THeightGrid& grid) {
  TTerrainMesh mesh;
  mesh.Points.reserve(grid.Levels.size());
  for (int row = 0; row < grid.Height; ++row)
    for (int column = 0; column < grid.Width; ++column) mesh.Points.push_back({column, row, grid.At(column, row)});
  // As the New mesh: column i, row j; (i, j), (i, j+1), (i+1, j), then (i+1, j), (i, j+1), (i+1, j+1).
  const auto at = [&grid](int i, int j) { return j * grid.Width + i; };
  mesh.Triangles.reserve(std::size_t(grid.Width - 1) * std::size_t(grid.Height - 1) * 2);
  for (int i = 0; i + 1 < grid.Width; ++i) {
    for (int j = 0; j + 1 < grid.Height; ++j) {
      mesh.Triangles.push_back({at(i, j), at(i, j + 1), at(i + 1, j)});
      mesh.Triangles.push_back({at(i + 1, j), at(i, j + 1), at(i + 1, j + 1)});
    }
  }
  return mesh;
}

}  // namespace terravel
