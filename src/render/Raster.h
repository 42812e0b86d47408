#pragma once
// Direct pixel access to a 32-bit off-screen picture. Every write is clipped to the picture, so
// the drawing code can hand in shapes that reach far beyond it.
#include <QImage>
#include <QRgb>

#include <cstddef>
#include <cstring>

#include "render/Coverage.h"

namespace terravel {

// Sets n pixels from p on, four at a time where it can: spans in the pick buffer are short and
// many, and plain loops are not vectorised at -O2.
inline void FillPixels(QRgb* p, std::size_t n, QRgb color) {
  const QRgb quad[4] = {color, color, color, color};
  for (; n >= 4; n -= 4, p += 4) std::memcpy(p, quad, sizeof quad);
  for (; n > 0; --n) *p++ = color;
}

class TRaster {
 public:
  // The image must be Format_RGB32. Its pixel memory is taken once: keep the image unshared and
  // unresized while the raster is in use.
  explicit TRaster(QImage& image);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  QRgb* Row(int y) { return reinterpret_cast<QRgb*>(bits_ + static_cast<qsizetype>(y) * stride_); }
  const QRgb* Row(int y) const {
    return reinterpret_cast<const QRgb*>(bits_ + static_cast<qsizetype>(y) * stride_);
  }

  QRgb At(int x, int y) const { return Row(y)[x]; }
  void Set(int x, int y, QRgb color) { Row(y)[x] = color; }
  void SetClipped(int x, int y, QRgb color) {
    if (Contains(x, y)) Set(x, y, color);
  }

  void Fill(QRgb color);
  // Pixels left..right (inclusive) of row y, as far as they exist.
  void FillRow(int y, long long left, long long right, QRgb color);
  // Pixels top..bottom (inclusive) of column x, as far as they exist.
  void FillColumn(int x, long long top, long long bottom, QRgb color);
  // The pixels whose centres lie within left..right of row y (fractional bounds). With a
  // coverage, only the pixels it still has free.
  void FillSpan(int y, double left, double right, QRgb color);
  // Makes FillSpan draw under what is already there (the other writes ignore it); null ends that.
  void DrawUnder(TCoverage* coverage) { coverage_ = coverage; }
  // While drawing under: whether everything of the box (fractional bounds) is drawn already, so
  // that a shape within it would change nothing.
  bool Hidden(double left, double top, double right, double bottom);
  // Copies an RGB32 image with its top-left corner at (x, y).
  void Blit(const QImage& image, int x, int y) {
    Blit(image.constBits(), image.bytesPerLine(), image.width(), image.height(), x, y);
  }
  // The same from RGB32 pixel memory of the given size and line length in bytes.
  void Blit(const uchar* bits, qsizetype stride, int width, int height, int x, int y);

 private:
  uchar* bits_;
  qsizetype stride_;
  int width_;
  int height_;
  TCoverage* coverage_ = nullptr;
};

}  // namespace terravel
