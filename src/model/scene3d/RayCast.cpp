#include "model/scene3d/RayCast.h"

#include <cmath>

namespace terravel {

double RayTriangle(const TRay& ray, const TVec3& a, const TVec3& b, const TVec3& c) {
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  const TVec3 e1 = b - a;
  const TVec3 e2 = c - a;
  const TVec3 p = Cross(ray.Direction, e2);
  const double det = Dot(e1, p);
  // Parallel or degenerate (|e1| |e2| is at most half the sum of their squares).
  const double scale = Dot(e1, e1) + Dot(e2, e2);
  if (scale == 0 || std::fabs(det) <= 1e-12 * scale) return kInfinity;
  const double inv = 1 / det;
  const TVec3 s = ray.Origin - a;
  const double u = Dot(s, p) * inv;
  // Borders count: a ray through an edge meets both triangles that share it.
  constexpr double kEdge = 1e-9;
  if (u < -kEdge || u > 1 + kEdge) return kInfinity;
  const TVec3 q = Cross(s, e1);
  const double v = Dot(ray.Direction, q) * inv;
  if (v < -kEdge || u + v > 1 + kEdge) return kInfinity;
  const double t = Dot(e2, q) * inv;
  return t >= 0 ? t : kInfinity;
}

}  // namespace terravel
