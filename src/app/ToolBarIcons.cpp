#include "app/ToolBarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace terravel {

namespace {

// The shared palette: dark outlines, white paper, one accent colour per meaning.
const QColor kInk(48, 56, 64);
const QColor kPaper(255, 255, 255);
const QColor kFolder(236, 190, 72);
const QColor kBlue(52, 110, 196);
const QColor kGreen(56, 150, 72);
const QColor kRed(204, 48, 40);
const QColor kGrey(150, 156, 162);

QPen Outline(const QColor& color = kInk, qreal width = 1.0) {
  return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Polygon(QPainter& p, std::initializer_list<QPointF> points, const QBrush& fill,
             const QPen& pen = Outline()) {
  p.setPen(pen);
  p.setBrush(fill);
  p.drawPolygon(QPolygonF(QList<QPointF>(points)));
}

// A page with a folded corner.
void Page(QPainter& p) {
  Polygon(p, {{3.5, 1.5}, {10, 1.5}, {13.5, 5}, {13.5, 14.5}, {3.5, 14.5}}, kPaper);
  Polygon(p, {{10, 1.5}, {10, 5}, {13.5, 5}}, QColor(220, 224, 228));
}

// An arrow bent back over itself; mirrored for redo.
void CurvedArrow(QPainter& p, bool mirrored) {
  if (mirrored) {
    p.translate(16, 0);
    p.scale(-1, 1);
  }
  QPainterPath arc;
  arc.moveTo(4.5, 6.5);
  arc.cubicTo(8, 3, 14.5, 4.5, 13, 10.5);
  arc.cubicTo(12.5, 12.5, 10.5, 13.5, 9, 13.5);
  p.setBrush(Qt::NoBrush);
  p.setPen(Outline(kBlue, 2.2));
  p.drawPath(arc);
  Polygon(p, {{1.5, 7}, {7, 2.5}, {7.5, 9.5}}, kBlue, Outline(kBlue));
}

// An open tray with an arrow going down into it or up out of it.
void TrayWithArrow(QPainter& p, bool outwards) {
  Polygon(p,
          {{1.5, 9.5},
           {4.5, 9.5},
           {5.5, 11.5},
           {10.5, 11.5},
           {11.5, 9.5},
           {14.5, 9.5},
           {14.5, 14.5},
           {1.5, 14.5}},
          QColor(210, 214, 220));
  const QColor arrow = outwards ? kBlue : kGreen;
  if (outwards) {
    Polygon(p, {{6.5, 10}, {6.5, 5.5}, {4, 5.5}, {8, 1.5}, {12, 5.5}, {9.5, 5.5}, {9.5, 10}}, arrow);
  } else {
    Polygon(p, {{6.5, 1.5}, {9.5, 1.5}, {9.5, 6}, {12, 6}, {8, 10}, {4, 6}, {6.5, 6}}, arrow);
  }
}

void Draw(QPainter& p, TToolIcon icon) {
  switch (icon) {
    case TToolIcon::NewProject:
      Page(p);
      Polygon(p, {{5.5, 12.5}, {8.5, 7}, {11.5, 12.5}}, QColor(200, 232, 200), Outline(kGreen));
      break;
    case TToolIcon::OpenProject:
      Polygon(p, {{1.5, 3.5}, {6, 3.5}, {7.5, 5}, {13.5, 5}, {13.5, 13.5}, {1.5, 13.5}}, kFolder.darker(115));
      Polygon(p, {{1.5, 13.5}, {4, 7.5}, {15.5, 7.5}, {13.5, 13.5}}, kFolder);
      break;
    case TToolIcon::SaveProject:
      Polygon(p, {{1.5, 1.5}, {12.5, 1.5}, {14.5, 3.5}, {14.5, 14.5}, {1.5, 14.5}}, kBlue);
      p.fillRect(QRectF(4, 2, 7.5, 5), kPaper);
      p.fillRect(QRectF(9, 3, 1.5, 3), kInk);
      p.fillRect(QRectF(4, 9.5, 8, 5), QColor(226, 232, 240));
      break;
    case TToolIcon::Print:
      Polygon(p, {{4.5, 1.5}, {11.5, 1.5}, {11.5, 6.5}, {4.5, 6.5}}, kPaper);
      Polygon(p, {{1.5, 6.5}, {14.5, 6.5}, {14.5, 12.5}, {1.5, 12.5}}, kGrey);
      Polygon(p, {{4.5, 10.5}, {11.5, 10.5}, {11.5, 14.5}, {4.5, 14.5}}, kPaper);
      break;
    case TToolIcon::Undo:
      CurvedArrow(p, false);
      break;
    case TToolIcon::Redo:
      CurvedArrow(p, true);
      break;
    case TToolIcon::Import:
      TrayWithArrow(p, false);
      break;
    case TToolIcon::Export:
      TrayWithArrow(p, true);
      break;
    case TToolIcon::Remove:
      p.setPen(Outline(kRed, 3.0));
      p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
      p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
      break;
    case TToolIcon::Snap:
      p.setPen(Outline(kGrey));
      for (qreal v : {2.5, 7.5, 12.5}) {
        p.drawLine(QPointF(v, 0.5), QPointF(v, 15.5));
        p.drawLine(QPointF(0.5, v), QPointF(15.5, v));
      }
      p.setPen(Outline(kInk));
      p.setBrush(kBlue);
      p.drawEllipse(QPointF(7.5, 7.5), 3, 3);
      break;
    case TToolIcon::Properties:
      Polygon(p, {{1.5, 1.5}, {14.5, 1.5}, {14.5, 14.5}, {1.5, 14.5}}, kPaper);
      p.fillRect(QRectF(2, 2, 12, 3), QColor(200, 214, 236));
      p.setPen(Outline(kGrey));
      for (qreal y : {7.5, 10.5, 13.5}) p.drawLine(QPointF(2, y), QPointF(14, y));
      p.drawLine(QPointF(6.5, 5), QPointF(6.5, 14));
      break;
    case TToolIcon::ZoomToFit:
      p.setPen(Outline(kInk, 1.4));
      p.setBrush(Qt::NoBrush);
      for (const auto& [x, y, dx, dy] :
           {std::tuple{1.5, 1.5, 1, 1}, {14.5, 1.5, -1, 1}, {1.5, 14.5, 1, -1}, {14.5, 14.5, -1, -1}}) {
        p.drawLine(QPointF(x, y), QPointF(x + 3.5 * dx, y));
        p.drawLine(QPointF(x, y), QPointF(x, y + 3.5 * dy));
      }
      p.setBrush(QColor(210, 226, 246));
      p.drawEllipse(QPointF(7, 7), 3.2, 3.2);
      p.setPen(Outline(kInk, 2.0));
      p.drawLine(QPointF(9.5, 9.5), QPointF(12, 12));
      break;
    case TToolIcon::View3D:
      // A hill on a tilted ground plate.
      Polygon(p, {{1.5, 11.5}, {9.5, 14.5}, {14.5, 10.5}, {6.5, 7.5}}, QColor(200, 232, 200), Outline(kGreen));
      Polygon(p, {{3.5, 11}, {7.5, 3.5}, {12.5, 10.5}}, QColor(226, 214, 180));
      break;
    case TToolIcon::Sculpt:
      // The brush's circle over a raised patch of ground.
      Polygon(p, {{1.5, 12.5}, {5.5, 8.5}, {8, 5.5}, {10.5, 8.5}, {14.5, 12.5}}, QColor(226, 214, 180),
              Outline(kGreen));
      p.setPen(QPen(kBlue, 1.2));
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(QPointF(8, 6.5), 5, 3.5);
      break;
    case TToolIcon::BackgroundImage:
      Polygon(p, {{1.5, 2.5}, {14.5, 2.5}, {14.5, 13.5}, {1.5, 13.5}}, QColor(200, 226, 248));
      Polygon(p, {{2, 13}, {6.5, 6.5}, {9, 10}, {10.5, 8.5}, {14, 13}}, kGreen, Outline(kGreen.darker(130)));
      p.setPen(Qt::NoPen);
      p.setBrush(kFolder);
      p.drawEllipse(QPointF(11.5, 5.5), 1.6, 1.6);
      break;
    case TToolIcon::Manual: {
      Polygon(p, {{2.5, 2.5}, {12.5, 1.5}, {13.5, 12.5}, {3.5, 14.5}}, kBlue);
      Polygon(p, {{3.5, 14.5}, {13.5, 12.5}, {13.5, 14}, {4, 15.5}}, kPaper);
      QFont font = p.font();
      font.setBold(true);
      font.setPixelSize(9);
      p.setFont(font);
      p.setPen(kPaper);
      p.drawText(QRectF(3, 2, 10, 11), Qt::AlignCenter, QStringLiteral("?"));
      break;
    }
  }
}

QPixmap Render(TToolIcon icon, int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 16.0, size / 16.0);
  Draw(painter, icon);
  return pixmap;
}

}  // namespace

QIcon ToolBarIcon(TToolIcon icon) {
  QIcon result;
  for (int size : {16, 24, 32}) result.addPixmap(Render(icon, size));
  return result;
}

}  // namespace terravel
