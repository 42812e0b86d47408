#pragma once
// The heightmap as an exchange format: a greyscale picture (".png", ".r16", ".raw") becomes nodes
// and ground polygons appended to the document, a regular mesh or a terrain within a triangle
// budget (HeightmapImport.h).
#include <string>

#include "model/formats/ExchangeFormat.h"

namespace terravel {

// The format's reader: builds the terrain from the picture the caller decoded (options.Picture),
// or else from the raw 16-bit file at the path, with the heightmap options; black and white
// default to options.MinZ and MaxZ. The log gets the counts and the height error, the summary
// "Height error: max 12.500, mean 3.125". EHeightmapError for a picture or options that make no
// terrain, EHeightmapCancelled when the progress asks to stop.
TImport ReadHeightmap(const std::string& path, const TReadOptions& options);

}  // namespace terravel
