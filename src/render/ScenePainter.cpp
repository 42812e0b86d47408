#include "render/ScenePainter.h"

#include <QPainter>

#include <charconv>
#include <cmath>
#include <cstdio>

#include "model/document/Orientation.h"
#include "model/editor/Editor.h"
#include "render/BackgroundPicture.h"
#include "render/Colors.h"
#include "render/GradientLine.h"
#include "render/GridLines.h"
#include "render/LabelPainter.h"
#include "render/Rounding.h"
#include "render/SceneGeometry.h"
#include "render/Shapes.h"
#include "render/ViewFlags.h"

namespace terravel {

namespace {

// " %d " with Round(Z); heights beyond 64-bit integers are written in full.
std::string ZLabel(float z) {
  if (!std::isfinite(z)) return std::isnan(z) ? " NaN " : (z < 0 ? " -Inf " : " Inf ");
  const double rounded = RoundHalfEven(double(z));
  char text[64] = " ";
  char* end;
  if (std::abs(rounded) < 9e18) {
    end = std::to_chars(text + 1, text + sizeof text - 2, static_cast<long long>(rounded)).ptr;
  } else {
    end = text + 1 + std::snprintf(text + 1, sizeof text - 2, "%.0f", rounded);
  }
  *end++ = ' ';
  return std::string(text, end);
}

// " Texture [Ground] ", or " [Ground] " without a texture; written into `text`, which a picture
// reuses for every polygon.
const std::string& TextureLabel(std::string& text, const TPoly& polygon, const TEditor& editor) {
  const bool ground =
      IsGround(editor.Nodes[polygon.Node1], editor.Nodes[polygon.Node2], editor.Nodes[polygon.Node3]);
  text.assign(" ");
  if (!polygon.Texture.empty()) text.append(polygon.Texture).append(" ");
  text.append("[").append(OrientationWord(ground)).append("] ");
  return text;
}

void DrawOriginMarker(TRaster& raster, const TEditor& editor) {
  const TScreenPoint origin = WorldToScreen(editor, 0, 0);
  FillBoxEllipse(raster, origin.X - 2LL, origin.Y - 2LL, origin.X + 3LL, origin.Y + 3LL, 0, colors::kGrey);
  FillBoxEllipse(raster, origin.X - 1LL, origin.Y - 1LL, origin.X + 2LL, origin.Y + 2LL, 0, colors::kSilver);
}

// Whether a shape within the corners' box, grown by the margin, shows above the labels (see
// TLabelPainter::ShapeShows).
bool CornersShow(TLabelPainter& labels, const std::array<TScreenPoint, 3>& c, int margin) {
  return labels.ShapeShows(std::min({c[0].X, c[1].X, c[2].X}) - 1LL * margin,
                           std::min({c[0].Y, c[1].Y, c[2].Y}) - 1LL * margin,
                           std::max({c[0].X, c[1].X, c[2].X}) + 1LL + margin,
                           std::max({c[0].Y, c[1].Y, c[2].Y}) + 1LL + margin);
}

void DrawSelectionDots(TRaster& raster, const TEditor& editor, const std::vector<TScreenPoint>& nodes,
                       TLabelPainter& labels, TGradientMemo& gradient) {
  std::array<TScreenPoint, 3> c;
  for (const TPoly& polygon : editor.Polygons) {
    if (!polygon.Selected || !PolygonCorners(polygon, nodes, c)) continue;
    // The dots lie within the corners' box.
    if (CornersShow(labels, c, 1)) FillTriangleDots(raster, c[0], c[1], c[2], gradient.Polygon(editor, polygon));
  }
}

void DrawOutline(TRaster& raster, const TEditor& editor, const TPoly& polygon,
                 const std::array<TScreenPoint, 3>& c, QRgb color, bool gradient, const TZColorScale& scale) {
  const int width = polygon.Selected ? 3 : 1;
  if (!gradient) {
    for (int i = 0; i < 3; ++i) DrawSolidLine(raster, c[i], c[(i + 1) % 3], color, width);
    return;
  }
  const float z[3] = {editor.Nodes[polygon.Node1].Z, editor.Nodes[polygon.Node2].Z,
                      editor.Nodes[polygon.Node3].Z};
  for (int i = 0; i < 3; ++i) {
    const int j = (i + 1) % 3;
    DrawGradientLine(raster, scale, c[i], z[i], c[j], z[j], width);
  }
}

// A polygon's colour, found once and only when something of the polygon is drawn.
class TPolygonColor {
 public:
  TPolygonColor(const TEditor& editor, const TPoly& polygon, TGradientMemo& gradient)
      : editor_(editor), polygon_(polygon), gradient_(gradient) {}
  QRgb operator()() {
    if (!known_) {
      color_ = gradient_.Polygon(editor_, polygon_);
      known_ = true;
    }
    return color_;
  }

