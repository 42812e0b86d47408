#pragma once
// Reading a heightmap file for the import: PNG (or any picture Qt reads) through QImage, raw 16-bit
// files through the model.
#include <string>

#include "model/heightmap/HeightGrid.h"

namespace terravel {

// 8-bit pictures give 256 levels, 16-bit ones (Format_Grayscale16 and deeper colour) keep all
// 65536. A colour picture is converted to greyscale and `note` says so; otherwise it is left
// empty. EHeightmapError for a file that is no readable picture.
THeightGrid ReadHeightmapFile(const std::string& path, std::string& note);

}  // namespace terravel
