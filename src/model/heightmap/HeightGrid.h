#pragma once
// A heightmap as the terrain builders see it: one level per pixel, 0 for black and 1 for white,
// row by row from the top of the picture. Whoever decodes the picture fills it; the model never
// sees the picture format.
#include <cstddef>
#include <vector>

namespace terravel {

struct THeightGrid {
  int Width = 0;
  int Height = 0;
  std::vector<float> Levels;  // Width * Height, row by row

  float At(int column, int row) const {
    return Levels[static_cast<std::size_t>(row) * static_cast<std::size_t>(Width) + static_cast<std::size_t>(column)];
  }
};

}  // namespace terravel
