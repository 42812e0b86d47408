#include "render/ReliefPainter.h"

#include <QPainter>
#include <QPolygon>

#include <cmath>

#include "model/editor/Editor.h"
#include "model/view/ViewTransform.h"
#include "render/Colors.h"

namespace terravel {

namespace {

// Light from the top left of the view (smaller X and Y) at 45 degrees above the ground.
constexpr double kLight[3] = {-0.5, -0.5, 0.70710678118654752};
// The share of the colour a polygon keeps when it faces away from the light.
constexpr double kAmbient = 0.35;

double Brightness(const T3DCoord& a, const T3DCoord& b, const T3DCoord& c) {
  const double u[3] = {double(b.X) - a.X, double(b.Y) - a.Y, double(b.Z) - a.Z};
  const double v[3] = {double(c.X) - a.X, double(c.Y) - a.Y, double(c.Z) - a.Z};
  double n[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
  const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
  if (length == 0 || !std::isfinite(length)) return 1;
  // Seen from above whichever way it is wound: the normal that points up.
  const double sign = n[2] < 0 ? -1 : 1;
  double lit = 0;
  for (int i = 0; i < 3; ++i) lit += sign * n[i] / length * kLight[i];
  return kAmbient + (1 - kAmbient) * std::max(0.0, lit);
}

}  // namespace

QImage RenderRelief(const TEditor& editor) {
  QImage image(editor.View.Size.Width, editor.View.Size.Height, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setPen(Qt::NoPen);
  for (const TPoly& polygon : editor.Polygons) {
    const T3DCoord& a = editor.Nodes[polygon.Node1];
    const T3DCoord& b = editor.Nodes[polygon.Node2];
    const T3DCoord& c = editor.Nodes[polygon.Node3];
    const float meanZ = static_cast<float>((double(a.Z) + b.Z + c.Z) / 3);
    const QColor base = QColor::fromRgb(GradientColor(editor.Values, meanZ));
    const double light = std::min(1.0, Brightness(a, b, c));
    painter.setBrush(QColor(int(std::lround(base.red() * light)), int(std::lround(base.green() * light)),
                            int(std::lround(base.blue() * light))));
    QPolygon corners;
    for (const T3DCoord* node : {&a, &b, &c}) {
      const TScreenPoint p = WorldToScreen(editor, node->X, node->Y);
      corners << QPoint(p.X, p.Y);
    }
    painter.drawPolygon(corners);
  }
  return image;
}

}  // namespace terravel
