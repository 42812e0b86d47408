#include "model/scene3d/MeshBuffers.h"

#include <algorithm>
#include <cmath>

#include "model/document/Orientation.h"
#include "model/editor/Editor.h"
#include "model/view/ViewTransform.h"

namespace terravel {

namespace {

// A node at an infinite or undefined place has no place in the scene's bounds or a framing.
void AddFinite(std::vector<TVec3>& points, const TVec3& p) {
  if (std::isfinite(p.X) && std::isfinite(p.Y) && std::isfinite(p.Z)) points.push_back(p);
}

// Where the top view shows a node: snapped while it is dragged away from its base.
void DisplayXY(const TEditor& editor, const T3DCoord& node, float& x, float& y) {
  const TProjectValues& v = editor.Values;
  x = node.X;
  y = node.Y;
  if (editor.SnapToGrid && v.GridX > 0 && v.GridY > 0) {
    if (node.X != node.BaseX) x = SnapValue(node.X, v.GridX);
    if (node.Y != node.BaseY) y = SnapValue(node.Y, v.GridY);
  }
}

// The runs of consecutive vertices in a sorted list.
std::vector<TVertexRun> Runs(const std::vector<int>& sorted) {
  std::vector<TVertexRun> runs;
  for (int v : sorted) {
    if (!runs.empty() && runs.back().First + runs.back().Count == v)
      ++runs.back().Count;
    else
      runs.push_back({v, 1});
  }
  return runs;
}

}  // namespace

std::size_t TMeshUpdate::VertexBytes() const {
  std::size_t bytes = 0;
  for (const TVertexRun& run : Vertices) bytes += static_cast<std::size_t>(run.Count) * sizeof(TMeshVertex);
  return bytes;
}

void TMeshBuffers::SetExaggeration(float factor) {
  factor = std::clamp(factor, kMinExaggeration, kMaxExaggeration);
  if (factor == exaggeration_) return;
  exaggeration_ = factor;
  stale_ = true;
}

void TMeshBuffers::ReadNode(const TEditor& editor, int index, TMeshVertex& vertex) const {
  const T3DCoord& node = editor.Nodes[index];
  float x = 0;
  float y = 0;
  DisplayXY(editor, node, x, y);
  vertex.X = x;
  vertex.Y = -y;
  vertex.Z = node.Z * exaggeration_;
  vertex.Height = node.Z;
}

bool TMeshBuffers::ReadCorners(const TEditor& editor, std::vector<std::array<int, 3>>& corners) const {
  const int nodes = editor.Nodes.Count();
  const auto valid = [nodes](int i) { return i >= 0 && i < nodes; };
  corners.resize(static_cast<std::size_t>(editor.Polygons.Count()));
  bool same = corners_.size() == corners.size();
  for (int i = 0; i < editor.Polygons.Count(); ++i) {
    const TPoly& p = editor.Polygons[i];
    std::array<int, 3> c{p.Node1, p.Node2, p.Node3};
    if (!valid(c[0]) || !valid(c[1]) || !valid(c[2])) c = {-1, -1, -1};
    corners[static_cast<std::size_t>(i)] = c;
    if (same) {
      const std::array<int, 3>& was = corners_[static_cast<std::size_t>(i)];
      same = was[0] == c[0] && was[1] == c[1] && was[2] == c[2];
    }
  }
  return same;
}

bool TMeshBuffers::Shown(int polygon) const {
  return polygon >= 0 && static_cast<std::size_t>(polygon) < corners_.size() && corners_[static_cast<std::size_t>(polygon)][0] >= 0;
}

void TMeshBuffers::ComputeNormal(const TMeshIndex& index, int vertex) {
  TVec3 sum;
  for (const int polygon : index.PolygonsOf(vertex)) {
    if (!Shown(polygon)) continue;
    const std::array<int, 3>& c = corners_[static_cast<std::size_t>(polygon)];
    const TVec3 a = Position(c[0]);
    TVec3 n = Cross(Position(c[1]) - a, Position(c[2]) - a);
    // Ground and sky alike are lit from above: the face normal that points up counts.
    if (n.Z < 0) n = n * -1;
    sum = sum + n;  // weighted by area
  }
  const TVec3 n = Length(sum) > 0 ? Normalized(sum) : TVec3{0, 0, 1};
  TMeshVertex& v = vertices_[static_cast<std::size_t>(vertex)];
  v.NX = static_cast<float>(n.X);
  v.NY = static_cast<float>(n.Y);
  v.NZ = static_cast<float>(n.Z);
}

void TMeshBuffers::BuildTriangles(const TEditor& editor) {
  ground_.clear();
  sky_.clear();
  isGround_.assign(corners_.size(), true);
  for (std::size_t i = 0; i < corners_.size(); ++i) {
    const std::array<int, 3>& c = corners_[i];
    if (c[0] < 0) continue;
    const bool ground = IsGround(editor.Nodes[c[0]], editor.Nodes[c[1]], editor.Nodes[c[2]]);
    isGround_[i] = ground;
    auto& list = ground ? ground_ : sky_;
    for (int corner : c) list.push_back(static_cast<std::uint32_t>(corner));
  }
}

bool TMeshBuffers::BuildSelection(const TEditor& editor) {
  // Nothing selected before or now: nothing to look through.
  if (editor.State.SelectedNodeCount() == 0 && editor.State.SelectedPolygonCount() == 0 &&
      selectedTriangles_.empty() && selectedNodes_.empty())
    return false;
  std::vector<std::uint32_t> triangles;
  std::vector<std::uint32_t> nodes;
  std::vector<int> polygons;
  for (std::size_t i = 0; i < corners_.size(); ++i) {
    if (corners_[i][0] < 0 || !editor.Polygons[static_cast<int>(i)].Selected) continue;
    polygons.push_back(static_cast<int>(i));
    for (int corner : corners_[i]) triangles.push_back(static_cast<std::uint32_t>(corner));
  }
  for (int i = 0; i < editor.Nodes.Count(); ++i)
    if (editor.Nodes[i].Selected) nodes.push_back(static_cast<std::uint32_t>(i));
  if (triangles == selectedTriangles_ && nodes == selectedNodes_ && polygons == selectedPolygons_) return false;
  selectedTriangles_ = std::move(triangles);
  selectedNodes_ = std::move(nodes);
  selectedPolygons_ = std::move(polygons);
  return true;
}

bool TMeshBuffers::UpdateSelection(const TEditor& editor, const std::vector<int>& nodes,
                                   const std::vector<int>& polygons) {
  bool changed = false;
  for (int i : nodes) {
    if (i < 0 || i >= editor.Nodes.Count() || static_cast<std::size_t>(i) >= vertices_.size()) continue;
    const auto v = static_cast<std::uint32_t>(i);
    const auto at = std::lower_bound(selectedNodes_.begin(), selectedNodes_.end(), v);
    const bool there = at != selectedNodes_.end() && *at == v;
    if (editor.Nodes[i].Selected == there) continue;
    if (there) {
      selectedNodes_.erase(at);
    } else {
      selectedNodes_.insert(at, v);
    }
    changed = true;
  }
  for (int i : polygons) {
    if (i < 0 || i >= editor.Polygons.Count() || static_cast<std::size_t>(i) >= corners_.size()) continue;
    const std::array<int, 3>& c = corners_[static_cast<std::size_t>(i)];
    const bool wanted = c[0] >= 0 && editor.Polygons[i].Selected;
    const auto at = std::lower_bound(selectedPolygons_.begin(), selectedPolygons_.end(), i);
    const bool there = at != selectedPolygons_.end() && *at == i;
    if (wanted == there) continue;
    const auto k = selectedTriangles_.begin() + 3 * (at - selectedPolygons_.begin());
    if (there) {
      selectedPolygons_.erase(at);
      selectedTriangles_.erase(k, k + 3);
    } else {
      selectedPolygons_.insert(at, i);
      selectedTriangles_.insert(k, {static_cast<std::uint32_t>(c[0]), static_cast<std::uint32_t>(c[1]),
                                    static_cast<std::uint32_t>(c[2])});
    }
    changed = true;
  }
  return changed;
}

void TMeshBuffers::ComputeBounds() {
  bounds_ = TBox3();
  for (const TVec3& p : AllPoints()) bounds_.Add(p);
}

void TMeshBuffers::Rebuild(const TEditor& editor, TMeshUpdate& update) {
  const int count = editor.Nodes.Count();
  vertices_.assign(static_cast<std::size_t>(count), TMeshVertex());
  for (int i = 0; i < count; ++i) ReadNode(editor, i, vertices_[static_cast<std::size_t>(i)]);
  ReadCorners(editor, corners_);
  // The document may have changed without a change set saying so: the index looks again.
  editor.Index.Check();
  for (int i = 0; i < count; ++i) ComputeNormal(editor.Index, i);
  BuildTriangles(editor);
  BuildSelection(editor);
  ComputeBounds();
  update.Rebuilt = update.Triangles = update.Selection = true;
  if (count > 0) update.Vertices = {{0, count}};
  update.Polygons.resize(corners_.size());
  for (std::size_t i = 0; i < corners_.size(); ++i) update.Polygons[i] = static_cast<int>(i);
  stale_ = false;
}

TMeshUpdate TMeshBuffers::Update(const TEditor& editor) {
  TMeshUpdate update;
  std::vector<std::array<int, 3>> corners;
  if (stale_ || static_cast<int>(vertices_.size()) != editor.Nodes.Count() || !ReadCorners(editor, corners)) {
    Rebuild(editor, update);
    return update;
  }
  // Moved nodes: their position; the polygons around them; the normals of those polygons' corners.
  std::vector<int> moved;
  for (int i = 0; i < editor.Nodes.Count(); ++i) {
    if (TakeNode(editor, i)) moved.push_back(i);
  }
  if (!moved.empty()) {
    TakeMoved(editor, moved, update);
    ComputeBounds();
  }
  update.Selection = BuildSelection(editor);
  return update;
}

bool TMeshBuffers::TakeNode(const TEditor& editor, int index) {
  TMeshVertex now = vertices_[static_cast<std::size_t>(index)];
  ReadNode(editor, index, now);
  TMeshVertex& was = vertices_[static_cast<std::size_t>(index)];
  if (now.X == was.X && now.Y == was.Y && now.Z == was.Z && now.Height == was.Height) return false;
  was = now;
  return true;
}

void TMeshBuffers::TakeMoved(const TEditor& editor, const std::vector<int>& moved, TMeshUpdate& update) {
  // Each polygon and vertex once: marked with this update's stamp.
  ++stamp_;
  vertexStamps_.resize(vertices_.size(), 0);
  polygonStamps_.resize(corners_.size(), 0);
  std::vector<int> changed;
  const auto touch = [&](int v) {
    if (vertexStamps_[static_cast<std::size_t>(v)] == stamp_) return;
    vertexStamps_[static_cast<std::size_t>(v)] = stamp_;
    changed.push_back(v);
  };
  for (int v : moved) {
    touch(v);
    for (const int polygon : editor.Index.PolygonsOf(v)) {
      if (!Shown(polygon)) continue;
      if (polygonStamps_[static_cast<std::size_t>(polygon)] == stamp_) continue;
      polygonStamps_[static_cast<std::size_t>(polygon)] = stamp_;
      update.Polygons.push_back(polygon);
      for (int corner : corners_[static_cast<std::size_t>(polygon)]) touch(corner);
    }
  }
  std::sort(update.Polygons.begin(), update.Polygons.end());
  std::sort(changed.begin(), changed.end());
  for (int v : changed) ComputeNormal(editor.Index, v);
  update.Vertices = Runs(changed);
  // A moved corner may turn a polygon over: ground becomes sky or back.
  for (int polygon : update.Polygons) {
    const std::array<int, 3>& c = corners_[static_cast<std::size_t>(polygon)];
    if (IsGround(editor.Nodes[c[0]], editor.Nodes[c[1]], editor.Nodes[c[2]]) != isGround_[static_cast<std::size_t>(polygon)]) {
      BuildTriangles(editor);
      update.Triangles = true;
      break;
    }
  }
}

TMeshUpdate TMeshBuffers::UpdateNodes(const TEditor& editor, const std::vector<int>& nodes, bool selection) {
  if (stale_ || static_cast<int>(vertices_.size()) != editor.Nodes.Count() ||
      corners_.size() != static_cast<std::size_t>(editor.Polygons.Count())) {
    return Update(editor);
  }
  TMeshUpdate update;
  // The bounds grow with the moved vertices; only a vertex that left the boundary can shrink them,
  // and then they are measured again.
  bool remeasure = false;
  std::vector<int> moved;
  for (int i : nodes) {
    if (i < 0 || i >= editor.Nodes.Count()) continue;
    const TVec3 was = Position(i);
    if (!TakeNode(editor, i)) continue;
    moved.push_back(i);
    remeasure = remeasure || was.X == bounds_.Min.X || was.Y == bounds_.Min.Y || was.Z == bounds_.Min.Z ||
                was.X == bounds_.Max.X || was.Y == bounds_.Max.Y || was.Z == bounds_.Max.Z;
  }
  if (!moved.empty()) {
    TakeMoved(editor, moved, update);
    if (remeasure) {
      ComputeBounds();
    } else {
      for (int v : moved) bounds_.Add(Position(v));
    }
  }
  if (selection) update.Selection = BuildSelection(editor);
  return update;
}

std::vector<TVec3> TMeshBuffers::SelectionPoints() const {
  std::vector<TVec3> points;
  for (std::uint32_t v : selectedNodes_) AddFinite(points, Position(static_cast<int>(v)));
  for (std::uint32_t v : selectedTriangles_) AddFinite(points, Position(static_cast<int>(v)));
  return points;
}

std::vector<TVec3> TMeshBuffers::AllPoints() const {
  std::vector<TVec3> points;
  points.reserve(vertices_.size());
  for (std::size_t i = 0; i < vertices_.size(); ++i) AddFinite(points, Position(static_cast<int>(i)));
  return points;
}

}  // namespace terravel
