// The second user of CGAL: its constrained Delaunay triangulation stays in this one file.
#include "model/shaping/ConstrainedTriangulation.h"

#include <CGAL/Constrained_Delaunay_triangulation_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Triangulation_vertex_base_with_info_2.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <vector>

#include "model/core/Errors.h"
#include "model/document/Orientation.h"
#include "model/editor/Editor.h"
#include "model/shaping/ShapingScope.h"

namespace terravel {

namespace {

// The node a vertex stands for; vertices made where two constraints cross stand for none.
struct TVertexNode {
  int Index = -1;
  bool Chosen = false;
};

using TKernel = CGAL::Exact_predicates_inexact_constructions_kernel;
using TVertexBase = CGAL::Triangulation_vertex_base_with_info_2<TVertexNode, TKernel>;
using TFaceBase = CGAL::Constrained_triangulation_face_base_2<TKernel>;
using TData = CGAL::Triangulation_data_structure_2<TVertexBase, TFaceBase>;
// Existing polygons may overlap: crossing constraints are allowed.
using TCdt = CGAL::Constrained_Delaunay_triangulation_2<TKernel, TData, CGAL::Exact_predicates_tag>;
using TPoint = TKernel::Point_2;

bool Finite(const T3DCoord& node) {
  return std::isfinite(node.X) && std::isfinite(node.Y);
}

// The existing polygons with area, bucketed by a grid over their bounding boxes, to tell whether
// a point lies in one of them.
class TPolygonCover {
 public:
  TPolygonCover(const TEditor& editor, const std::vector<int>& polygons) : editor_(editor) {
    if (polygons.empty()) return;
    double x0 = INFINITY, y0 = INFINITY, x1 = -INFINITY, y1 = -INFINITY;
    for (const int p : polygons) {
      for (const T3DCoord* node : Corners(p)) {
        x0 = std::min(x0, double(node->X)), x1 = std::max(x1, double(node->X));
        y0 = std::min(y0, double(node->Y)), y1 = std::max(y1, double(node->Y));
      }
    }
    side_ = std::max(1, static_cast<int>(std::sqrt(double(polygons.size()))));
    x0_ = x0, y0_ = y0;
    cellX_ = std::max((x1 - x0) / side_, 1e-9), cellY_ = std::max((y1 - y0) / side_, 1e-9);
    cells_.resize(static_cast<std::size_t>(side_) * side_);
    for (const int p : polygons) {
      const auto c = Corners(p);
      const int cx0 = Cell(std::min({c[0]->X, c[1]->X, c[2]->X}), x0_, cellX_);
      const int cx1 = Cell(std::max({c[0]->X, c[1]->X, c[2]->X}), x0_, cellX_);
      const int cy0 = Cell(std::min({c[0]->Y, c[1]->Y, c[2]->Y}), y0_, cellY_);
      const int cy1 = Cell(std::max({c[0]->Y, c[1]->Y, c[2]->Y}), y0_, cellY_);
      for (int cy = cy0; cy <= cy1; ++cy) {
        for (int cx = cx0; cx <= cx1; ++cx) cells_[static_cast<std::size_t>(cy * side_ + cx)].push_back(p);
      }
    }
  }

  bool Covers(double x, double y) const {
    if (cells_.empty()) return false;
    const auto& cell = cells_[static_cast<std::size_t>(Cell(y, y0_, cellY_) * side_ + Cell(x, x0_, cellX_))];
    for (const int p : cell) {
      const auto c = Corners(p);
      const double d1 = Side(*c[0], *c[1], x, y), d2 = Side(*c[1], *c[2], x, y),
                   d3 = Side(*c[2], *c[0], x, y);
      if ((d1 >= 0 && d2 >= 0 && d3 >= 0) || (d1 <= 0 && d2 <= 0 && d3 <= 0)) return true;
    }
    return false;
  }

 private:
  std::array<const T3DCoord*, 3> Corners(int p) const {
    const TPoly& polygon = editor_.Polygons[p];
    return {&editor_.Nodes[polygon.Node1], &editor_.Nodes[polygon.Node2], &editor_.Nodes[polygon.Node3]};
  }
  // Held to the grid before the conversion: a sliver beside far nodes gives a quotient beyond int.
  int Cell(double value, double origin, double size) const {
    const double at = (value - origin) / size;
    if (!(at >= 0)) return 0;
    return at < side_ ? static_cast<int>(at) : side_ - 1;
  }
  static double Side(const T3DCoord& a, const T3DCoord& b, double x, double y) {
    return (double(b.X) - a.X) * (y - a.Y) - (double(b.Y) - a.Y) * (x - a.X);
  }

