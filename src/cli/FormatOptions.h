#pragma once
// The options of the exchange formats on the command line, by the kind a format names in its
// table row: the words that call them, their usage, and the read or write options they make.
#include <string>
#include <vector>

#include "cli/Arguments.h"
#include "model/formats/ExchangeFormat.h"
#include "model/heightmap/HeightmapErrors.h"

namespace terravel::cli {

// "--scale", "--cell", ...: the options of that kind taking a value, and those taking none.
std::vector<std::string> ValueOptionsOf(TFormatOptions kind);
std::vector<std::string> FlagsOf(TFormatOptions kind);
bool TakesOption(TFormatOptions kind, const std::string& option);
// What to give instead of an option of another kind (": use --cell"), or nothing.
std::string InsteadOf(TFormatOptions kind, const std::string& option);
// The options in the usage line: "[--scale S]"; empty for none.
std::string UsageOf(TFormatOptions kind);

// The options of that kind as the arguments give them; EUsageError for a value that does not fit.
TReadOptions ReadOptionsOf(TFormatOptions kind, const TArguments& arguments);
TWriteOptions WriteOptionsOf(TFormatOptions kind, const TArguments& arguments);
// The option a refused heightmap setting came from ("--cell").
const char* HeightmapOptionName(THeightmapField field);

}  // namespace terravel::cli
