// Heightmap import on any bytes: the picture readers (PNG and the rest Qt reads, raw 16-bit) and
// the greedy triangulation with a budget, an error bound and a border rule taken from the input.
// What a user relies on is checked: every coordinate finite, the picture covered exactly, the
// budget kept (and met when it stopped the insertion), every triangle wound as ground.
//
// Input: byte 0 picks the reader (bit 0: raw, else picture) and the border rule (bit 1: seamless);
// bytes 1-2 the budget (2 to 65537), byte 3 the error bound (0: none, else that many levels in
// 1,000); the rest is the file.
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "FuzzChecks.h"
#include "model/core/Errors.h"
#include "model/heightmap/GreedyTriangulation.h"
#include "model/heightmap/HeightmapErrors.h"
#include "model/heightmap/HeightmapImport.h"
#include "render/HeightmapPicture.h"

using namespace terravel;

namespace {

// One scratch file per reader, rewritten for each input: the reader goes by the extension.
std::string ScratchFile(const char* extension) {
  const char* dir = std::getenv("TMPDIR");
  std::string name = std::string(dir != nullptr ? dir : "/tmp") + "/terravel-fuzz-XXXXXX";
  const int fd = mkstemp(name.data());
  if (fd < 0) fuzz::Fail("no scratch file");
  close(fd);
  std::remove(name.c_str());
  return name + extension;
}

// Above this many pixels the triangulation is skipped: the readers are fuzzed, not the clock.
constexpr long long kMostPixels = 128 * 128;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  static const std::string raw = ScratchFile(".r16"), picture = ScratchFile(".png");
  const bool rawReader = (data[0] & 1) != 0;
  const std::string& path = rawReader ? raw : picture;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) fuzz::Fail("cannot write the scratch file");
  if (size > 4) std::fwrite(data + 4, 1, size - 4, file);
  std::fclose(file);

  THeightGrid grid;
  try {
    std::string note;
    grid = ReadHeightmapFile(path, note);
  } catch (const ETerravelError&) {
    return 0;
  }
  fuzz::Check(grid.Width >= 2 && grid.Height >= 2, "a picture under 2 x 2 pixels was read");
  fuzz::Check(grid.Levels.size() == std::size_t(grid.Width) * std::size_t(grid.Height), "levels and size differ");
  for (float level : grid.Levels) fuzz::Check(level >= 0 && level <= 1, "a level outside 0 .. 1");
  if ((long long)grid.Width * grid.Height > kMostPixels) return 0;

  TGreedySettings settings;
  settings.SeamlessBorder = (data[0] & 2) != 0;
  settings.MaxTriangles = 2 + (data[1] | (data[2] << 8));
  settings.MaxError = data[3] / 1000.0;
  const TGreedyTerrain terrain = BuildGreedyTerrain(grid, settings);
  const TTerrainMesh& mesh = terrain.Mesh;
  const int triangles = int(mesh.Triangles.size());
  fuzz::Check(triangles <= settings.MaxTriangles, "more triangles than the budget");
  // One short only when a border point was needed and none was left, or the border is fixed.
  if (terrain.Stop == TGreedyStop::Budget)
    fuzz::Check(triangles >= settings.MaxTriangles - 1, "the budget stopped the insertion short of it");
  if (terrain.Stop == TGreedyStop::ErrorBound) fuzz::Check(terrain.MaxError <= settings.MaxError, "the error bound is broken");
  fuzz::Check(std::isfinite(terrain.MaxError) && std::isfinite(terrain.RmsError), "the error is no number");

  // Exact coverage: every triangle wound one way (ground), their areas adding up to the picture's.
  std::set<std::pair<int, int>> points;
  for (const TPixelPoint& p : mesh.Points) {
    fuzz::Check(p.Column >= 0 && p.Column < grid.Width && p.Row >= 0 && p.Row < grid.Height, "a point off the picture");
    fuzz::Check(points.insert({p.Column, p.Row}).second, "two points on one pixel");
  }
  for (auto corner : {std::pair{0, 0}, {grid.Width - 1, 0}, {0, grid.Height - 1}, {grid.Width - 1, grid.Height - 1}})
    fuzz::Check(points.count(corner) == 1, "a corner is missing");
  long long twiceArea = 0;
  for (const auto& t : mesh.Triangles) {
    const TPixelPoint &a = mesh.Points[std::size_t(t[0])], &b = mesh.Points[std::size_t(t[1])],
                      &c = mesh.Points[std::size_t(t[2])];
    const long long cross = (long long)(b.Column - a.Column) * (c.Row - a.Row) - (long long)(c.Column - a.Column) * (b.Row - a.Row);
    fuzz::Check(cross < 0, "a triangle is not wound as ground, or has no area");
    twiceArea -= cross;
  }
  fuzz::Check(twiceArea == 2LL * (grid.Width - 1) * (grid.Height - 1), "the triangles do not cover the picture");

  // In world coordinates, with the largest cell the picture takes: every coordinate finite.
  THeightmapOptions options;
  options.MaxTriangles = settings.MaxTriangles;
  options.SeamlessBorder = settings.SeamlessBorder;
  options.CellSize = 1e30f;
  try {
    const THeightmapTerrain world = BuildHeightmapTerrain(grid, options, -1e30f, 1e30f);
    for (const auto& node : world.Nodes)
      fuzz::Check(std::isfinite(node[0]) && std::isfinite(node[1]) && std::isfinite(node[2]), "a coordinate is no number");
  } catch (const EHeightmapOptionError&) {
  }
  return 0;
}
