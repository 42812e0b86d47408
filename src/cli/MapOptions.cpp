#include "cli/MapOptions.h"

#include <charconv>

namespace terravel::cli {

namespace {

double Positive(const std::string& option, const std::string& text) {
  const double value = ParseOptionNumber(option, text);
  if (!(value > 0)) throw EUsageError(option + " takes a number above 0, not \"" + text + "\"");
  return value;
}

}  // namespace

std::vector<std::string> MapValueOptions() {
  return {"--csg",  "--ceiling",      "--floor",        "--tile", "--max-brush-polygons",
          "--snap", "--side-texture", "--texture-scale"};
}

std::vector<std::string> MapFlags() {
  return {"--force", "--invisible-sides", "--room"};
}

std::string MapUsage() {
  return "[--csg subtract|add|semisolid] [--ceiling Z] [--floor Z] [--tile SIZE] [--max-brush-polygons N] "
         "[--snap G] [--force] [--side-texture NAME] [--invisible-sides] [--texture-scale S] [--room]";
}

TMapExportOptions MapOptionsOf(const TArguments& arguments) {
  TMapExportOptions options;
  if (auto csg = arguments.Value("--csg")) {
    if (*csg == "add") {
      options.Csg = TCsgMode::Add;
    } else if (*csg == "semisolid") {
      options.Csg = TCsgMode::Semisolid;
    } else if (*csg != "subtract") {
      throw EUsageError("--csg takes subtract, add or semisolid, not \"" + *csg + "\"");
    }
  }
  const bool subtract = options.Csg == TCsgMode::Subtract;
  if (auto ceiling = arguments.Value("--ceiling")) {
    if (!subtract) throw EUsageError("--ceiling applies to --csg subtract only: use --floor");
    options.Ceiling = ParseOptionNumber("--ceiling", *ceiling);
  }
  if (auto floor = arguments.Value("--floor")) {
    if (subtract) throw EUsageError("--floor applies to --csg add and semisolid only: use --ceiling");
    options.Floor = ParseOptionNumber("--floor", *floor);
  }
  if (auto tile = arguments.Value("--tile")) options.TileSize = Positive("--tile", *tile);
  if (auto limit = arguments.Value("--max-brush-polygons")) {
    int value = 0;
    const auto result = std::from_chars(limit->data(), limit->data() + limit->size(), value);
    if (result.ec != std::errc() || result.ptr != limit->data() + limit->size() || value < 8) {
      throw EUsageError("--max-brush-polygons takes a whole number from 8 up, not \"" + *limit + "\"");
    }
    options.MaxBrushPolygons = value;
  }
  if (auto snap = arguments.Value("--snap")) {
    options.Snap = ParseOptionNumber("--snap", *snap);
    if (!(options.Snap >= 0))
      throw EUsageError("--snap takes a grid of 0 (off) or more, not \"" + *snap + "\"");
  }
  if (auto texture = arguments.Value("--side-texture")) options.SideTexture = *texture;
  if (auto scale = arguments.Value("--texture-scale"))
    options.TextureScale = Positive("--texture-scale", *scale);
  options.Force = arguments.Has("--force");
  options.InvisibleSides = arguments.Has("--invisible-sides");
  options.Room = arguments.Has("--room");
  return options;
}

}  // namespace terravel::cli
