#include "cli/FormatOptions.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "cli/MapOptions.h"

namespace terravel::cli {

namespace {

// A whole number from `least` up, for --step and --max-triangles.
int ParseCount(const std::string& option, const std::string& text, int least) {
  int value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size() || value < least) {
    throw EUsageError(option + " takes a whole number from " + std::to_string(least) + " up, not \"" + text + "\"");
  }
  return value;
}

// The options of a heightmap import as given; what depends on the picture is checked with it.
THeightmapOptions HeightmapOptionsOf(const TArguments& arguments) {
  THeightmapOptions options;
  if (auto cell = arguments.Value("--cell")) {
    options.CellSize = ParseOptionNumber("--cell", *cell);
    if (options.CellSize <= 0) throw EUsageError("--cell takes a size above 0");
  }
  if (auto z = arguments.Value("--z")) {
    const auto comma = z->find(',');
    if (comma == std::string::npos) throw EUsageError("--z takes LOW,HIGH");
    options.LowZ = ParseOptionNumber("--z", z->substr(0, comma));
    options.HighZ = ParseOptionNumber("--z", z->substr(comma + 1));
  }
  if (auto step = arguments.Value("--step")) options.Step = ParseCount("--step", *step, 1);
  if (auto budget = arguments.Value("--max-triangles")) options.MaxTriangles = ParseCount("--max-triangles", *budget, 2);
  if (auto bound = arguments.Value("--max-error")) {
    options.MaxError = ParseOptionNumber("--max-error", *bound);
    if (*options.MaxError < 0) throw EUsageError("--max-error takes a number of 0 or more");
  }
  options.SeamlessBorder = arguments.Has("--seamless-border");
  return options;
}

THeightmapExportOptions HeightmapExportOptionsOf(const TArguments& arguments) {
  THeightmapExportOptions options;
  const auto size = arguments.Value("--size"), pixel = arguments.Value("--pixel");
  if (size && pixel) throw EUsageError("give --size or --pixel, not both");
  if (size) {
    // Each side from 2 up; the model checks the upper limits.
    const TPixelSize pixels = ParseSize(*size, {2, std::numeric_limits<int>::max(), std::numeric_limits<long long>::max()},
                                        "--size takes WIDTHxHEIGHT, each 2 or more, not \"" + *size + "\"");
    options.Width = pixels.Width;
    options.Height = pixels.Height;
  }
  if (pixel) {
    options.PixelSize = ParseOptionNumber("--pixel", *pixel);
    if (!(options.PixelSize > 0)) throw EUsageError("--pixel takes a size above 0");
  }
  if (auto range = arguments.Value("--range")) {
    if (*range == "terrain") {
      options.Range = THeightRange::Terrain;
    } else if (*range != "project") {
      throw EUsageError("--range takes project or terrain, not \"" + *range + "\"");
    }
  }
  return options;
}

}  // namespace

std::vector<std::string> ValueOptionsOf(TFormatOptions kind) {
  switch (kind) {
    case TFormatOptions::Scale:
      return {"--scale"};
    case TFormatOptions::Heightmap:
      return {"--cell", "--z", "--step", "--max-triangles", "--max-error"};
    case TFormatOptions::Raster:
      return {"--size", "--pixel", "--range", "--compare"};
    case TFormatOptions::Map:
      return MapValueOptions();
    case TFormatOptions::None:
    case TFormatOptions::Axes:
      break;
  }
  return {};
}

std::vector<std::string> FlagsOf(TFormatOptions kind) {
  if (kind == TFormatOptions::Axes) return {"--z-up"};
  if (kind == TFormatOptions::Heightmap) return {"--seamless-border"};
  if (kind == TFormatOptions::Map) return MapFlags();
  return {};
}

bool TakesOption(TFormatOptions kind, const std::string& option) {
  const auto values = ValueOptionsOf(kind), flags = FlagsOf(kind);
  return std::find(values.begin(), values.end(), option) != values.end() ||
         std::find(flags.begin(), flags.end(), option) != flags.end();
}

std::string InsteadOf(TFormatOptions kind, const std::string& option) {
  // The size of a pixel scales a heightmap.
  if (kind == TFormatOptions::Heightmap && option == "--scale") return ": use --cell";
  if (kind == TFormatOptions::Raster && option == "--scale") return ": use --pixel or --size";
  return {};
}

std::string UsageOf(TFormatOptions kind) {
  switch (kind) {
    case TFormatOptions::Scale:
      return "[--scale S]";
    case TFormatOptions::Heightmap:
      return "[--cell SIZE] [--z LOW,HIGH] [--step N] [--max-triangles N] [--max-error E] [--seamless-border]";
    case TFormatOptions::Axes:
      return "[--z-up]";
    case TFormatOptions::Raster:
      return "[--size WxH | --pixel SIZE] [--range project|terrain] [--compare ORIGINAL.png]";
    case TFormatOptions::Map:
      return MapUsage();
    case TFormatOptions::None:
      break;
  }
  return {};
}

TReadOptions ReadOptionsOf(TFormatOptions kind, const TArguments& arguments) {
  TReadOptions options;
  if (kind == TFormatOptions::Scale) {
    if (auto scale = arguments.Value("--scale")) options.Scale = ParseScale(*scale);
  } else if (kind == TFormatOptions::Heightmap) {
    options.Heightmap = HeightmapOptionsOf(arguments);
  }
  return options;
}

const char* HeightmapOptionName(THeightmapField field) {
  switch (field) {
    case THeightmapField::CellSize:
      return "--cell";
    case THeightmapField::LowZ:
    case THeightmapField::HighZ:
      return "--z";
    case THeightmapField::Step:
      return "--step";
    case THeightmapField::MaxTriangles:
      return "--max-triangles";
    case THeightmapField::MaxError:
      break;
  }
  return "--max-error";
}

TWriteOptions WriteOptionsOf(TFormatOptions kind, const TArguments& arguments) {
  TWriteOptions options;
  if (kind == TFormatOptions::Scale) {
    if (auto scale = arguments.Value("--scale")) options.Scale = ParseScale(*scale);
  } else if (kind == TFormatOptions::Axes) {
    options.ZUp = arguments.Has("--z-up");
  } else if (kind == TFormatOptions::Raster) {
    options.Heightmap = HeightmapExportOptionsOf(arguments);
  } else if (kind == TFormatOptions::Map) {
    options.Map = MapOptionsOf(arguments);
  }
  return options;
}

}  // namespace terravel::cli
