#include "render/GradientLine.h"

#include <cmath>
#include <cstdlib>

#include "render/LineClip.h"

namespace terravel {

namespace {

// Cuts the segment to the raster; false when nothing of it is inside.
bool ClipToRaster(const TRaster& raster, TLineEnd& a, TLineEnd& b) {
  if (raster.Width() <= 0 || raster.Height() <= 0) return false;
  return ClipGradientLine(a, b, 0, 0, raster.Width() - 1, raster.Height() - 1);
}

// Walks the segment, already clipped to the raster; colorAt(x, y) gives each main pixel's colour.
// A 3-pixel line adds the two neighbours across its minor direction, in the same colour.
template <typename ColorAt>
void WalkLine(TRaster& raster, const TLineEnd& a, const TLineEnd& b, int width, ColorAt colorAt) {
  int x = static_cast<int>(a.X), y = static_cast<int>(a.Y);
  const int x1 = static_cast<int>(b.X), y1 = static_cast<int>(b.Y);
  const int dx = std::abs(x1 - x), dy = -std::abs(y1 - y);
  const int stepX = x < x1 ? 1 : -1, stepY = y < y1 ? 1 : -1;
  const bool xMajor = dx >= -dy;
  int error = dx + dy;
  for (;;) {
    const QRgb color = colorAt(x, y);
    raster.Set(x, y, color);
    if (width > 1) {
      if (xMajor) {
        raster.SetClipped(x, y - 1, color);
        raster.SetClipped(x, y + 1, color);
      } else {
        raster.SetClipped(x - 1, y, color);
        raster.SetClipped(x + 1, y, color);
      }
    }
    if (x == x1 && y == y1) break;
    const int doubled = 2 * error;
    if (doubled >= dy) {
      error += dy;
      x += stepX;
    }
    if (doubled <= dx) {
      error += dx;
      y += stepY;
    }
  }
}

}  // namespace

void DrawGradientLine(TRaster& raster, const TZColorScale& scale, TScreenPoint a, double za, TScreenPoint b,
                      double zb, int width) {
  TLineEnd from{a.X, a.Y, za}, to{b.X, b.Y, zb};
  if (!ClipToRaster(raster, from, to)) return;
  const double ex = double(to.X), ey = double(to.Y);
  const double z0 = from.Z, dz = to.Z - from.Z;
  if (from.X == to.X || from.Y == to.Y) {
    // Along a row or a column every distance is a whole number, which the square root gives
    // exactly: the same values without it.
    const double length = std::abs(ex - double(from.X)) + std::abs(ey - double(from.Y));
    if (length == 0) {
      WalkLine(raster, from, to, width, [&](int, int) { return scale(to.Z); });
      return;
    }
    const double perUnit = 1 / length;
    WalkLine(raster, from, to, width, [&](int x, int y) {
      const double t = 1 - (std::abs(ex - x) + std::abs(ey - y)) * perUnit;
      return scale(z0 + dz * t);
    });
    return;
  }
  const double length = std::hypot(ex - double(from.X), ey - double(from.Y));
  const double perUnit = 1 / length;
  WalkLine(raster, from, to, width, [&](int x, int y) {
    const double rx = ex - x, ry = ey - y;
    const double t = 1 - std::sqrt(rx * rx + ry * ry) * perUnit;
    return scale(z0 + dz * t);
  });
}

void DrawSolidLine(TRaster& raster, TScreenPoint a, TScreenPoint b, QRgb color, int width) {
  TLineEnd from{a.X, a.Y, 0}, to{b.X, b.Y, 0};
  if (!ClipToRaster(raster, from, to)) return;
  WalkLine(raster, from, to, width, [color](int, int) { return color; });
}

}  // namespace terravel
