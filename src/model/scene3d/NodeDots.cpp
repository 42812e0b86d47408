#include "model/scene3d/NodeDots.h"

#include <cmath>
#include <numbers>

namespace terravel {

double NodeSpacing(const TCamera3D& camera, double planDiagonal, int nodes) {
  if (nodes < 2) return kLeastNodeSpacing;
  const double pixelsPerUnit =
      camera.Height() / (2 * camera.Distance * std::tan(TCamera3D::kFieldOfView * std::numbers::pi / 360));
  // n nodes on a square plan of diagonal d stand d / sqrt(2 n) apart.
  return planDiagonal / std::sqrt(2.0 * nodes) * pixelsPerUnit;
}

}  // namespace terravel
