#pragma once
// The colours of the pick buffer: white for nothing, node i as the value i, polygon i as
// i + 0x7FFFFF.
#include <QRgb>

#include "model/interaction/PickHit.h"

namespace terravel {

inline constexpr QRgb kPickNothing = 0xFFFFFF;
inline constexpr int kPolygonPickBase = 0x7FFFFF;
// The highest indices that have a code of their own.
inline constexpr int kLastPickableNode = kPolygonPickBase - 1;            // 8388606
inline constexpr int kLastPickablePolygon = 0xFFFFFE - kPolygonPickBase;  // 8388607

inline constexpr QRgb NodePickCode(int index) {
  return QRgb(index);
}
inline constexpr QRgb PolygonPickCode(int index) {
  return QRgb(index + kPolygonPickBase);
}

// Reads a pick code (the low 24 bits of a pixel).
inline TPickHit DecodePick(QRgb pixel) {
  const QRgb code = pixel & 0xFFFFFF;
  if (code == kPickNothing) return {};
  if (code < QRgb(kPolygonPickBase)) return {TPickKind::Node, int(code)};
  return {TPickKind::Polygon, int(code - kPolygonPickBase)};
}

}  // namespace terravel
