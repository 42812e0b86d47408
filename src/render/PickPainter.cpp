#include "render/PickPainter.h"

#include <algorithm>

#include "model/editor/Editor.h"
#include "render/Coverage.h"
#include "render/LabelPainter.h"
#include "render/PickCodes.h"
#include "render/SceneGeometry.h"
#include "render/Shapes.h"
#include "render/ViewFlags.h"

namespace terravel {

namespace {

// The label areas of a polygon, or its centre circle when it has no label; each shape is drawn
// with the wide pen of the outline, which rounds and grows it by half the pen width.
void DrawLabelAreas(TRaster& raster, const TViewFlags& flags, const TPoly& polygon, TScreenPoint centre,
                    int r, double pen, QRgb code, const TLabelPainter& labels) {
  const bool bold = polygon.Selected;
  const bool withName = (flags.ShowPolygonNames || polygon.Selected) && !polygon.Name.empty();
  // Unlike the picture, an empty texture has no label area here.
  const bool withTexture = (flags.ShowTextureNames || polygon.Selected) && !polygon.Texture.empty();
  const long long cx = centre.X, cy = centre.Y;
  // Rectangles (x1, y1)-(x2, y2) as the platform fills them: x2 and y2 are exclusive.
  const auto area = [&](long long x1, long long y1, long long x2, long long y2) {
    FillRoundedRect(raster, x1, y1, x2 - 1, y2 - 1, pen / 2, code);
  };
  // The area of a text centred on the polygon between the rows y1 and y2. One that lies where
  // everything is drawn already would change nothing: the text is measured only when a bound of
  // its width leaves room.
  const auto label = [&](const std::string& text, long long y1, long long y2) {
    const int bound = labels.WidthBound(text, bold);
    const double reach = pen / 2 + 1;
    if (bound >= 0 && raster.Hidden(double(cx - bound / 2) - reach, double(y1) - reach,
                                    double(cx + bound / 2) + reach, double(y2) + reach)) {
      return;
    }
    const int width = labels.TextSize(text, bold).width();
    area(cx - width / 2, y1, cx + width / 2, y2);
  };
  const int height = labels.TextHeight(bold);
  if (withName && withTexture) {
    label(PaddedLabel(polygon.Name), cy - height, cy);
    label(PaddedLabel(polygon.Texture), cy, cy + height);
  } else if (withName || withTexture) {
    label(PaddedLabel(withName ? polygon.Name : polygon.Texture), cy - height / 2, cy + height / 2);
  } else {
    const double reach = 3 * r + pen / 2 + 1;
    if (raster.Hidden(double(cx) - reach, double(cy) - reach, double(cx) + reach, double(cy) + reach)) return;
    FillBoxEllipse(raster, cx - 3 * r, cy - 3 * r, cx + 3 * r, cy + 3 * r, pen / 2, code);
  }
}

// From this many objects on, the pick buffer is drawn back to front: large meshes overlap many
// times over, while for small ones keeping track of the set pixels costs more than it saves.
constexpr int kBackToFrontFrom = 4096;

}  // namespace

void PaintPickBuffer(QImage& image, const TEditor& editor, const TViewFlags& flags,
                     const TLabelPainter& labels) {
  if (image.isNull()) return;
  TRaster raster(image);
  const std::vector<TScreenPoint> nodes = NodePositions(editor);
  const int r = MarkerRadius(editor.View.Zoom);
  const double pen = r + 9;
  const int polygons = std::min(editor.Polygons.Count(), kLastPickablePolygon + 1);
  std::array<TScreenPoint, 3> c;
  // Node circles keep the pen of the polygon pass: wide once a polygon has been drawn.
  bool widePen = false;
  for (int i = 0; i < polygons && !widePen; ++i) widePen = PolygonCorners(editor.Polygons[i], nodes, c);

  // A pen of width 1 stays inside the circle's box; a wide one grows it by half its width.
  const double grow = widePen ? pen / 2 : 0;
  const auto drawNode = [&](int i) {
    const TScreenPoint p = nodes[static_cast<std::size_t>(i)];
    // The circle of the box around p, centred half a pixel up and left of it.
    const double reach = 3 * r + grow + 1;
    if (raster.Hidden(p.X - reach, p.Y - reach, p.X + reach, p.Y + reach)) return;
    FillBoxEllipse(raster, p.X - 3LL * r, p.Y - 3LL * r, p.X + 3LL * r, p.Y + 3LL * r, grow,
                   0xFF000000 | NodePickCode(i));
  };
  const auto drawPolygon = [&](int i) {
    const TPoly& polygon = editor.Polygons[i];
    if (!PolygonCorners(polygon, nodes, c)) return;
    const QRgb code = 0xFF000000 | PolygonPickCode(i);
    DrawLabelAreas(raster, flags, polygon, PolygonCentre(c), r, pen, code, labels);
    // At a small zoom the node circles hide most outlines whole.
    const double reach = pen / 2 + 1;
    if (raster.Hidden(std::min({c[0].X, c[1].X, c[2].X}) - reach, std::min({c[0].Y, c[1].Y, c[2].Y}) - reach,
                      std::max({c[0].X, c[1].X, c[2].X}) + reach, std::max({c[0].Y, c[1].Y, c[2].Y}) + reach)) {
      return;
    }
    for (int k = 0; k < 3; ++k) FillCapsule(raster, c[k], c[(k + 1) % 3], pen / 2, code);
  };
  const int lastNode = std::min(editor.Nodes.Count() - 1, kLastPickableNode);
  const QRgb nothing = 0xFF000000 | kPickNothing;

  // Later objects win where they overlap: nodes over polygons, higher indices over lower ones.
  if (lastNode + 1 + polygons < kBackToFrontFrom) {
    raster.Fill(nothing);
    for (int i = 0; i < polygons; ++i) drawPolygon(i);
    for (int i = 0; i <= lastNode; ++i) drawNode(i);
    return;
  }
  // Drawn from the last to the first instead, each pixel is set once, by its winner.
  TCoverage coverage(raster.Width(), raster.Height());
  raster.DrawUnder(&coverage);
  for (int i = lastNode; i >= 0; --i) drawNode(i);
  for (int i = polygons - 1; i >= 0; --i) drawPolygon(i);
  // What nothing covers is background.
  for (int y = 0; y < raster.Height(); ++y) raster.FillSpan(y, 0, raster.Width() - 1, nothing);
  raster.DrawUnder(nullptr);
}

}  // namespace terravel
