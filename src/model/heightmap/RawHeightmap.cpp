#include "model/heightmap/RawHeightmap.h"

#include <cmath>
#include <cstdint>

#include "model/core/FileIO.h"
#include "model/heightmap/HeightmapErrors.h"
#include "model/text/NumberText.h"

namespace terravel {

THeightGrid DecodeRawHeightmap(std::string_view bytes) {
  const std::size_t samples = bytes.size() / 2;
  std::size_t side = static_cast<std::size_t>(std::sqrt(static_cast<double>(samples)));
  while (side * side > samples) --side;
  while ((side + 1) * (side + 1) <= samples) ++side;
  if (bytes.size() % 2 != 0 || side * side != samples || side < 2) {
    throw EHeightmapError("The raw heightmap has " + std::to_string(bytes.size()) +
                          " bytes, which is no square picture of 16-bit samples (a 1024 x 1024 picture has "
                          "2097152 bytes).");
  }
  THeightGrid grid;
  grid.Width = grid.Height = static_cast<int>(side);
  grid.Levels.resize(samples);
  for (std::size_t i = 0; i < samples; ++i) {
    const auto low = static_cast<std::uint8_t>(bytes[2 * i]);
    const auto high = static_cast<std::uint8_t>(bytes[2 * i + 1]);
    grid.Levels[i] = static_cast<float>(low | (high << 8)) / 65535.0f;
  }
  return grid;
}

THeightGrid ReadRawHeightmap(const std::string& path) {
  return DecodeRawHeightmap(ReadFileBytes(path));
}

bool IsRawHeightmapPath(std::string_view path) {
  const auto dot = path.find_last_of('.');
  const auto slash = path.find_last_of('/');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return false;
  const std::string extension = ToLowerAscii(path.substr(dot + 1));
  return extension == "r16" || extension == "raw";
}

}  // namespace terravel
