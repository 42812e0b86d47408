#include "model/scene3d/ScreenPlaces.h"

#include <cmath>

namespace terravel {

std::vector<TRegionPlace> ScreenPlaces(const TMeshBuffers& mesh, const TCamera3D& camera) {
  // The camera's projection, made once for all the vertices.
  const TMat4 viewProjection = camera.ViewProjection();
  const double width = camera.Width(), height = camera.Height();
  std::vector<TRegionPlace> places;
  places.reserve(mesh.Vertices().size());
  for (const TMeshVertex& v : mesh.Vertices()) {
    TRegionPlace& place = places.emplace_back();
    const TVec4 clip = viewProjection * TVec4{v.X, v.Y, v.Z, 1};
    if (!(clip.W > 0)) continue;
    const double x = (clip.X / clip.W + 1) / 2 * width;
    const double y = (1 - clip.Y / clip.W) / 2 * height;
    const double depth = clip.Z / clip.W;
    if (!std::isfinite(x) || !std::isfinite(y) || !(depth >= -1 && depth <= 1)) continue;
    place = {static_cast<float>(x), static_cast<float>(y), true};
  }
  return places;
}

}  // namespace terravel
