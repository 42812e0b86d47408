#pragma once
// Heightmap pictures: reading one for the import (PNG or any picture Qt reads through QImage, raw
// 16-bit files through the model), and the export's 16-bit PNG.
#include <string>

#include "model/heightmap/HeightGrid.h"
#include "model/heightmap/HeightmapExport.h"

namespace terravel {

// 8-bit pictures give 256 levels, 16-bit ones (Format_Grayscale16 and deeper colour) keep all
// 65536. A colour picture is converted to greyscale and `note` says so; otherwise it is left
// empty. EHeightmapError for a file that is no readable picture.
THeightGrid ReadHeightmapFile(const std::string& path, std::string& note);

// The raster as the bytes of a 16-bit greyscale PNG, the first row on top.
std::string EncodeHeightmapPng(const THeightRaster& raster);

}  // namespace terravel
