#pragma once
// The mapping between world coordinates and viewport pixels, zoom and pan, the grid and snapping,
// "Zoom to fit", and the texts that report grid, position and scale. World X grows to the right and
// world Y downwards; PanX/PanY are screen pixels; Zoom is pixels per world unit.
#include <string>

#include "model/document/Records.h"

namespace terravel {

class TEditor;

struct TScreenPoint {
  int X = 0;
  int Y = 0;
  friend bool operator==(const TScreenPoint&, const TScreenPoint&) = default;
};

struct TWorldPoint {
  float X = 0;
  float Y = 0;
};

// Smallest zoom reachable by dragging, and the largest.
inline constexpr float kMinZoom = 0.01f;
inline constexpr float kMaxZoom = 20.0f;

// sx = Trunc(PanX + (W div 2 + x * Zoom)), formed in extended precision in this order. Points
// far outside the view are held within +-2^30 so that callers can clip them safely.
TScreenPoint WorldToScreen(const TEditor& editor, float x, float y);
// x = ((px - W div 2) - PanX) / Zoom; no rounding and no snapping.
TWorldPoint ScreenToWorld(const TEditor& editor, int px, int py);
// g * Round(v / g) (halves to even), stored as single precision; g must be > 0.
float SnapValue(float value, int grid);
// Where a node is drawn and hit-tested: a node moved away from its drag base is shown snapped
// when SnapToGrid is on and the grid is set.
TScreenPoint NodeScreenPosition(const TEditor& editor, const T3DCoord& node);

// Zoom by a vertical pointer movement (pixels, positive downwards), keeping the centre in place.
void ZoomBy(TEditor& editor, int dy);
// The picture moves against the delta.
void PanBy(TEditor& editor, float dx, float dy);
// When the world point lies outside the viewport, pans so that it stands in the middle (the zoom
// stays); true when the pan changed. Nothing is redrawn here.
bool PanToShow(TEditor& editor, float x, float y);
// Fits every node into the viewport with a 20 % margin; nothing happens without nodes.
void ZoomToFit(TEditor& editor);
// The one way the grid size changes: both axes. The caller publishes the change.
void SetGridSize(TEditor& editor, int grid);

// "Grid: %d unit%s".
std::string GridStatusText(int grid);
// Position and scale readouts: sign, at least five integer digits, four decimals (+00000.5000).
std::string FormatReadout(double value);

}  // namespace terravel
