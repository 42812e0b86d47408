#include "model/formats/HeightmapFormat.h"

#include <cstdio>
#include <utility>

#include "model/core/Errors.h"
#include "model/core/FileIO.h"
#include "model/editor/Editor.h"
#include "model/formats/FiniteCoordinates.h"
#include "model/heightmap/HeightmapErrors.h"
#include "model/heightmap/RawHeightmap.h"
#include "model/text/NumberText.h"

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

TExport WriteHeightmap(const TEditor& editor, const std::string& path, const TWriteOptions& options) {
  RequireFiniteCoordinates(editor.Nodes);
  const bool raw = IsRawHeightmapPath(path);
  if (!raw && options.EncodeHeightmap == nullptr)
    throw EHeightmapError("A heightmap picture must be encoded by the caller; write a .r16 file instead.");
  const THeightRaster raster = RasterizeGround(editor, options.Heightmap);
  std::string summary;
  if (options.Compare != nullptr) {
    const THeightDifference difference = CompareHeightmap(raster, *options.Compare);
    summary = "Difference from the picture: max " + FormatFixed(difference.Max, 0, '.') + ", mean " +
              FormatFixed(difference.Mean, 3, '.') + " (16-bit steps)";
  }
  WriteFileAtomically(path, raw ? RawHeightmapBytes(raster) : options.EncodeHeightmap(raster));

  const std::string size = std::to_string(raster.Width) + " x " + std::to_string(raster.Height);
  TExport report;
  report.Written = "a " + size + " heightmap";
  const std::string clamped = std::to_string(raster.Clamped) + " beyond the Z range, clamped";
  report.Summary = "Pixels outside the ground: " + std::to_string(raster.Outside) +
                   (raster.Clamped > 0 ? "; " + clamped : "") + (summary.empty() ? "" : "\n") + summary;
  std::string line = "LOG: Heightmap export: " + size + " pixels, Z " + FormatGeneral(raster.LowZ) + " to " +
                     FormatGeneral(raster.HighZ) + "; " + std::to_string(raster.Outside) +
                     " pixels outside the ground";
  if (raster.Clamped > 0) line += ", " + clamped;
  report.Log.push_back(line);
  if (raw && raster.Width != raster.Height) {
    report.Log.push_back("LOG: The raw heightmap is not square: whoever reads it must be told its size (" + size +
                         ").");
  }
  return report;
}

}  // namespace terravel
