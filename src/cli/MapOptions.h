#pragma once
// The command line's options of the Unreal map export.
#include <string>
#include <vector>

#include "cli/Arguments.h"
#include "model/formats/MapExportOptions.h"

namespace terravel::cli {

std::vector<std::string> MapValueOptions();
std::vector<std::string> MapFlags();
std::string MapUsage();

// The options as given; EUsageError for a value that does not fit or an option of the other
// CSG mode.
TMapExportOptions MapOptionsOf(const TArguments& arguments);

}  // namespace terravel::cli
