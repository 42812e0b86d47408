#include "render/GradientTable.h"

#include <cmath>

namespace terravel {

namespace {

constexpr int kChannelMax = 248;

// A channel rising linearly from 0 at index `from` to `top` at index `to`.
int Rise(int index, int from, int to, int top) {
  return static_cast<int>(std::lround(double(top) * (index - from) / (to - from)));
}

// Four segments joined by short plateaus: cyan at 138..141, green at 279..282, yellow at 418..421;
// the last segment ends one unit above zero green, at (248, 1, 0).
QRgb RampColor(int i) {
  constexpr int m = kChannelMax;
  if (i <= 138) return qRgb(0, Rise(i, 0, 138, m), m);
  if (i <= 141) return qRgb(0, m, m);
  if (i <= 279) return qRgb(0, m, m - Rise(i, 141, 279, m));
  if (i <= 282) return qRgb(0, m, 0);
  if (i <= 418) return qRgb(Rise(i, 282, 418, m), m, 0);
  if (i <= 421) return qRgb(m, m, 0);
  return qRgb(m, m - Rise(i, 421, kGradientLast, m - 1), 0);
}

TGradientTable MakeTable() {
  TGradientTable table{};
  for (int i = 0; i < kGradientWidth; ++i) table[static_cast<std::size_t>(i)] = RampColor(i);
  return table;
}

}  // namespace

const TGradientTable& GradientTable() {
  static const TGradientTable table = MakeTable();
  return table;
}

QImage GradientImage() {
  QImage image(kGradientWidth, 1, QImage::Format_RGB32);
  const TGradientTable& table = GradientTable();
  auto* row = reinterpret_cast<QRgb*>(image.scanLine(0));
  for (int i = 0; i < kGradientWidth; ++i) row[i] = table[static_cast<std::size_t>(i)];
  return image;
}

}  // namespace terravel
