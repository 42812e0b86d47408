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

// What the picture draws of the nodes and polygons, in drawing order: the selection dots of the
// selected polygons, then each polygon's outline and its labels or centre cross, then each node's
// marker and labels. Labels are opaque, so the objects are first named from the last drawn back
// to the first: those that later labels cover wholly are never made (the picture stays the
// same), and only the others are drawn, in order.
enum class TObjectKind : std::uint8_t { Dots, Outline, Cross, PolygonName, PolygonTexture, Marker, ZLabel, NodeName };

// An object found showing: its record, and for a label its top-left corner and the part of it
// that later labels leave to see.
struct TShownObject {
  TObjectKind Kind;
  int Record;
  int X;
  int Y;
  TLabelPart Part;
};

// The box around the corners, grown by the margin, as [left, right) x [top, bottom).
struct TBox {
  long long Left, Top, Right, Bottom;
};
TBox CornersBox(const std::array<TScreenPoint, 3>& c, int margin) {
  return {std::min({c[0].X, c[1].X, c[2].X}) - 1LL * margin, std::min({c[0].Y, c[1].Y, c[2].Y}) - 1LL * margin,
          std::max({c[0].X, c[1].X, c[2].X}) + 1LL + margin, std::max({c[0].Y, c[1].Y, c[2].Y}) + 1LL + margin};
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

// " %s ", written into a reused string.
const std::string& Padded(std::string& text, const std::string& name) {
  return text.assign(" ").append(name).append(" ");
}

class TSceneObjects {
 public:
  TSceneObjects(TRaster& raster, const TEditor& editor, const TViewFlags& flags, TLabelPainter& labels)
      : raster_(raster),
        editor_(editor),
        flags_(flags),
        labels_(labels),
        nodes_(NodePositions(editor)),
        gradient_(editor.Values),
        scale_(editor.Values),
        radius_(MarkerRadius(editor.View.Zoom)) {}

  // Names every object from the last drawn back, keeping those that show.
  void Cull() {
    shown_.clear();
    outlineHidden_.assign(static_cast<std::size_t>(editor_.Polygons.Count()), 0);
    labels_.BeginCulling(raster_.Width(), raster_.Height());
    for (int i = editor_.Nodes.Count(); i-- > 0;) CullNode(i);
    for (int i = editor_.Polygons.Count(); i-- > 0;) CullPolygon(i);
    for (int i = editor_.Polygons.Count(); i-- > 0;) CullDots(i);
    labels_.EndCulling();
  }

  // Draws the objects that show, in drawing order.
  void Draw() {
    for (std::size_t k = shown_.size(); k-- > 0;) DrawObject(shown_[k]);
  }

 private:
  void Show(TObjectKind kind, int record, int x = 0, int y = 0, const TLabelPart& part = {}) {
    shown_.push_back({kind, record, x, y, part});
  }
  bool Corners(const TPoly& polygon, std::array<TScreenPoint, 3>& c) const {
    return PolygonCorners(polygon, nodes_, c);
  }

  // --- naming, last first ---

  void CullDots(int index) {
    const TPoly& polygon = editor_.Polygons[index];
    std::array<TScreenPoint, 3> c;
    if (!polygon.Selected || outlineHidden_[static_cast<std::size_t>(index)] || !Corners(polygon, c)) return;
    // The dots lie within the corners' box.
    const TBox box = CornersBox(c, 1);
    if (labels_.ShapeShows(box.Left, box.Top, box.Right, box.Bottom)) Show(TObjectKind::Dots, index);
  }

  void CullPolygon(int index) {
    const TPoly& polygon = editor_.Polygons[index];
    std::array<TScreenPoint, 3> c;
    if (!Corners(polygon, c)) return;
    const bool labelsOfAll = flags_.ShowPolygonNames || flags_.ShowTextureNames;
    const bool outline = NearRaster(raster_, c, 0);
    // The centre lies within the corners' box, and a cross reaches 5 pixels from it.
    if (!outline && !labelsOfAll && !polygon.Selected && !NearRaster(raster_, c, 6)) return;
    const TScreenPoint centre = PolygonCentre(c);
    // Labels can be far wider than the triangle; a cross is not.
    const bool marker = labelsOfAll || polygon.Selected || CrossMayShow(raster_, centre);
    if (!outline && !marker) return;
    // An outline 3 pixels wide reaches a pixel beyond the corners' box (ends cut to the picture
    // stay within it). The dots, drawn before everything else, lie within it too.
    const TBox box = CornersBox(c, 2);
    // Under a big selection most polygons lie wholly under later labels: one look for all of it.
    TBox all = box;
    if ((!marker || AddLabelBounds(polygon, centre, all)) && !labels_.ShapeShows(all.Left, all.Top, all.Right, all.Bottom)) {
      outlineHidden_[static_cast<std::size_t>(index)] = outline;
      return;
    }
    if (marker) CullPolygonLabels(index, polygon, centre);
    if (!outline) return;
    if (labels_.ShapeShows(box.Left, box.Top, box.Right, box.Bottom)) {
      Show(TObjectKind::Outline, index);
    } else {
      outlineHidden_[static_cast<std::size_t>(index)] = true;
    }
  }

  // Grows the box to hold the polygon's labels at the bounds of their widths, or its cross; false
  // when a label's width has no bound.
  bool AddLabelBounds(const TPoly& polygon, TScreenPoint centre, TBox& box) {
    const auto add = [&box](long long left, long long top, long long right, long long bottom) {
      box = {std::min(box.Left, left), std::min(box.Top, top), std::max(box.Right, right),
             std::max(box.Bottom, bottom)};
    };
    const bool bold = polygon.Selected;
    const bool withName = (flags_.ShowPolygonNames || polygon.Selected) && !polygon.Name.empty();
    const bool withTexture = flags_.ShowTextureNames || polygon.Selected;
    const long long cx = centre.X, cy = centre.Y;
    if (!withName && !withTexture) {
      add(cx - 5, cy - 4, cx + 6, cy + 5);
      return true;
    }
    const int height = labels_.TextHeight(bold);
    const auto label = [&](int bound, long long y) {
      if (bound < 0) return false;
      add(cx - bound / 2, y, cx + (bound + 1) / 2, y + height);
      return true;
    };
    if (withName && withTexture) return label(NameBound(polygon, bold), cy - height) && label(TextureBound(polygon, bold), cy);
    return label(withName ? NameBound(polygon, bold) : TextureBound(polygon, bold), cy - height / 2);
  }

  // Bounds of the widths of " %s " of the name and of the texture label (with the wider of the
  // two orientation words), summed from their parts: nothing is written; -1 without a bound.
  int NameBound(const TPoly& polygon, bool bold) const {
    if (polygon.Name.size() > kLongestBoundText - 2) return -1;
    const int sum = labels_.AdvanceBound(polygon.Name, bold);
    return sum < 0 ? -1 : TLabelPainter::kBoundBase + 2 * labels_.AdvanceBound(" ", bold) + sum;
  }
  int TextureBound(const TPoly& polygon, bool bold) {
    constexpr std::string_view kWords[] = {"Ground", "Ceiling"};
    if (polygon.Texture.size() > kLongestBoundText - 12) return -1;
    TTextureBound& known = textureBounds_[bold ? 1 : 0];
    if (known.Bound < 0 || known.Texture != polygon.Texture) {
      // " Texture [Word] " or " [Word] ".
      int sum = labels_.AdvanceBound(polygon.Texture.empty() ? " [] " : "  [] ", bold);
      const int texture = labels_.AdvanceBound(polygon.Texture, bold);
      const int word = std::max(labels_.AdvanceBound(kWords[0], bold), labels_.AdvanceBound(kWords[1], bold));
      sum = texture < 0 ? -1 : sum + texture + word;
      known = {polygon.Texture, sum < 0 ? -1 : TLabelPainter::kBoundBase + sum};
      if (sum < 0) return -1;
    }
    return known.Bound;
  }

  // A label is as wide and high as its text, centred on the polygon's centre.
  void CullPolygonLabels(int index, const TPoly& polygon, TScreenPoint centre) {
    const bool bold = polygon.Selected;
    const bool withName = (flags_.ShowPolygonNames || polygon.Selected) && !polygon.Name.empty();
    const bool withTexture = flags_.ShowTextureNames || polygon.Selected;
    const int cx = centre.X, cy = centre.Y;
    if (!withName && !withTexture) {
      // The cross: (cx - 5, cy - 4) to (cx + 5, cy + 4).
      if (labels_.ShapeShows(cx - 5LL, cy - 4LL, cx + 6LL, cy + 5LL)) Show(TObjectKind::Cross, index);
      return;
    }
    const int height = labels_.TextHeight(bold);
    const auto label = [&](TObjectKind kind, int y) {
      int x = cx;
      const std::string& text =
          kind == TObjectKind::PolygonName ? Padded(text_, polygon.Name) : TextureLabel(text_, polygon, editor_);
      if (labels_.LabelShows(x, y, text, bold, true, part_)) Show(kind, index, x, y, part_);
    };
    if (withName && withTexture) {
      label(TObjectKind::PolygonTexture, cy);
      label(TObjectKind::PolygonName, cy - height);
      return;
    }
    label(withName ? TObjectKind::PolygonName : TObjectKind::PolygonTexture, cy - height / 2);
  }

  void CullNode(int index) {
    const TViewState& v = editor_.View;
    const T3DCoord& node = editor_.Nodes[index];
    const TScreenPoint p = nodes_[static_cast<std::size_t>(index)];
    const int r = node.Selected ? 2 * radius_ : radius_;
    // The marker and the labels lie right of x - r and below y - 2r: beyond the right or the
    // bottom edge nothing of them shows.
    if (p.X - r >= raster_.Width() || p.Y - 2 * r >= raster_.Height()) return;
    const bool withZ = v.ShowZ || (node.Selected && v.Zoom >= 0.1f);
    const bool withName = (flags_.ShowNodeNames || node.Selected) && !node.Name.empty();
    const bool markerShows = p.X + r >= 0 && p.Y + r >= 0;
    if (!markerShows && !withZ && !withName) return;
    const int x = p.X + 2 * r;
    const int zY = p.Y - 2 * r, nameY = withZ ? zY + labels_.TextHeight(node.Selected) : zY;
    if (withName) {
      int left = x;
      if (labels_.LabelShows(left, nameY, Padded(text_, node.Name), node.Selected, false, part_))
        Show(TObjectKind::NodeName, index, left, nameY, part_);
    }
    if (withZ) {
      int left = x;
      const double rounded = RoundHalfEven(double(node.Z));
      const bool number = std::isfinite(node.Z) && std::abs(rounded) < 9e18;
      if (number ? labels_.NumberLabelShows(left, zY, static_cast<long long>(rounded), node.Selected, part_)
                 : labels_.LabelShows(left, zY, ZLabel(node.Z), node.Selected, false, part_))
        Show(TObjectKind::ZLabel, index, left, zY, part_);
    }
    // The marker lies within its box (a pixel more each way for rounding).
    if (markerShows && labels_.ShapeShows(p.X - r - 1LL, p.Y - r - 1LL, p.X + r + 1LL, p.Y + r + 1LL))
      Show(TObjectKind::Marker, index);
  }

  // --- drawing ---

  void DrawObject(const TShownObject& object) {
    switch (object.Kind) {
      case TObjectKind::Dots:
      case TObjectKind::Outline:
      case TObjectKind::Cross:
      case TObjectKind::PolygonName:
      case TObjectKind::PolygonTexture:
        DrawPolygonObject(object);
        return;
      case TObjectKind::Marker:
      case TObjectKind::ZLabel:
      case TObjectKind::NodeName:
        DrawNodeObject(object);
        return;
    }
  }

  void DrawPolygonObject(const TShownObject& object) {
    const TPoly& polygon = editor_.Polygons[object.Record];
    const QRgb color = gradient_.Polygon(editor_, polygon);
    std::array<TScreenPoint, 3> c;
    switch (object.Kind) {
      case TObjectKind::Dots:
        Corners(polygon, c);
        FillTriangleDots(raster_, c[0], c[1], c[2], color);
        return;
      case TObjectKind::Outline:
        Corners(polygon, c);
        DrawOutline(raster_, editor_, polygon, c, color, flags_.GradientLines, scale_);
        return;
      case TObjectKind::Cross: {
        Corners(polygon, c);
        const TScreenPoint centre = PolygonCentre(c);
        DrawCross(raster_, centre.X, centre.Y, color);
        return;
      }
      case TObjectKind::PolygonName:
        labels_.DrawLabel(raster_, object.X, object.Y, Padded(text_, polygon.Name), color, polygon.Selected,
                          object.Part);
        return;
      default:
        labels_.DrawLabel(raster_, object.X, object.Y, TextureLabel(text_, polygon, editor_), color,
                          polygon.Selected, object.Part);
        return;
    }
  }

  void DrawNodeObject(const TShownObject& object) {
    const T3DCoord& node = editor_.Nodes[object.Record];
    const QRgb color = gradient_.Node(node.Z, node.Selected);
    switch (object.Kind) {
      case TObjectKind::Marker: {
        const TScreenPoint p = nodes_[static_cast<std::size_t>(object.Record)];
        const long long r = node.Selected ? 2 * radius_ : radius_;
        FillBoxEllipse(raster_, p.X - r, p.Y - r, p.X + r, p.Y + r, 0, color);
        return;
      }
      case TObjectKind::ZLabel:
        DrawZLabel(object.X, object.Y, node.Z, color, node.Selected, object.Part);
        return;
      default:
        labels_.DrawLabel(raster_, object.X, object.Y, Padded(text_, node.Name), color, node.Selected, object.Part);
        return;
    }
  }

  // " %d " with Round(Z) at (x, y); heights beyond 64-bit integers are written in full.
  void DrawZLabel(int x, int y, float z, QRgb color, bool bold, const TLabelPart& part) {
    if (std::isfinite(z)) {
      const double rounded = RoundHalfEven(double(z));
      if (std::abs(rounded) < 9e18) {
        labels_.DrawNumberLabel(raster_, x, y, static_cast<long long>(rounded), color, bold, part);
        return;
      }
    }
    labels_.DrawLabel(raster_, x, y, ZLabel(z), color, bold, part);
  }

  TRaster& raster_;
  const TEditor& editor_;
  const TViewFlags& flags_;
  TLabelPainter& labels_;
  const std::vector<TScreenPoint> nodes_;
  TGradientMemo gradient_;
  const TZColorScale scale_;
  const int radius_;
  // The texture label bound of the last texture, regular and bold.
  struct TTextureBound {
    std::string Texture;
    int Bound = -1;
  };
  TTextureBound textureBounds_[2];
  // Texts longer than this have no width bound.
  static constexpr std::size_t kLongestBoundText = 64;
  std::string text_;  // the text of the label at hand
  TLabelPart part_;   // the part of it to see
  // Kept from picture to picture on each thread, so that a big selection's lists are not
  // allocated again for every picture.
  struct TLists {
    std::vector<TShownObject> Shown;  // last drawn first
    // Per polygon: its outline was drawn and found under later labels, and so are its dots.
    std::vector<std::uint8_t> OutlineHidden;
  };
  static thread_local TLists lists_;
  std::vector<TShownObject>& shown_ = lists_.Shown;
  std::vector<std::uint8_t>& outlineHidden_ = lists_.OutlineHidden;
};

thread_local TSceneObjects::TLists TSceneObjects::lists_;

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
  TSceneObjects objects(raster, editor, flags, labels);
  objects.Cull();
  objects.Draw();
  if (flags.ShowPosition) DrawCentreCross(raster);
  DrawReadouts(image, editor, flags, labels);
  if (flags.ViewportFocused) DrawFocusFrame(raster, SystemColor(kSystemHighlight));
}

}  // namespace terravel
