#include "model/heightmap/HeightError.h"

#include <cmath>
#include <vector>

#include "model/heightmap/ProgressTicker.h"
#include "model/heightmap/TriangleScan.h"

namespace terravel {

THeightError MeasureHeightError(const THeightGrid& grid, const TTerrainMesh& mesh, const THeightmapProgress& progress) {
  TProgressTicker ticker(progress);
  std::vector<bool> measured(grid.Levels.size(), false);
  long double sum = 0, squares = 0;
  std::size_t count = 0;
  THeightError error;
  const int total = int(mesh.Triangles.size());
  for (int i = 0; i < total; ++i) {
    ticker.Step(i, total);
    const auto& triangle = mesh.Triangles[std::size_t(i)];
    ScanTriangle(mesh.Points[triangle[0]], mesh.Points[triangle[1]], mesh.Points[triangle[2]],
                 [&](int column, int row, double level) {
                   const std::size_t at = std::size_t(row) * std::size_t(grid.Width) + std::size_t(column);
                   if (measured[at]) return;
                   measured[at] = true;
                   const double difference = std::fabs(level - double(grid.Levels[at]));
                   error.Max = std::max(error.Max, difference);
                   sum += difference;
                   squares += difference * difference;
                   ++count;
                 });
  }
  if (count > 0) {
    error.Mean = static_cast<double>(sum / static_cast<long double>(count));
    error.Rms = static_cast<double>(std::sqrt(squares / static_cast<long double>(count)));
  }
  return error;
}

}  // namespace terravel
