#include "model/view/ViewTransform.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "model/editor/Editor.h"
#include "model/text/NumberText.h"

namespace terravel {

namespace {

using Extended = long double;

constexpr Extended kScreenLimit = 1073741824.0L;  // 2^30

int TruncToScreen(Extended value) {
  if (std::isnan(value)) return 0;
  value = std::clamp(value, -kScreenLimit, kScreenLimit);
  // Truncating an extended value switches the rounding mode of the x87 unit twice, which costs
  // more than the rest of the transform; drawing transforms every node. Rounding in the current
  // mode lands within one of the value, and one step towards zero gives the same result.
  long long whole = std::llrint(value);
  if (value >= 0 && Extended(whole) > value) --whole;
  if (value < 0 && Extended(whole) < value) ++whole;
  return static_cast<int>(whole);
}

}  // namespace

TScreenPoint WorldToScreen(const TEditor& editor, float x, float y) {
  const TViewState& v = editor.View;
  const Extended halfW = editor.View.Size.Width / 2, halfH = editor.View.Size.Height / 2;
  const Extended sx = Extended(v.PanX) + (halfW + Extended(x) * Extended(v.Zoom));
  const Extended sy = Extended(v.PanY) + (halfH + Extended(y) * Extended(v.Zoom));
  return {TruncToScreen(sx), TruncToScreen(sy)};
}

TWorldPoint ScreenToWorld(const TEditor& editor, int px, int py) {
  const TViewState& v = editor.View;
  const Extended x = ((Extended(px) - editor.View.Size.Width / 2) - Extended(v.PanX)) / Extended(v.Zoom);
  const Extended y = ((Extended(py) - editor.View.Size.Height / 2) - Extended(v.PanY)) / Extended(v.Zoom);
  return {static_cast<float>(x), static_cast<float>(y)};
}

float SnapValue(float value, int grid) {
  const Extended steps = std::nearbyint(Extended(value) / Extended(grid));
  // The product is formed wide: a huge coordinate must not wrap around.
  return static_cast<float>(steps * Extended(grid));
}

TScreenPoint NodeScreenPosition(const TEditor& editor, const T3DCoord& node) {
  const TProjectValues& v = editor.Values;
  if (editor.SnapToGrid && v.GridX > 0 && v.GridY > 0) {
    const float x = node.X != node.BaseX ? SnapValue(node.X, v.GridX) : node.X;
    const float y = node.Y != node.BaseY ? SnapValue(node.Y, v.GridY) : node.Y;
    return WorldToScreen(editor, x, y);
  }
  return WorldToScreen(editor, node.X, node.Y);
}

void ZoomBy(TEditor& editor, int dy) {
  if (dy == 0) return;
  TViewState& v = editor.View;
  const Extended step = std::fabs(Extended(dy)) * Extended(v.Zoom) * 0.05L;  // no int overflow
  Extended zoom = dy > 0 ? Extended(v.Zoom) + step : Extended(v.Zoom) - step;
  if (zoom < kMinZoom) zoom = kMinZoom;
  if (zoom > kMaxZoom) zoom = kMaxZoom;
  const float newZoom = static_cast<float>(zoom);
  v.PanX = static_cast<float>(Extended(newZoom) / Extended(v.Zoom) * Extended(v.PanX));
  v.PanY = static_cast<float>(Extended(newZoom) / Extended(v.Zoom) * Extended(v.PanY));
  if (newZoom != v.Zoom) {
    v.Zoom = newZoom;
    editor.Host().ViewChanged(false);
  }
}

void PanBy(TEditor& editor, float dx, float dy) {
  editor.View.PanX -= dx;
  editor.View.PanY -= dy;
}

bool PanToShow(TEditor& editor, float x, float y) {
  const TScreenPoint at = WorldToScreen(editor, x, y);
  if (at.X >= 0 && at.X < editor.View.Size.Width && at.Y >= 0 && at.Y < editor.View.Size.Height) return false;
  TViewState& v = editor.View;
  const float panX = static_cast<float>(-(Extended(x) * Extended(v.Zoom)));
  const float panY = static_cast<float>(-(Extended(y) * Extended(v.Zoom)));
  if (!std::isfinite(panX) || !std::isfinite(panY)) return false;
  v.PanX = panX;
  v.PanY = panY;
  return true;
}

void ZoomToFit(TEditor& editor) {
  if (editor.Nodes.Empty()) return;
  TViewState& v = editor.View;
  float minX = FLT_MAX, maxX = -FLT_MAX, minY = FLT_MAX, maxY = -FLT_MAX;
  for (const T3DCoord& node : editor.Nodes) {
    minX = std::min(minX, node.X);
    maxX = std::max(maxX, node.X);
    minY = std::min(minY, node.Y);
    maxY = std::max(maxY, node.Y);
  }
  // Whole world units; wide so that coordinates near the float limit cannot overflow.
  const Extended left = std::trunc(Extended(minX)), right = std::ceil(Extended(maxX));
  const Extended top = std::trunc(Extended(minY)), bottom = std::ceil(Extended(maxY));
  const Extended dx = std::max<Extended>(right - left, 1), dy = std::max<Extended>(bottom - top, 1);

  // A window not laid out yet counts as one pixel, so the zoom stays finite and positive.
  const Extended width = std::max(editor.View.Size.Width, 1), height = std::max(editor.View.Size.Height, 1);
  const Extended halfW = std::max<Extended>(std::trunc(width / Extended(v.Zoom) * 0.5L), 1);
  const Extended halfH = std::max<Extended>(std::trunc(height / Extended(v.Zoom) * 0.5L), 1);

  const int grid = editor.Values.GridX;
  Extended padX, padY;
  if (grid <= 0) {
    padX = std::nearbyint(dx * 1.2L);
    padY = std::nearbyint(dy * 1.2L);
  } else {
    padX = std::trunc(std::ceil(dx * 1.2L) / grid) * grid;
    padY = std::trunc(std::ceil(dy * 1.2L) / grid) * grid;
    // A grid coarser than the padded extent would leave nothing to divide by: one step at least.
    padX = std::max<Extended>(padX, grid);
    padY = std::max<Extended>(padY, grid);
  }

  Extended zoom = (dx / dy) / (halfW / halfH) >= 1 ? width / padX : height / padY;
  float newZoom = static_cast<float>(zoom);
  if (!(newZoom > 0)) newZoom = FLT_MIN;
  if (!std::isfinite(newZoom)) newZoom = FLT_MAX;
  v.Zoom = newZoom;

  const Extended cx = left - std::trunc((padX - dx) / 2) + std::trunc(padX / 2);
  const Extended cy = top - std::trunc((padY - dy) / 2) + std::trunc(padY / 2);
  v.PanX = static_cast<float>(-(cx * Extended(v.Zoom)));
  v.PanY = static_cast<float>(-(cy * Extended(v.Zoom)));
  editor.Host().ViewChanged(true);
}

void SetGridSize(TEditor& editor, int grid) {
  if (grid == editor.Values.GridX) return;
  editor.Values.GridX = grid;
  editor.Values.GridY = grid;
}

std::string GridStatusText(int grid) {
  return "Grid: " + std::to_string(grid) + " unit" + (grid == 1 ? "" : "s");
}

std::string FormatReadout(double value) {
  std::string text = FormatFixed(value, 4);
  bool negative = false;
  if (!text.empty() && text[0] == '-') {
    negative = true;
    text.erase(0, 1);
  }
  const auto separator = text.find(DecimalSeparator());
  const int position = static_cast<int>(separator == std::string::npos ? text.size() : separator) + 1;
  if (6 - position > 0) text.insert(0, static_cast<std::size_t>(6 - position), '0');
  return (negative ? "-" : "+") + text;
}

}  // namespace terravel
