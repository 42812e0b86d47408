#include "render/Shapes.h"

#include <algorithm>
#include <cmath>

#include "render/LineClip.h"

namespace terravel {

namespace {

// The rows a shape from top to bottom (fractional) covers inside the raster.
struct TRowRange {
  int First;
  int Last;
};

TRowRange VisibleRows(const TRaster& raster, double top, double bottom) {
  const double first = std::max(std::ceil(top), 0.0);
  const double last = std::min(std::floor(bottom), double(raster.Height() - 1));
  if (!(first <= last)) return {0, -1};
  return {static_cast<int>(first), static_cast<int>(last)};
}

// Widens [lo, hi] by the part of row y within the radius of (cx, cy).
void AddDiscRow(double cx, double cy, double radius, double y, double& lo, double& hi) {
  const double dy = y - cy;
  const double rest = radius * radius - dy * dy;
  if (rest < 0) return;
  const double half = std::sqrt(rest);
  lo = std::min(lo, cx - half);
  hi = std::max(hi, cx + half);
}

}  // namespace

void FillDisc(TRaster& raster, double cx, double cy, double radius, QRgb color) {
  const TRowRange rows = VisibleRows(raster, cy - radius, cy + radius);
  for (int y = rows.First; y <= rows.Last; ++y) {
    double lo = HUGE_VAL, hi = -HUGE_VAL;
    AddDiscRow(cx, cy, radius, y, lo, hi);
    raster.FillSpan(y, lo, hi, color);
  }
}

void FillCapsule(TRaster& raster, TScreenPoint a, TScreenPoint b, double radius, QRgb color) {
  // Only the part near the raster matters; the cut ends lie beyond the reach of the radius.
  const double margin = radius + 2;
  double x0 = a.X, y0 = a.Y, x1 = b.X, y1 = b.Y;
  if (!ClipSegmentToBox(x0, y0, x1, y1, -margin, -margin, raster.Width() - 1 + margin,
                        raster.Height() - 1 + margin)) {
    return;
  }
  const double dx = x1 - x0, dy = y1 - y0, length2 = dx * dx + dy * dy;
  const double reach = radius * std::sqrt(length2);
  const double perDy = dy != 0 ? 1 / dy : 0, perDx = dx != 0 ? 1 / dx : 0;
  const TRowRange rows = VisibleRows(raster, std::min(y0, y1) - radius, std::max(y0, y1) + radius);
  for (int y = rows.First; y <= rows.Last; ++y) {
    double lo = HUGE_VAL, hi = -HUGE_VAL;
    AddDiscRow(x0, y0, radius, y, lo, hi);
    AddDiscRow(x1, y1, radius, y, lo, hi);
    if (length2 > 0) {
      // The band along the segment: projection within the segment and distance within the radius.
      const double ry = y - y0;
      double bandLo = -HUGE_VAL, bandHi = HUGE_VAL;
      if (dy != 0) {
        const double p = (dx * ry - reach) * perDy, q = (dx * ry + reach) * perDy;
        bandLo = std::min(p, q);
        bandHi = std::max(p, q);
      } else if (std::abs(ry) > radius) {
        bandLo = HUGE_VAL;
      }
      if (dx != 0) {
        const double p = -ry * dy * perDx, q = (length2 - ry * dy) * perDx;
        bandLo = std::max(bandLo, std::min(p, q));
        bandHi = std::min(bandHi, std::max(p, q));
      } else if (ry * dy < 0 || ry * dy > length2) {
        bandLo = HUGE_VAL;
      }
      if (bandLo <= bandHi) {
        lo = std::min(lo, x0 + bandLo);
        hi = std::max(hi, x0 + bandHi);
      }
    }
    raster.FillSpan(y, lo, hi, color);
  }
}

void FillRoundedRect(TRaster& raster, long long left, long long top, long long right, long long bottom,
                     double radius, QRgb color) {
  if (left > right || top > bottom) return;
  const TRowRange rows = VisibleRows(raster, double(top) - radius, double(bottom) + radius);
  for (int y = rows.First; y <= rows.Last; ++y) {
    double grow = radius;
    if (y < top || y > bottom) {
      const double dy = y < top ? double(top - y) : double(y - bottom);
      grow = std::sqrt(std::max(radius * radius - dy * dy, 0.0));
    }
    raster.FillSpan(y, double(left) - grow, double(right) + grow, color);
  }
}

void FillTriangleDots(TRaster& raster, TScreenPoint a, TScreenPoint b, TScreenPoint c, QRgb color) {
  const TScreenPoint corners[3] = {a, b, c};
  const double top = std::min({a.Y, b.Y, c.Y}), bottom = std::max({a.Y, b.Y, c.Y});
  const TRowRange rows = VisibleRows(raster, top, bottom);
  for (int y = rows.First; y <= rows.Last; ++y) {
    // Only rows 0 and 2 of each 4-row cell carry dots.
    if ((y & 1) != 0) continue;
    double lo = HUGE_VAL, hi = -HUGE_VAL;
    for (int i = 0; i < 3; ++i) {
      const TScreenPoint& p = corners[i];
      const TScreenPoint& q = corners[(i + 1) % 3];
      if ((y < p.Y && y < q.Y) || (y > p.Y && y > q.Y)) continue;
      double x;
      if (p.Y == q.Y) {
        lo = std::min({lo, double(p.X), double(q.X)});
        hi = std::max({hi, double(p.X), double(q.X)});
        continue;
      }
      x = p.X + (double(y) - p.Y) * (double(q.X) - p.X) / (double(q.Y) - p.Y);
      lo = std::min(lo, x);
      hi = std::max(hi, x);
    }
    if (!(lo <= hi)) continue;
    const long long first = static_cast<long long>(std::ceil(std::max(lo, -1.0)));
    const long long last = static_cast<long long>(std::floor(std::min(hi, double(raster.Width()))));
    QRgb* row = raster.Row(y);
    const int phase = (y & 3) == 0 ? 0 : 4;
    // The first dot column at or after `first`.
    long long x = std::max<long long>(first, 0);
    x += ((phase - x) % 8 + 8) % 8;
    for (; x <= last && x < raster.Width(); x += 8) row[x] = color;
  }
}

void DrawCross(TRaster& raster, int cx, int cy, QRgb color) {
  if (cx < -6 || cy < -6 || cx > raster.Width() + 5 || cy > raster.Height() + 5) return;
  if (raster.Contains(cx - 5, cy - 4) && raster.Contains(cx + 5, cy + 4)) {
    // Wholly inside: two pixels on each diagonal per row, without a bounds test each.
    for (int i = -4; i <= 4; ++i) {
      QRgb* row = raster.Row(cy + i);
      row[cx + i] = row[cx + i + 1] = color;
      row[cx - i] = row[cx - i - 1] = color;
    }
    return;
  }
  for (int i = -4; i <= 4; ++i) {
    raster.SetClipped(cx + i, cy + i, color);
    raster.SetClipped(cx + i + 1, cy + i, color);
    raster.SetClipped(cx - i, cy + i, color);
    raster.SetClipped(cx - i - 1, cy + i, color);
  }
}

}  // namespace terravel
