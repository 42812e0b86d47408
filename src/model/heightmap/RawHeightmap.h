#pragma once
// Raw 16-bit heightmaps (".r16", ".raw"): little-endian unsigned samples, row by row from the top,
// of a square picture whose side follows from the file size.
#include <string>
#include <string_view>

#include "model/heightmap/HeightGrid.h"

namespace terravel {

// EHeightmapError when the size is no square number of 16-bit samples (or below 2 x 2).
THeightGrid DecodeRawHeightmap(std::string_view bytes);

// DecodeRawHeightmap on the file's content; EFileError/EStreamError when it cannot be read.
THeightGrid ReadRawHeightmap(const std::string& path);

// Whether the path's extension names a raw heightmap (".r16" or ".raw", any letter case).
bool IsRawHeightmapPath(std::string_view path);

}  // namespace terravel
