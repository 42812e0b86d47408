#pragma once
// The heightmap as an exchange format: a greyscale picture (".png", ".r16", ".raw") becomes nodes
// and ground polygons appended to the document, a regular mesh or a terrain within a triangle
// budget (HeightmapImport.h); the ground becomes a 16-bit picture again (HeightmapExport.h).
#include <string>

#include "model/formats/ExchangeFormat.h"

namespace terravel {

// The format's reader: builds the terrain from the picture the caller decoded (options.Picture),
// or else from the raw 16-bit file at the path, with the heightmap options; black and white
// default to options.MinZ and MaxZ. The log gets the counts and the height error, the summary
// "Height error: max 12.500, mean 3.125". EHeightmapError for a picture or options that make no
// terrain, EHeightmapCancelled when the progress asks to stop.
TImport ReadHeightmap(const std::string& path, const TReadOptions& options);

// The format's writer: the ground rasterized with options.Heightmap, written raw and little-endian
// to a ".r16" or ".raw" path, or else as the picture options.EncodeHeightmap makes (EHeightmapError
// without one). The file is replaced only once the new one is complete; a refused document (no
// ground, a coordinate that is no finite number, a size out of range) writes nothing. The summary
// counts the pixels outside the ground (and those clamped to the Z range, if any) and, with
// options.Compare, the difference from that picture: "Pixels outside the ground: 12" and
// "Difference from the picture: max 0, mean 0.000 (16-bit steps)".
TExport WriteHeightmap(const TEditor& editor, const std::string& path, const TWriteOptions& options);

}  // namespace terravel
