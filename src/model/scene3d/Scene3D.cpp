#include "model/scene3d/Scene3D.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <span>
#include <vector>

#include "model/editor/Editor.h"
#include "model/formats/FiniteCoordinates.h"
#include "model/history/ChangeSet.h"

namespace terravel {

namespace {

bool SameBits(float a, float b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

bool Finite(const TVec3& p) {
  return std::isfinite(p.X) && std::isfinite(p.Y) && std::isfinite(p.Z);
}

}  // namespace

void TScene3D::TakeDisplaced(const TEditor& editor, const TMeshUpdate& update) {
  const auto& vertices = mesh_.Vertices();
  const auto take = [&](int v) {
    const T3DCoord& node = editor.Nodes[v];
    const TMeshVertex& vertex = vertices[static_cast<std::size_t>(v)];
    const bool displaced = !SameBits(vertex.X, node.X) || !SameBits(vertex.Y, -node.Y);
    std::uint8_t& flag = displaced_[static_cast<std::size_t>(v)];
    displacedCount_ += int(displaced) - int(flag);
    flag = displaced ? 1 : 0;
  };
  if (update.Rebuilt || displaced_.size() != vertices.size()) {
    displaced_.assign(vertices.size(), 0);
    displacedCount_ = 0;
    for (std::size_t v = 0; v < vertices.size(); ++v) take(static_cast<int>(v));
    return;
  }
  for (const TVertexRun& run : update.Vertices)
    for (int v = run.First; v < run.First + run.Count; ++v) take(v);
}

TMeshUpdate TScene3D::Sync(const TEditor& editor) {
  editor_ = &editor;
  TMeshUpdate update = mesh_.Update(editor);
  if (!update.Empty()) {
    // Nodes found moved by comparing may have told nobody: the plan grid looks at every node.
    if (!update.Polygons.empty()) editor.Index.CheckPlan();
    TakeDisplaced(editor, update);
    const std::string text = NonFiniteCoordinateText(editor.Nodes);
    note_ = text.empty() ? text : "Not shown: " + text;
  }
  return update;
}

TMeshUpdate TScene3D::Apply(const TEditor& editor, const TChangeSet& changes) {
  editor_ = &editor;
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
  if (!update.Empty()) TakeDisplaced(editor, update);
  return update;
}

TRayHit TScene3D::Cast(const TRay& ray) const {
  TRayHit best;
  const auto& corners = mesh_.Corners();
  // The nearest hit; among equals the later polygon, whatever order they come in.
  const auto test = [&](int polygon) {
    const std::array<int, 3>& c = corners[static_cast<std::size_t>(polygon)];
    if (c[0] < 0) return;
    const TVec3 a = mesh_.Position(c[0]), b = mesh_.Position(c[1]), d = mesh_.Position(c[2]);
    // A triangle with a corner that is no finite point cannot be met.
    if (!Finite(a) || !Finite(b) || !Finite(d)) return;
    const double t = RayTriangle(ray, a, b, d);
    if (t < best.T || (t == best.T && polygon > best.Polygon && best.Polygon >= 0)) best = {polygon, t};
  };
  // Behind the document (a view that has not caught up): every triangle the scene holds.
  if (editor_ == nullptr || static_cast<std::size_t>(editor_->Polygons.Count()) != corners.size() ||
      static_cast<std::size_t>(editor_->Nodes.Count()) != mesh_.Vertices().size()) {
    for (std::size_t i = 0; i < corners.size(); ++i) test(static_cast<int>(i));
    return best;
  }
  const TMeshIndex& index = editor_->Index;
  // The polygons of nodes the scene shows away from their plan position (snapped while dragged)
  // are not where the plan grid files them: each is tested on its own.
  if (displacedCount_ > 0) {
    for (std::size_t v = 0; v < displaced_.size(); ++v) {
      if (displaced_[v] == 0) continue;
      for (const int polygon : index.PolygonsOf(static_cast<int>(v))) test(polygon);
    }
  }
  // The scene's plan is the world's mirrored in Y: the ray's path is walked over the document's
  // plan grid, nearest cell first, until the best hit lies before the cell being left (a hit at
  // the very border may still have a later equal).
  index.WalkPlan(ray.Origin.X, -ray.Origin.Y, ray.Direction.X, -ray.Direction.Y,
                 [&](std::span<const int> polygons, double leave) {
                   for (const int polygon : polygons) test(polygon);
                   return !(best.T < leave);
                 });
  return best;
}

TPickHit TScene3D::PickAt(const TCamera3D& camera, double x, double y, double nodeRadius) const {
  const TRay ray = camera.RayThrough(x, y);
  const TRayHit surface = Cast(ray);
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
    const TRayHit before = Cast(TRay{eye, Normalized(toNode)});
    if (before.T < reach * (1 - 1e-4)) continue;
    node = candidate.Index;
    break;
  }
  if (node >= 0) return {TPickKind::Node, node};
  if (surface.Polygon >= 0) return {TPickKind::Polygon, surface.Polygon};
  return {};
}

}  // namespace terravel
