#pragma once
// Cutting line segments to a rectangle before they are drawn, so that ends far outside the view
// (a node at 1e30, a large zoom) cost nothing and never reach the pixel loops.

namespace terravel {

// An end of a gradient line: an integer screen point and its Z.
struct TLineEnd {
  long long X = 0;
  long long Y = 0;
  double Z = 0;
};

// Cohen-Sutherland against left..right x top..bottom, the borders counting as inside. An end moved
// onto a border moves along the unclipped segment: the other coordinate by Round(slope * distance),
// Z linearly with the coordinate of that border. False when nothing of the segment is inside.
bool ClipGradientLine(TLineEnd& a, TLineEnd& b, long long left, long long top, long long right,
                      long long bottom);

// The part of the segment inside the box, in floating point (Liang-Barsky). False when none is.
bool ClipSegmentToBox(double& x0, double& y0, double& x1, double& y1, double left, double top, double right,
                      double bottom);

}  // namespace terravel
