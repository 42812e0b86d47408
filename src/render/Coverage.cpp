#include "render/Coverage.h"

#include <numeric>

#include "render/Raster.h"

namespace terravel {

TCoverage::TCoverage(int width, int height)
    : width_(width), next_(static_cast<std::size_t>(width + 1) * static_cast<std::size_t>(height)) {
  for (auto row = next_.begin(); row != next_.end(); row += width + 1) std::iota(row, row + width + 1, 0);
}

int TCoverage::NextFree(int y, int x) {
  int* links = next_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_ + 1);
  int free = x;
  while (links[free] != free) free = links[free];
  while (links[x] != free) {
    const int later = links[x];
    links[x] = free;
    x = later;
  }
  return free;
}

bool TCoverage::BoxSet(int left, int top, int right, int bottom) {
  for (int y = top; y <= bottom; ++y) {
    if (NextFree(y, left) <= right) return false;
  }
  return true;
}

void TCoverage::FillFree(QRgb* row, int y, int first, int last, QRgb color) {
  int* links = next_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_ + 1);
  for (int x = NextFree(y, first); x <= last; x = NextFree(y, x + 1)) {
    // A run of free pixels is set in one go and linked past its end.
    int end = x;
    while (end < last && links[end + 1] == end + 1) ++end;
    FillPixels(row + x, static_cast<std::size_t>(end - x + 1), color);
    for (int i = x; i <= end; ++i) links[i] = end + 1;
    x = end;
  }
}

}  // namespace terravel
