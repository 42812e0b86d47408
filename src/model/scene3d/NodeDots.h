#pragma once
// Whether the 3-D view draws a dot for every node: dots closer together on screen than a few
// pixels (on average) would only cover the terrain with a carpet (a black moire on a dense grid),
// so then only the selected nodes get theirs.
#include "model/scene3d/Camera3D.h"

namespace terravel {

inline constexpr double kLeastNodeSpacing = 6;  // pixels

// The mean distance on screen between neighbouring nodes at the focus, for `nodes` nodes spread
// over a plan whose diagonal is `planDiagonal` scene units.
double NodeSpacing(const TCamera3D& camera, double planDiagonal, int nodes);

inline bool AllNodeDotsShown(const TCamera3D& camera, double planDiagonal, int nodes) {
  return NodeSpacing(camera, planDiagonal, nodes) >= kLeastNodeSpacing;
}

}  // namespace terravel