 private:
  const TEditor& editor_;
  const TPoly& polygon_;
  TGradientMemo& gradient_;
  QRgb color_ = 0;
  bool known_ = false;
};

// A label is as wide and high as its text (TLabelPainter::Label): centred on the polygon's centre.
// A label found hidden is passed over before its text is made.
void DrawPolygonLabels(TRaster& raster, const TEditor& editor, const TViewFlags& flags, const TPoly& polygon,
                       TScreenPoint centre, TPolygonColor& color, TLabelPainter& labels, std::string& texture) {
  const bool bold = polygon.Selected;
  const bool withName = (flags.ShowPolygonNames || polygon.Selected) && !polygon.Name.empty();
  const bool withTexture = flags.ShowTextureNames || polygon.Selected;
  const int cx = centre.X, cy = centre.Y;
  if (!withName && !withTexture) {
    // The cross: (cx - 5, cy - 4) to (cx + 5, cy + 4).
    if (labels.ShapeShows(cx - 5LL, cy - 4LL, cx + 6LL, cy + 5LL)) DrawCross(raster, cx, cy, color());
    return;
  }
  const int height = labels.TextHeight(bold);
  if (withName && withTexture) {
    if (!labels.SkipHidden())
      labels.DrawCentredLabel(raster, cx, cy - height, PaddedLabel(polygon.Name), color(), bold);
    if (!labels.SkipHidden())
      labels.DrawCentredLabel(raster, cx, cy, TextureLabel(texture, polygon, editor), color(), bold);
    return;
  }
  if (labels.SkipHidden()) return;
  const std::string& only = withName ? PaddedLabel(polygon.Name) : TextureLabel(texture, polygon, editor);
  labels.DrawCentredLabel(raster, cx, cy - height / 2, only, color(), bold);
}

// Whether the box around the corners, grown by the margin, reaches into the raster. Without a
// margin: an outline beside it would have every edge rejected by the clipping anyway.
bool NearRaster(const TRaster& raster, const std::array<TScreenPoint, 3>& c, int margin) {
  return std::max({c[0].X, c[1].X, c[2].X}) >= -margin &&
         std::min({c[0].X, c[1].X, c[2].X}) < raster.Width() + margin &&
         std::max({c[0].Y, c[1].Y, c[2].Y}) >= -margin &&
         std::min({c[0].Y, c[1].Y, c[2].Y}) < raster.Height() + margin;
}

// Whether the centre cross (9 x 9 pixels and one more column each side) touches the raster.
bool CrossMayShow(const TRaster& raster, TScreenPoint centre) {
  return centre.X >= -5 && centre.Y >= -4 && centre.X <= raster.Width() + 4 && centre.Y <= raster.Height() + 3;
}

void DrawPolygons(TRaster& raster, const TEditor& editor, const TViewFlags& flags,
                  const std::vector<TScreenPoint>& nodes, TLabelPainter& labels, TGradientMemo& gradient) {
  const TZColorScale scale(editor.Values);
  const bool labelsOfAll = flags.ShowPolygonNames || flags.ShowTextureNames;
  std::array<TScreenPoint, 3> c;
  std::string texture;
  for (const TPoly& polygon : editor.Polygons) {
    if (!PolygonCorners(polygon, nodes, c)) continue;
    const bool outline = NearRaster(raster, c, 0);
    // The centre lies within the corners' box, and a cross reaches 5 pixels from it.
    if (!outline && !labelsOfAll && !polygon.Selected && !NearRaster(raster, c, 6)) continue;
    const TScreenPoint centre = PolygonCentre(c);
    // Labels can be far wider than the triangle; a cross is not.
    const bool marker = labelsOfAll || polygon.Selected || CrossMayShow(raster, centre);
    if (!outline && !marker) continue;
    TPolygonColor color(editor, polygon, gradient);
    // An outline 3 pixels wide reaches a pixel beyond the corners' box (ends cut to the picture
    // stay within it).
    if (outline && CornersShow(labels, c, 2))
      DrawOutline(raster, editor, polygon, c, color(), flags.GradientLines, scale);
    if (marker) DrawPolygonLabels(raster, editor, flags, polygon, centre, color, labels, texture);
  }
}

// " %d " with Round(Z) at (x, y); heights beyond 64-bit integers are written in full.
void DrawZLabel(TRaster& raster, TLabelPainter& labels, int x, int y, float z, QRgb color, bool bold) {
  if (std::isfinite(z)) {
    const double rounded = RoundHalfEven(double(z));
    if (std::abs(rounded) < 9e18) {
      labels.DrawNumberLabel(raster, x, y, static_cast<long long>(rounded), color, bold);
      return;
    }
  }
  labels.DrawLabel(raster, x, y, ZLabel(z), color, bold);
}

void DrawNodes(TRaster& raster, const TEditor& editor, const TViewFlags& flags,
               const std::vector<TScreenPoint>& nodes, TLabelPainter& labels, TGradientMemo& gradient) {
  const TViewState& v = editor.View;
  const int radius = MarkerRadius(v.Zoom);
  const int w = raster.Width(), h = raster.Height();
  for (int i = 0; i < editor.Nodes.Count(); ++i) {
    const T3DCoord& node = editor.Nodes[i];
    const TScreenPoint p = nodes[static_cast<std::size_t>(i)];
    const int r = node.Selected ? 2 * radius : radius;
    // The marker and the labels lie right of x - r and below y - 2r: beyond the right or the
    // bottom edge nothing of them shows.
    if (p.X - r >= w || p.Y - 2 * r >= h) continue;
    const bool withZ = v.ShowZ || (node.Selected && v.Zoom >= 0.1f);
    const bool withName = (flags.ShowNodeNames || node.Selected) && !node.Name.empty();
    const bool markerShows = p.X + r >= 0 && p.Y + r >= 0;
    if (!markerShows && !withZ && !withName) continue;
    const long long left = p.X - static_cast<long long>(r), top = p.Y - static_cast<long long>(r);
    const long long right = p.X + static_cast<long long>(r), bottom = p.Y + static_cast<long long>(r);
    // The marker lies within its box (a pixel more each way for rounding).
    if (markerShows && labels.ShapeShows(left - 1, top - 1, right + 1, bottom + 1))
      FillBoxEllipse(raster, left, top, right, bottom, 0, gradient.Node(node.Z, node.Selected));
    if (!withZ && !withName) continue;
    const int x = p.X + 2 * r;
    int y = p.Y - 2 * r;
    if (withZ) {
      if (!labels.SkipHidden())
        DrawZLabel(raster, labels, x, y, node.Z, gradient.Node(node.Z, node.Selected), node.Selected);
      y += labels.TextHeight(node.Selected);
    }
    if (withName && !labels.SkipHidden())
      labels.DrawLabel(raster, x, y, PaddedLabel(node.Name), gradient.Node(node.Z, node.Selected), node.Selected);
  }
}

// Steps 8 and 9: readouts in navy on the picture, without a background.
void DrawReadouts(QImage& image, const TEditor& editor, const TViewFlags& flags,
                  const TLabelPainter& labels) {
  if (!flags.ShowPosition && !flags.ShowScale) return;
  const TViewState& v = editor.View;
  QPainter painter(&image);
  painter.setFont(labels.Font(false));
  painter.setPen(QColor::fromRgb(colors::kNavy));
  const QFontMetrics metrics(labels.Font(false), &image);
  int y = 2;
  if (flags.ShowPosition) {
    const std::string text = "Position: " + FormatReadout(v.PanX) + " " + FormatReadout(v.PanY);
    painter.drawText(2, y + metrics.ascent(), QString::fromStdString(text));
    y += labels.TextHeight(false);
  }
  if (flags.ShowScale) {
    painter.drawText(2, y + metrics.ascent(), QString::fromStdString("Scale: " + FormatReadout(v.Zoom)));
  }
}

void DrawCentreCross(TRaster& raster) {
  const int cx = raster.Width() / 2, cy = raster.Height() / 2;
  raster.FillRow(cy, cx - 5, cx + 5, colors::kNavy);
  raster.FillColumn(cx, cy - 5, cy + 5, colors::kNavy);
}

void DrawFocusFrame(TRaster& raster, QRgb color) {
  const int w = raster.Width(), h = raster.Height();
  for (int i = 0; i < 3; ++i) {
    raster.FillRow(i, 0, w - 1, color);
    raster.FillRow(h - 1 - i, 0, w - 1, color);
    raster.FillColumn(i, 0, h - 1, color);
    raster.FillColumn(w - 1 - i, 0, h - 1, color);
  }
}

}  // namespace

void PaintScene(QImage& image, const TEditor& editor, const TViewFlags& flags,
                const TBackgroundPicture& background, TLabelPainter& labels) {
  if (image.isNull()) return;
  labels.TrimCache();
  TRaster raster(image);
  raster.Fill(colors::kSilver);
  background.Draw(raster, editor);
  DrawGrid(raster, editor);
  DrawOriginMarker(raster, editor);
  const std::vector<TScreenPoint> nodes = NodePositions(editor);
  TGradientMemo gradient(editor.Values);
  // The labels of a big selection pile up: first their places, so that those covered by later
  // ones are never made (the picture stays the same), then the picture.
  // Shapes wholly under later labels are not drawn either.
  labels.BeginPlan(raster.Width(), raster.Height());
  DrawSelectionDots(raster, editor, nodes, labels, gradient);
  DrawPolygons(raster, editor, flags, nodes, labels, gradient);
  DrawNodes(raster, editor, flags, nodes, labels, gradient);
  labels.EndPlan();
  DrawSelectionDots(raster, editor, nodes, labels, gradient);
  DrawPolygons(raster, editor, flags, nodes, labels, gradient);
  DrawNodes(raster, editor, flags, nodes, labels, gradient);
  labels.EndCulling();
  if (flags.ShowPosition) DrawCentreCross(raster);
  DrawReadouts(image, editor, flags, labels);
  if (flags.ViewportFocused) DrawFocusFrame(raster, SystemColor(kSystemHighlight));
}

}  // namespace terravel
