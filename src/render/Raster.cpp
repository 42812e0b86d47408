#include "render/Raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace terravel {

TRaster::TRaster(QImage& image)
    : bits_(image.bits()), stride_(image.bytesPerLine()), width_(image.width()), height_(image.height()) {}

void TRaster::Fill(QRgb color) {
  for (int y = 0; y < height_; ++y) FillPixels(Row(y), static_cast<std::size_t>(width_), color);
}

void TRaster::FillRow(int y, long long left, long long right, QRgb color) {
  if (y < 0 || y >= height_) return;
  left = std::max<long long>(left, 0);
  right = std::min<long long>(right, width_ - 1);
  if (left > right) return;
  FillPixels(Row(y) + left, static_cast<std::size_t>(right - left + 1), color);
}

void TRaster::FillColumn(int x, long long top, long long bottom, QRgb color) {
  if (x < 0 || x >= width_) return;
  top = std::max<long long>(top, 0);
  bottom = std::min<long long>(bottom, height_ - 1);
  for (long long y = top; y <= bottom; ++y) Set(x, static_cast<int>(y), color);
}

void TRaster::FillSpan(int y, double left, double right, QRgb color) {
  if (!(left <= right) || y < 0 || y >= height_) return;
  // Clamp before converting, so that far-away bounds cannot overflow; within -1..width the
  // truncation plus one step is ceil and floor.
  left = std::max(left, -1.0);
  right = std::min(right, double(width_));
  int first = static_cast<int>(left), last = static_cast<int>(right);
  if (first < left) ++first;
  if (last > right) --last;
  first = std::max(first, 0);
  last = std::min(last, width_ - 1);
  if (first > last) return;
  if (coverage_ != nullptr) {
    coverage_->FillFree(Row(y), y, first, last, color);
  } else {
    FillPixels(Row(y) + first, static_cast<std::size_t>(last - first + 1), color);
  }
}

bool TRaster::Hidden(double left, double top, double right, double bottom) {
  if (coverage_ == nullptr || !(left <= right && top <= bottom)) return false;
  const double l = std::max(std::floor(left), 0.0), r = std::min(std::ceil(right), double(width_ - 1));
  const double t = std::max(std::floor(top), 0.0), b = std::min(std::ceil(bottom), double(height_ - 1));
  if (!(l <= r && t <= b)) return true;  // beside the picture
  return coverage_->BoxSet(static_cast<int>(l), static_cast<int>(t), static_cast<int>(r), static_cast<int>(b));
}

void TRaster::Blit(const uchar* bits, qsizetype stride, int width, int height, int x, int y) {
  const int left = std::max(x, 0), right = std::min<long long>(static_cast<long long>(x) + width, width_);
  const int top = std::max(y, 0), bottom = std::min<long long>(static_cast<long long>(y) + height, height_);
  if (left >= right || top >= bottom) return;
  const std::size_t bytes = static_cast<std::size_t>(right - left) * sizeof(QRgb);
  for (int row = top; row < bottom; ++row) {
    const auto* source = reinterpret_cast<const QRgb*>(bits + (row - y) * stride) + (left - x);
    std::memcpy(Row(row) + left, source, bytes);
  }
}

}  // namespace terravel
