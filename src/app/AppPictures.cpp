#include "app/AppPictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

#include "render/GradientTable.h"

namespace terravel {

namespace {

// The ramp colour of a height between 0 (blue) and 1 (red).
QColor RampColor(double height) {
  const double clamped = std::clamp(height, 0.0, 1.0);
  return QColor::fromRgb(GradientTable()[static_cast<size_t>(std::lround(clamped * kGradientLast))]);
}

// Two hills and a gentle ripple on the unit square, heights in 0..1.
double TerrainHeight(double x, double y) {
  const auto hill = [](double dx, double dy, double spread) {
    return std::exp(-(dx * dx + dy * dy) / spread);
  };
  const double z = 0.95 * hill(x - 0.32, y - 0.38, 0.06) + 0.6 * hill(x - 0.74, y - 0.7, 0.05) +
                   0.08 * std::sin(7.0 * x) * std::cos(5.0 * y) + 0.05;
  return std::clamp(z, 0.0, 1.0);
}

}  // namespace

QPixmap TerravelLogo(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 16.0, size / 16.0);

  // The badge: the Z ramp from blue at the bottom to red at the top.
  QLinearGradient ramp(0, 16, 0, 0);
  for (double stop : {0.0, 0.25, 0.5, 0.75, 1.0}) ramp.setColorAt(stop, RampColor(stop));
  p.setPen(QPen(QColor(40, 48, 64), 0.6));
  p.setBrush(ramp);
  p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);

  // A mountain of four triangles.
  const QPointF base1(2, 13), base2(7, 13), base3(11, 13), base4(14.5, 13);
  const QPointF peak1(6, 4), peak2(10.5, 7.5);
  QPainterPath outline;
  outline.addPolygon(QPolygonF({base1, peak1, QPointF(8.3, 9.6), peak2, base4}));
  outline.closeSubpath();
  p.setBrush(QColor(255, 255, 255, 150));
  p.setPen(QPen(Qt::white, 0.9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(outline);
  p.drawLine(peak1, base2);
  p.drawLine(base2, QPointF(8.3, 9.6));
  p.drawLine(peak2, base3);
  p.drawLine(base2, base3);
  return pixmap;
}

QPixmap WelcomePicture(const QSize& size) {
  QPixmap pixmap(size);
  pixmap.fill(Qt::white);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);

  // An isometric view of an n x n mesh: i runs to the lower right, j to the lower left.
  constexpr int n = 8;
  const double cellWidth = std::min(size.width() * 0.85, size.height() * 1.2) / n;
  const double cellHeight = cellWidth / 2;
  const double lift = cellWidth * 2.6;  // screen height of Z = 1
  const double baseZ = -0.18;           // the foot of the block's sides
  const double left = size.width() / 2.0;
  const double top = (size.height() - n * cellHeight - lift * (1 - baseZ)) / 2.0 + lift;

  const auto height = [&](int i, int j) { return TerrainHeight(double(i) / n, double(j) / n); };
  const auto screen = [&](int i, int j, double z) {
    return QPointF(left + (i - j) * cellWidth / 2, top + (i + j) * cellHeight / 2 - z * lift);
  };

  // The two sides facing the viewer, behind everything on the surface.
  const QColor earth(196, 176, 150);
  p.setPen(QPen(earth.darker(130), 0.8));
  for (int k = 0; k < n; ++k) {
    p.setBrush(earth);
    p.drawPolygon(QPolygonF({screen(k, n, height(k, n)), screen(k + 1, n, height(k + 1, n)),
                             screen(k + 1, n, baseZ), screen(k, n, baseZ)}));
    p.setBrush(earth.darker(112));
    p.drawPolygon(QPolygonF({screen(n, k, height(n, k)), screen(n, k + 1, height(n, k + 1)),
                             screen(n, k + 1, baseZ), screen(n, k, baseZ)}));
  }

  // The surface, from the back row to the front, two triangles per cell as the mesh command makes them.
  for (int diagonal = 0; diagonal <= 2 * (n - 1); ++diagonal) {
    for (int i = std::max(0, diagonal - (n - 1)); i <= std::min(diagonal, n - 1); ++i) {
      const int j = diagonal - i;
      const int corners[2][3][2] = {{{i, j}, {i, j + 1}, {i + 1, j}},
                                    {{i + 1, j}, {i, j + 1}, {i + 1, j + 1}}};
      for (const auto& triangle : corners) {
        QPolygonF shape;
        double sum = 0;
        for (const auto& corner : triangle) {
          const double z = height(corner[0], corner[1]);
          sum += z;
          shape << screen(corner[0], corner[1], z);
        }
        const QColor fill = RampColor(sum / 3);
        p.setBrush(fill);
        p.setPen(QPen(fill.darker(150), 0.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolygon(shape);
      }
    }
  }
  return pixmap;
}

}  // namespace terravel
