#include "render/LineClip.h"

#include <cmath>

#include "render/Rounding.h"

namespace terravel {

namespace {

enum : int { kLeft = 1, kRight = 2, kTop = 4, kBottom = 8 };

struct TBox {
  long long Left, Top, Right, Bottom;
};

int OutCode(const TLineEnd& p, const TBox& box) {
  int code = 0;
  if (p.X < box.Left) code |= kLeft;
  if (p.X > box.Right) code |= kRight;
  if (p.Y < box.Top) code |= kTop;
  if (p.Y > box.Bottom) code |= kBottom;
  return code;
}

}  // namespace

bool ClipGradientLine(TLineEnd& a, TLineEnd& b, long long left, long long top, long long right,
                      long long bottom) {
  using Extended = long double;
  const TBox box{left, top, right, bottom};
  int codeA = OutCode(a, box), codeB = OutCode(b, box);
  // Most edges of a large mesh lie wholly inside or wholly beside the view.
  if ((codeA | codeB) == 0) return true;
  if ((codeA & codeB) != 0) return false;
  const TLineEnd start = a;  // every move is measured along the unclipped segment from here
  const Extended dx = Extended(b.X) - a.X, dy = Extended(b.Y) - a.Y, dz = Extended(b.Z) - a.Z;
  // Each end moves at most twice; rounding near a corner can ask for a few more moves.
  for (int moves = 0; moves < 8; ++moves) {
    if ((codeA | codeB) == 0) return true;
    if ((codeA & codeB) != 0) return false;
    const bool moveA = codeA != 0;
    TLineEnd& p = moveA ? a : b;
    const int code = moveA ? codeA : codeB;
    if ((code & (kLeft | kRight)) != 0) {
      // The other end lies on the far side of this border, so dx is not 0.
      const long long border = (code & kLeft) != 0 ? box.Left : box.Right;
      const Extended distance = Extended(border) - start.X;
      p.X = border;
      p.Y = start.Y + static_cast<long long>(RoundHalfEven(dy / dx * distance));
      p.Z = static_cast<double>(start.Z + dz / dx * distance);
    } else {
      const long long border = (code & kTop) != 0 ? box.Top : box.Bottom;
      const Extended distance = Extended(border) - start.Y;
      p.Y = border;
      p.X = start.X + static_cast<long long>(RoundHalfEven(dx / dy * distance));
      p.Z = static_cast<double>(start.Z + dz / dy * distance);
    }
    (moveA ? codeA : codeB) = OutCode(p, box);
  }
  return (codeA | codeB) == 0;
}

bool ClipSegmentToBox(double& x0, double& y0, double& x1, double& y1, double left, double top, double right,
                      double bottom) {
  const double dx = x1 - x0, dy = y1 - y0;
  double t0 = 0, t1 = 1;
  // Each border: p * t <= q keeps the point inside.
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x0 - left, right - x0, y0 - top, bottom - y0};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0) {
      if (t > t1) return false;
      if (t > t0) t0 = t;
    } else {
      if (t < t0) return false;
      if (t < t1) t1 = t;
    }
  }
  const double sx = x0, sy = y0;
  x0 = sx + t0 * dx;
  y0 = sy + t0 * dy;
  x1 = sx + t1 * dx;
  y1 = sy + t1 * dy;
  return true;
}

}  // namespace terravel
