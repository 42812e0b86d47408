#include "render/GridLines.h"

#include <cmath>

#include "model/editor/Editor.h"
#include "model/view/ViewTransform.h"
#include "render/Colors.h"
#include "render/Rounding.h"

namespace terravel {

namespace {

using Extended = long double;

// Beyond this, neighbouring line numbers cannot be told apart in world coordinates anyway.
constexpr Extended kLargestLine = 1e15L;
// Only line 0 is divisible by 2^L for levels this high.
constexpr int kHighestLevel = 48;

// Calls draw(k) for every drawn line number k in first..last.
template <typename Draw>
void ForEachLine(Extended first, Extended last, int level, Draw draw) {
  if (level > kHighestLevel) {
    if (first <= 0 && 0 <= last) draw(0);
    return;
  }
  if (!(std::abs(first) <= kLargestLine && std::abs(last) <= kLargestLine)) return;
  const long long from = static_cast<long long>(first), to = static_cast<long long>(last);
  const long long step = level <= 0 ? 1 : 1LL << level;
  // The first multiple of the step at or after `from` (from may be negative).
  long long k = from / step * step;
  if (k < from) k += step;
  for (; k <= to; k += step) draw(k);
}

QRgb LineColor(long long k) {
  return k % 8 == 0 ? colors::kGrey : colors::kLightGrey;
}

}  // namespace

int GridLevel(int grid, float zoom) {
  const Extended level = -RoundHalfEven(std::log2(Extended(grid) * zoom * 0.125L));
  if (std::isnan(level)) return 0;
  return static_cast<int>(std::clamp<Extended>(level, -1000, 1000));
}

void DrawGrid(TRaster& raster, const TEditor& editor) {
  const TViewState& v = editor.View;
  const int g = editor.Values.GridX;
  if (g <= 0 || !(v.Zoom > 0) || !std::isfinite(v.Zoom)) return;
  const int level = GridLevel(g, v.Zoom);
  const Extended zoom = v.Zoom, step = Extended(g) * zoom;
  const Extended halfW = editor.View.Size.Width / 2, halfH = editor.View.Size.Height / 2;
  const int w = raster.Width(), h = raster.Height();

  ForEachLine(-RoundHalfEven(halfW / zoom / g + v.PanX / step),
              RoundHalfEven(halfW / zoom / g - v.PanX / step), level, [&](long long k) {
                const int x = WorldToScreen(editor, static_cast<float>(Extended(k) * g), 0).X;
                raster.FillColumn(x, 0, h - 1, LineColor(k));
              });
  ForEachLine(-RoundHalfEven(halfH / zoom / g + v.PanY / step),
              RoundHalfEven(halfH / zoom / g - v.PanY / step), level, [&](long long k) {
                const int y = WorldToScreen(editor, 0, static_cast<float>(Extended(k) * g)).Y;
                raster.FillRow(y, 0, w - 1, LineColor(k));
              });
}

}  // namespace terravel