  const TEditor& editor_;
  int side_ = 0;
  double x0_ = 0, y0_ = 0, cellX_ = 1, cellY_ = 1;
  std::vector<std::vector<int>> cells_;
};

}  // namespace

TMeshEdit TriangulateNodes(const TEditor& editor, const TTriangulateOptions& options,
                           const TShapingProgress& progress) {
  if (!(options.MaxEdge >= 0) || !std::isfinite(options.MaxEdge)) {
    throw ETerravelError("The maximum edge length must be 0 (no limit) or more.");
  }
  const std::vector<bool> chosen = ChosenNodes(editor);
  const int nodeCount = editor.Nodes.Count();

  // Every polygon whose corners are nodes with finite positions: its sides are constraints.
  std::vector<int> existing;
  std::vector<bool> corner(static_cast<std::size_t>(nodeCount), false);
  for (int p = 0; p < editor.Polygons.Count(); ++p) {
    const TPoly& polygon = editor.Polygons[p];
    const int c[3] = {polygon.Node1, polygon.Node2, polygon.Node3};
    if (std::ranges::any_of(c, [&](int n) { return n < 0 || n >= nodeCount || !Finite(editor.Nodes[n]); }))
      continue;
    for (const int n : c) corner[static_cast<std::size_t>(n)] = true;
    existing.push_back(p);
  }

  std::vector<std::pair<TPoint, TVertexNode>> points;
  for (int i = 0; i < nodeCount; ++i) {
    const auto at = static_cast<std::size_t>(i);
    const T3DCoord& node = editor.Nodes[i];
    if ((chosen[at] || corner[at]) && Finite(node))
      points.push_back({TPoint(node.X, node.Y), {i, chosen[at]}});
  }
  TCdt cdt;
  cdt.insert(points.begin(), points.end());

  // Nodes at one position share a vertex; it counts as chosen when one of them is.
  std::vector<TCdt::Vertex_handle> vertexOf(static_cast<std::size_t>(nodeCount));
  for (auto v = cdt.finite_vertices_begin(); v != cdt.finite_vertices_end(); ++v) {
    vertexOf[static_cast<std::size_t>(v->info().Index)] = v;
  }
  for (const auto& [point, node] : points) {
    auto& v = vertexOf[static_cast<std::size_t>(node.Index)];
    if (v == TCdt::Vertex_handle()) v = cdt.insert(point);
    if (node.Chosen && !v->info().Chosen) v->info() = node;
  }
  TShapingTicker ticker(progress);
  const long long work = static_cast<long long>(existing.size()) + static_cast<long long>(cdt.number_of_faces());
  long long done = 0;
  for (const int p : existing) {
    ticker.Step(++done, work);
    const TPoly& polygon = editor.Polygons[p];
    const int c[3] = {polygon.Node1, polygon.Node2, polygon.Node3};
    for (int k = 0; k < 3; ++k) {
      const auto a = vertexOf[static_cast<std::size_t>(c[k])],
                 b = vertexOf[static_cast<std::size_t>(c[(k + 1) % 3])];
      if (a != b) cdt.insert_constraint(a, b);
    }
  }

  std::vector<int> covering;
  for (const int p : existing) {
    const TPoly& polygon = editor.Polygons[p];
    const T3DCoord &a = editor.Nodes[polygon.Node1], &b = editor.Nodes[polygon.Node2],
                   &c = editor.Nodes[polygon.Node3];
    if ((double(b.X) - a.X) * (double(c.Y) - a.Y) - (double(b.Y) - a.Y) * (double(c.X) - a.X) != 0) {
      covering.push_back(p);
    }
  }
  const TPolygonCover cover(editor, covering);
  const double maxEdge = options.MaxEdge;

  TMeshEdit edit;
  for (auto face = cdt.finite_faces_begin(); face != cdt.finite_faces_end(); ++face) {
    ticker.Step(++done, work);
    int n[3];
    bool keep = true;
    for (int k = 0; k < 3 && keep; ++k) {
      const TVertexNode& node = face->vertex(k)->info();
      keep = node.Index >= 0 && node.Chosen;
      n[k] = node.Index;
    }
    if (!keep) continue;
    const T3DCoord &a = editor.Nodes[n[0]], &b = editor.Nodes[n[1]], &c = editor.Nodes[n[2]];
    if (maxEdge > 0) {
      const auto longer = [maxEdge](const T3DCoord& u, const T3DCoord& w) {
        return std::hypot(double(u.X) - w.X, double(u.Y) - w.Y) > maxEdge;
      };
      if (longer(a, b) || longer(b, c) || longer(c, a)) continue;
    }
    if (cover.Covers((double(a.X) + b.X + c.X) / 3, (double(a.Y) + b.Y + c.Y) / 3)) continue;
    const float sum = SingleOrientationSum(a, b, c);
    if (sum == 0) continue;
    if ((sum > 0) == options.Sky) std::swap(n[1], n[2]);
    TPoly polygon;
    polygon.Node1 = n[0];
    polygon.Node2 = n[1];
    polygon.Node3 = n[2];
    polygon.Texture = kDefaultTexture;
    edit.AddedPolygons.push_back(std::move(polygon));
  }
  return edit;
}

}  // namespace terravel
