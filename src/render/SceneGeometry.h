#pragma once
// What the picture and the pick buffer share: where nodes and polygon centres are, how large node
// markers are, and the texts of the labels.
#include <array>
#include <string>
#include <vector>

#include "model/view/ViewTransform.h"
#include "render/Raster.h"

namespace terravel {

class TEditor;
struct TPoly;

// The NodeScreenPosition of every node, in list order.
std::vector<TScreenPoint> NodePositions(const TEditor& editor);

// The three corners of a polygon on the screen; false when a corner names no node.
bool PolygonCorners(const TPoly& polygon, const std::vector<TScreenPoint>& nodes,
                    std::array<TScreenPoint, 3>& corners);

// Round((x1 + x2 + x3) / 3), Round((y1 + y2 + y3) / 3).
TScreenPoint PolygonCentre(const std::array<TScreenPoint, 3>& corners);

// Round(3 * Zoom) limited to 2..6: the radius of a node marker in the picture (doubled when
// selected) and the unit of the pick shapes.
int MarkerRadius(float zoom);

// An ellipse given by its bounding box as the platform draws it (left/top inclusive,
// right/bottom exclusive), grown by `grow` pixels all round.
void FillBoxEllipse(TRaster& raster, long long left, long long top, long long right, long long bottom,
                    double grow, QRgb color);

// " %s ".
inline std::string PaddedLabel(const std::string& text) {
  return " " + text + " ";
}

}  // namespace terravel
