#pragma once
// Polygon edges: lines coloured pixel by pixel along the Z gradient, and plain solid lines, both
// clipped to the raster first and then walked with Bresenham's method.
#include <QRgb>

#include "model/view/ViewTransform.h"
#include "render/Colors.h"
#include "render/Raster.h"

namespace terravel {

// From a (Z za) to b (Z zb), 1 or 3 pixels wide. Each pixel takes the gradient colour of
// za + (zb - za) * t, with t = 1 - (distance to the end) / (length of the visible part).
void DrawGradientLine(TRaster& raster, const TZColorScale& scale, TScreenPoint a, double za, TScreenPoint b,
                      double zb, int width);

// The same walk in one colour.
void DrawSolidLine(TRaster& raster, TScreenPoint a, TScreenPoint b, QRgb color, int width);

}  // namespace terravel
