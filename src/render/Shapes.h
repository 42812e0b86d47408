#pragma once
// Filled shapes written straight into a raster, scanline by scanline. Coordinates are pixel
// positions (a shape centred on (x, y) is centred on that pixel); anything may lie far outside the
// raster: only the visible rows and columns are visited.
#include <QRgb>

#include "model/view/ViewTransform.h"
#include "render/Raster.h"

namespace terravel {

// Pixels within the radius of the centre.
void FillDisc(TRaster& raster, double cx, double cy, double radius, QRgb color);

// Pixels within the radius of the segment: a line of width 2 * radius with round ends, the shape
// of a wide round pen.
void FillCapsule(TRaster& raster, TScreenPoint a, TScreenPoint b, double radius, QRgb color);

// The rectangle of pixels left..right x top..bottom (inclusive) grown by the radius with round
// corners: a filled rectangle drawn with a wide round pen.
void FillRoundedRect(TRaster& raster, long long left, long long top, long long right, long long bottom,
                     double radius, QRgb color);

// The triangle's pixels that belong to the dot pattern marking selected polygons (two dots in
// every 8 x 4 cell, at (0, 0) and (4, 2), fixed to the raster); the others stay as they are.
void FillTriangleDots(TRaster& raster, TScreenPoint a, TScreenPoint b, TScreenPoint c, QRgb color);

// The diagonal cross at a polygon's centre without labels, 2 pixels wide: (cx - 4, cy - 4) to
// (cx + 4, cy + 4) and (cx + 4, cy - 4) to (cx - 4, cy + 4).
void DrawCross(TRaster& raster, int cx, int cy, QRgb color);

}  // namespace terravel
