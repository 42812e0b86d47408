#pragma once
// Where the 3-D view shows each node: its vertex seen through the camera, in pixels from the top
// left corner. A region drawn over the view selects by these places with the top view's rules.
#include <vector>

#include "model/interaction/RegionSelection.h"
#include "model/scene3d/Camera3D.h"
#include "model/scene3d/MeshBuffers.h"

namespace terravel {

// One place a vertex (a node); a vertex behind the eye, before the near plane or beyond the far
// one, or at no finite place, is not shown.
std::vector<TRegionPlace> ScreenPlaces(const TMeshBuffers& mesh, const TCamera3D& camera);

}  // namespace terravel
