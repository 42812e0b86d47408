#include "model/scene3d/Scene3D.h"

#include <cmath>

namespace terravel {

TMeshUpdate TScene3D::Sync(const TEditor& editor) {
  TMeshUpdate update = mesh_.Update(editor);
  if (!update.Empty()) grid_.Apply(mesh_, update);
  return update;
}

TPickHit TScene3D::PickAt(const TCamera3D& camera, double x, double y, double nodeRadius) const {
  const TRay ray = camera.RayThrough(x, y);
  const TRayHit surface = grid_.Cast(mesh_, ray);
  // Nodes first, as in the top view: the nearest on screen; among equals the later one, as it is
  // drawn over the earlier. A node hidden behind the surface does not count.
  const TMat4 vp = camera.ViewProjection();
  const TVec3 eye = camera.Eye();
  const double w = camera.Width();
  const double h = camera.Height();
  const double r2 = nodeRadius * nodeRadius;
  int node = -1;
  double nodeDistance = r2;
  const auto& vertices = mesh_.Vertices();
  for (std::size_t i = 0; i < vertices.size(); ++i) {
    const TMeshVertex& v = vertices[i];
    const TVec4 clip = vp * TVec4{v.X, v.Y, v.Z, 1};
    if (clip.W <= 0) continue;
    const double dx = (clip.X / clip.W + 1) / 2 * w - x;
    const double dy = (1 - clip.Y / clip.W) / 2 * h - y;
    const double d2 = dx * dx + dy * dy;
    if (d2 > nodeDistance) continue;
    const TVec3 p{v.X, v.Y, v.Z};
    const TVec3 toNode = p - eye;
    const double along = Length(toNode);
    // Hidden: the surface meets the line to the node clearly before the node.
    const TRayHit before = grid_.Cast(mesh_, TRay{eye, Normalized(toNode)});
    if (before.T < along * (1 - 1e-4)) continue;
    node = static_cast<int>(i);
    nodeDistance = d2;
  }
  if (node >= 0) return {TPickKind::Node, node};
  if (surface.Polygon >= 0) return {TPickKind::Polygon, surface.Polygon};
  return {};
}

}  // namespace terravel
