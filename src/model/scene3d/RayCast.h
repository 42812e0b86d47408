#pragma once
// A ray against one triangle of the scene, and the nearest hit of a cast.
#include <limits>

#include "model/scene3d/Camera3D.h"

namespace terravel {

struct TRayHit {
  int Polygon = -1;
  double T = std::numeric_limits<double>::infinity();  // distance along the ray
};

// The distance along the ray to the triangle, borders included; infinity when it misses.
double RayTriangle(const TRay& ray, const TVec3& a, const TVec3& b, const TVec3& c);

}  // namespace terravel
