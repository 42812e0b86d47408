#include "model/formats/HeightmapFormat.h"

#include <cstdio>
#include <utility>

#include "model/core/Errors.h"
#include "model/heightmap/RawHeightmap.h"

namespace terravel {

TImport ReadHeightmap(const std::string& path, const TReadOptions& options) {
  THeightGrid raw;
  if (options.Picture == nullptr) {
    // Pictures are decoded outside the model (the model reads no picture format).
    Require(IsRawHeightmapPath(path), modules::FormatIE, "a heightmap picture must be decoded before it is read");
    raw = ReadRawHeightmap(path);
  }
  THeightmapTerrain terrain = BuildHeightmapTerrain(options.Picture != nullptr ? *options.Picture : raw,
                                                    options.Heightmap, options.MinZ, options.MaxZ, options.Progress);
  TImport import;
  import.Log.push_back("LOG: Heightmap import: " + HeightmapResultText(terrain.Result));
  char summary[96];
  std::snprintf(summary, sizeof summary, "Height error: max %.3f, mean %.3f", terrain.Result.MaxError,
                terrain.Result.MeanError);
  import.Summary = summary;
  // What ended a greedy terrain: the budget, the error bound, or a terrain that matches.
  if (const std::string stop = HeightmapStopText(terrain.Result); !stop.empty()) import.Summary += "\n" + stop;
  import.Delta = TAppendedMesh{std::move(terrain.Nodes), std::move(terrain.Triangles)};
  return import;
}

}  // namespace terravel
