#include "render/Coverage.h"

namespace terravel {

TCoverage::TCoverage(int width, int height)
    : width_(width), next_(static_cast<std::size_t>(width + 1) * static_cast<std::size_t>(height)) {
  for (std::size_t i = 0; i < next_.size(); ++i) next_[i] = static_cast<int>(i % std::size_t(width + 1));
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
    row[x] = color;
    links[x] = x + 1;
  }
}

}  // namespace terravel
