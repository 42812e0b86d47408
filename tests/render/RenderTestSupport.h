#pragma once
// Small documents drawn at a known size. With Zoom 1, no pan and a 400 x 300 viewport, world
// (x, y) lands on pixel (200 + x, 150 + y).
#include <QImage>
#include <QRgb>

#include "model/editor/Editor.h"
#include "model/view/ViewTransform.h"
#include "render/ViewportRenderer.h"

namespace terravel::test {

inline constexpr int kWidth = 400;
inline constexpr int kHeight = 300;

// A plain view: Zoom 1, no pan, no grid, no Z labels.
inline void PlainView(TEditor& editor) {
  editor.View.Zoom = 1;
  editor.View.PanX = editor.View.PanY = 0;
  editor.Values.GridX = editor.Values.GridY = 0;
  editor.View.ShowZ = false;
  editor.View.Size = {kWidth, kHeight};
}

inline int AddNode(TEditor& editor, float x, float y, float z = 0) {
  return editor.Nodes.NewNode("", "", x, y, z);
}

inline int AddTriangle(TEditor& editor, int a, int b, int c) {
  return editor.Polygons.NewPolygon(a, b, c, "", "", "");
}

inline QRgb Pixel(const QImage& image, int x, int y) {
  return image.pixel(x, y) | 0xFF000000;
}
inline QRgb Pixel(const QImage& image, TScreenPoint p) {
  return Pixel(image, p.X, p.Y);
}

// Every pixel of the image that differs from the colour, as (x, y) pairs.
inline QList<QPoint> PixelsOtherThan(const QImage& image, QRgb color) {
  QList<QPoint> found;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (Pixel(image, x, y) != color) found.append(QPoint(x, y));
  return found;
}

}  // namespace terravel::test
