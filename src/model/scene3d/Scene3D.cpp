#include "model/scene3d/Scene3D.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "model/editor/Editor.h"
#include "model/formats/FiniteCoordinates.h"
#include "model/history/ChangeSet.h"

namespace terravel {

TMeshUpdate TScene3D::Sync(const TEditor& editor) {
  TMeshUpdate update = mesh_.Update(editor);
  if (!update.Empty()) {
    grid_.Apply(mesh_, update);
    const std::string text = NonFiniteCoordinateText(editor.Nodes);
    note_ = text.empty() ? text : "Not shown: " + text;
  }
  return update;
}

TMeshUpdate TScene3D::Apply(const TEditor& editor, const TChangeSet& changes) {
  // A note about nodes that are not finite numbers is measured over the whole document: while one
  // is shown, or when a moved node is not finite, the document is compared as a whole.
  const auto finite = [&editor](int i) {
    if (i < 0 || i >= editor.Nodes.Count()) return true;
    const T3DCoord& node = editor.Nodes[i];
    return std::isfinite(node.X) && std::isfinite(node.Y) && std::isfinite(node.Z);
  };
  if (changes.Topology() || !note_.empty() || !std::all_of(changes.MovedNodes.begin(), changes.MovedNodes.end(), finite)) {
    return Sync(editor);
  }
  // A selection that names its records is taken record by record; otherwise every flag is read.
  const bool listed = changes.Selection && changes.SelectionListed;
  TMeshUpdate update = mesh_.UpdateNodes(editor, changes.MovedNodes, changes.Selection && !listed);
  if (listed && mesh_.UpdateSelection(editor, changes.SelectionNodes, changes.SelectionPolygons)) update.Selection = true;
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
  struct TCandidate {
    double Distance2;
    int Index;
  };
  std::vector<TCandidate> candidates;
  const auto& vertices = mesh_.Vertices();
  // A cheap first look: the angle between the ray and the line to the node, against the angle the
  // radius spans at the centre of the view, widened for the corners of the view (where a pixel
  // spans a smaller angle) and a margin. Only the nodes that pass are projected.
  const double tanHalf = std::tan(TCamera3D::kFieldOfView * 3.14159265358979323846 / 360);
  const double k = (nodeRadius + 1) * 2 * tanHalf / h * 1.6;
  const float k2 = static_cast<float>(k * k);
  const float ex = static_cast<float>(eye.X), ey = static_cast<float>(eye.Y), ez = static_cast<float>(eye.Z);
  const float rx = static_cast<float>(ray.Direction.X), ry = static_cast<float>(ray.Direction.Y),
              rz = static_cast<float>(ray.Direction.Z);
  for (std::size_t i = 0; i < vertices.size(); ++i) {
    const TMeshVertex& v = vertices[i];
    const float vx = v.X - ex, vy = v.Y - ey, vz = v.Z - ez;
    const float along = vx * rx + vy * ry + vz * rz;
    if (along <= 0) continue;
    const float across2 = vx * vx + vy * vy + vz * vz - along * along;
    if (across2 > k2 * along * along) continue;
    const TVec4 clip = vp * TVec4{v.X, v.Y, v.Z, 1};
    if (clip.W <= 0) continue;
    const double dx = (clip.X / clip.W + 1) / 2 * w - x;
    const double dy = (1 - clip.Y / clip.W) / 2 * h - y;
    const double d2 = dx * dx + dy * dy;
    if (d2 <= r2) candidates.push_back({d2, static_cast<int>(i)});
  }
  // The nearest on screen first (the later of equals); the first one the surface does not hide
  // wins, so that only a few need a ray of their own.
  std::sort(candidates.begin(), candidates.end(), [](const TCandidate& a, const TCandidate& b) {
    return a.Distance2 != b.Distance2 ? a.Distance2 < b.Distance2 : a.Index > b.Index;
  });
  int node = -1;
  for (const TCandidate& candidate : candidates) {
    const TVec3 toNode = mesh_.Position(candidate.Index) - eye;
    const double reach = Length(toNode);
    // Hidden: the surface meets the line to the node clearly before the node.
    const TRayHit before = grid_.Cast(mesh_, TRay{eye, Normalized(toNode)});
    if (before.T < reach * (1 - 1e-4)) continue;
    node = candidate.Index;
    break;
  }
  if (node >= 0) return {TPickKind::Node, node};
  if (surface.Polygon >= 0) return {TPickKind::Polygon, surface.Polygon};
  return {};
}

}  // namespace terravel
