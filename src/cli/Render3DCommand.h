#pragma once
// terravel-cli render --3d: the 3-D view's picture of a project without a display.
#include <ostream>

#include "cli/Arguments.h"

namespace terravel::cli {

// render FILE.tvp OUT.png --3d [--size WxH] [--camera AZIMUTH,ELEVATION[,DISTANCE]] [--exaggerate F]
int RunRender3D(const TArguments& arguments, std::ostream& out);

}  // namespace terravel::cli
