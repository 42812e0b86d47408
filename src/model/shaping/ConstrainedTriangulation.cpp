// The second user of CGAL: its Delaunay and constrained Delaunay triangulations stay in this one
// file.
#include "model/shaping/ConstrainedTriangulation.h"

#include <CGAL/Constrained_Delaunay_triangulation_2.h>
#include <CGAL/Delaunay_triangulation_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Spatial_sort_traits_adapter_2.h>
#include <CGAL/property_map.h>
#include <CGAL/spatial_sort.h>
#include <CGAL/Triangulation_face_base_with_info_2.h>
#include <CGAL/Triangulation_vertex_base_with_info_2.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <unordered_map>
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
// Each face knows its region: the faces reached from it without crossing a constraint.
using TFaceBase =
    CGAL::Triangulation_face_base_with_info_2<int, TKernel,
                                              CGAL::Constrained_triangulation_face_base_2<TKernel>>;
using TData = CGAL::Triangulation_data_structure_2<TVertexBase, TFaceBase>;
// Existing polygons may overlap: crossing constraints are allowed.
using TCdt = CGAL::Constrained_Delaunay_triangulation_2<TKernel, TData, CGAL::Exact_predicates_tag>;
using TPoint = TKernel::Point_2;
using TVertex = TCdt::Vertex_handle;
// Without constraints the plain Delaunay triangulation, which inserts faster; each vertex knows
// its node.
using TDelaunay = CGAL::Delaunay_triangulation_2<
    TKernel, CGAL::Triangulation_data_structure_2<CGAL::Triangulation_vertex_base_with_info_2<int, TKernel>>>;

bool Finite(const T3DCoord& node) {
  return std::isfinite(node.X) && std::isfinite(node.Y);
}

// Whether every point lies on one line (or on one spot): then no triangle can be made.
template <typename Info>
bool AllOnOneLine(const std::vector<std::pair<TPoint, Info>>& points) {
  std::size_t second = 1;
  while (second < points.size() && points[second].first == points[0].first) ++second;
  for (std::size_t k = second + 1; k < points.size(); ++k) {
    if (CGAL::orientation(points[0].first, points[second].first, points[k].first) != CGAL::COLLINEAR)
      return false;
  }
  return true;
}

// The vertex a node's position took, for nodes that share a position with another (the range
// insertion keeps one vertex per position).
class TSharedPositions {
 public:
  void Want(const TPoint& point) { vertices_.emplace(Key(point), TVertex()); }
  bool Empty() const { return vertices_.empty(); }
  void Offer(TVertex v) {
    const auto found = vertices_.find(Key(v->point()));
    if (found != vertices_.end()) found->second = v;
  }
  TVertex At(const TPoint& point) const { return vertices_.at(Key(point)); }

 private:
  struct THash {
    std::size_t operator()(const std::pair<double, double>& key) const {
      const auto x = std::bit_cast<std::uint64_t>(key.first), y = std::bit_cast<std::uint64_t>(key.second);
      return std::hash<std::uint64_t>()(x * 0x9E3779B97F4A7C15ull ^ y);
    }
  };
  // Plus zero turns a negative zero into the positive one, which is the same position.
  static std::pair<double, double> Key(const TPoint& point) { return {point.x() + 0.0, point.y() + 0.0}; }
  std::unordered_map<std::pair<double, double>, TVertex, THash> vertices_;
};

// Marks the side between a and b as a constraint when it is already a side of the triangulation,
// and tells so. Both ends are looked round in turn, so the cost is that of the end with fewer
// neighbours, however many the other has. `fewer` is set to the end that was looked round fully
// when no side joins them, and `turns` to its neighbour count.
bool MarkSide(const TCdt& cdt, TVertex a, TVertex b, TVertex& fewer, int& turns) {
  TCdt::Edge_circulator around[2] = {cdt.incident_edges(a), cdt.incident_edges(b)};
  const TCdt::Edge_circulator start[2] = {around[0], around[1]};
  const TVertex from[2] = {a, b}, to[2] = {b, a};
  for (turns = 1;; ++turns) {
    for (int k = 0; k < 2; ++k) {
      const auto [face, i] = *around[k];
      const int other = 3 - face->index(from[k]) - i;
      if (face->vertex(other) == to[k]) {
        face->set_constraint(i, true);
        face->neighbor(i)->set_constraint(cdt.mirror_index(face, i), true);
        return true;
      }
      if (++around[k] == start[k]) {
        fewer = from[k];
        return false;
      }
    }
  }
}

// Three vertices in a fixed order, to find a face among the existing polygons.
using TCornerKey = std::array<std::uintptr_t, 3>;
TCornerKey KeyOf(TVertex a, TVertex b, TVertex c) {
  TCornerKey key{reinterpret_cast<std::uintptr_t>(&*a), reinterpret_cast<std::uintptr_t>(&*b),
                 reinterpret_cast<std::uintptr_t>(&*c)};
  std::sort(key.begin(), key.end());
  return key;
}

// Whether points lie in one of the existing polygons with area, answered for all of them at
// once. The points are filed in a grid of about one cell per point over their own bounding box;
// each polygon then visits the cells its triangle reaches (not every cell of its bounding box) and
// tests the points there. Memory is that of the points, however far the polygons reach.
class TCoverQuery {
 public:
  explicit TCoverQuery(const TEditor& editor) : editor_(editor) {}

  // The number of the point's answer.
  int Ask(double x, double y) {
    points_.push_back({x, y});
    return static_cast<int>(points_.size()) - 1;
  }

  // Per point asked: whether one of the polygons covers it.
  std::vector<bool> Answer(const std::vector<int>& polygons) {
    covered_.assign(points_.size(), false);
    if (points_.empty() || polygons.empty()) return covered_;
    double x0 = INFINITY, y0 = INFINITY, x1 = -INFINITY, y1 = -INFINITY;
    for (const auto& [x, y] : points_) {
      x0 = std::min(x0, x), x1 = std::max(x1, x);
      y0 = std::min(y0, y), y1 = std::max(y1, y);
    }
    // Cells about square: columns over rows as wide over high, their product the point count.
    const double count = double(points_.size());
    const double wide = std::max(x1 - x0, 1e-300), high = std::max(y1 - y0, 1e-300);
    columns_ = ClampedCount(std::sqrt(count * wide / high), count);
    rows_ = ClampedCount(count / columns_, count);
    x0_ = x0, y0_ = y0;
    cellX_ = std::max(wide / columns_, 1e-9), cellY_ = std::max(high / rows_, 1e-9);
    // Room for the rounding of the cell arithmetic, far above it and far below a cell.
    padX_ = 1e-9 * (std::fabs(x0) + std::fabs(x1)) + 1e-6 * cellX_;
    padY_ = 1e-9 * (std::fabs(y0) + std::fabs(y1)) + 1e-6 * cellY_;
    // The points of cell k are order_[first_[k]] .. order_[first_[k + 1] - 1].
    first_.assign(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_) + 1, 0);
    std::vector<std::size_t> cellOf(points_.size());
    for (std::size_t k = 0; k < points_.size(); ++k) {
      cellOf[k] = Cell(points_[k].second, points_[k].first);
      ++first_[cellOf[k] + 1];
    }
    for (std::size_t k = 1; k < first_.size(); ++k) first_[k] += first_[k - 1];
    order_.resize(points_.size());
    std::vector<std::size_t> next(first_.begin(), first_.end() - 1);
    for (std::size_t k = 0; k < points_.size(); ++k) order_[next[cellOf[k]]++] = static_cast<int>(k);
    for (const int p : polygons) Visit(p, x0 - padX_, x1 + padX_, y0 - padY_, y1 + padY_);
    return covered_;
  }

 private:
  static int ClampedCount(double wanted, double most) {
    return static_cast<int>(std::clamp(std::round(wanted), 1.0, std::max(most, 1.0)));
  }

  std::array<const T3DCoord*, 3> Corners(int p) const {
    const TPoly& polygon = editor_.Polygons[p];
    return {&editor_.Nodes[polygon.Node1], &editor_.Nodes[polygon.Node2], &editor_.Nodes[polygon.Node3]};
  }
  // Clamped before the conversion: a far or non-finite value goes to the first or last cell.
  static int Step(double value, double origin, double size, int count) {
    const double step = (value - origin) / size;
    if (!(step > 0)) return 0;
    return step >= count - 1 ? count - 1 : static_cast<int>(step);
  }
  std::size_t Cell(int row, double x) const {
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) +
           static_cast<std::size_t>(Step(x, x0_, cellX_, columns_));
  }
  std::size_t Cell(double y, double x) const { return Cell(Step(y, y0_, cellY_, rows_), x); }
  static double Side(const T3DCoord& a, const T3DCoord& b, double x, double y) {
    return (double(b.X) - a.X) * (y - a.Y) - (double(b.Y) - a.Y) * (x - a.X);
  }

  // In each row of cells the triangle reaches, the points in the cells from the least to the
  // greatest X of the triangle within the row's band. A triangle wholly outside the points'
  // (padded) bounding box holds none of them.
  void Visit(int p, double left, double right, double bottomY, double topY) {
    const auto c = Corners(p);
    const double xs[3] = {c[0]->X, c[1]->X, c[2]->X}, ys[3] = {c[0]->Y, c[1]->Y, c[2]->Y};
    if (std::max({xs[0], xs[1], xs[2]}) < left || std::min({xs[0], xs[1], xs[2]}) > right ||
        std::max({ys[0], ys[1], ys[2]}) < bottomY || std::min({ys[0], ys[1], ys[2]}) > topY)
      return;
    const int top = Step(std::min({ys[0], ys[1], ys[2]}), y0_, cellY_, rows_);
    const int bottom = Step(std::max({ys[0], ys[1], ys[2]}), y0_, cellY_, rows_);
    for (int row = top; row <= bottom; ++row) {
      const double low = row == top ? -INFINITY : y0_ + row * cellY_ - padY_;
      const double high = row == bottom ? INFINITY : y0_ + (row + 1) * cellY_ + padY_;
      double least = INFINITY, most = -INFINITY;
      for (int k = 0; k < 3; ++k) {
        const T3DCoord &u = *c[k], &w = *c[(k + 1) % 3];
        // The part of the side u-w inside the band, as a range of the parameter t from u to w.
        double t0 = 0, t1 = 1;
        const double dy = double(w.Y) - u.Y;
        if (dy == 0) {
          if (u.Y < low || u.Y > high) continue;
        } else {
          const double ta = (low - u.Y) / dy, tb = (high - u.Y) / dy;
          t0 = std::max(t0, std::min(ta, tb)), t1 = std::min(t1, std::max(ta, tb));
          if (!(t0 <= t1)) continue;
        }
        const double dx = double(w.X) - u.X;
        for (const double t : {t0, t1}) {
          const double x = t == 0 ? double(u.X) : t == 1 ? double(w.X) : u.X + t * dx;
          least = std::min(least, x), most = std::max(most, x);
        }
      }
      if (!(least <= most)) continue;
      const std::size_t last = Cell(row, most + padX_);
      for (std::size_t cell = Cell(row, least - padX_); cell <= last; ++cell) {
        for (std::size_t k = first_[cell]; k < first_[cell + 1]; ++k) {
          const auto at = static_cast<std::size_t>(order_[k]);
          if (covered_[at]) continue;
          const auto [x, y] = points_[at];
          const double d1 = Side(*c[0], *c[1], x, y), d2 = Side(*c[1], *c[2], x, y),
                       d3 = Side(*c[2], *c[0], x, y);
          if ((d1 >= 0 && d2 >= 0 && d3 >= 0) || (d1 <= 0 && d2 <= 0 && d3 <= 0)) covered_[at] = true;
        }
      }
    }
  }

  const TEditor& editor_;
  std::vector<std::pair<double, double>> points_;
  std::vector<bool> covered_;
  int columns_ = 0, rows_ = 0;
  double x0_ = 0, y0_ = 0, cellX_ = 1, cellY_ = 1, padX_ = 0, padY_ = 0;
  std::vector<std::size_t> first_;
  std::vector<int> order_;
};

// Numbers the regions: faces joined across sides that are no constraint. No side of an existing
// polygon is such a side, so every face of a region lies in the same existing polygons, and one
// look at the cover answers for the whole region. A region reaching the hull through such a side
// lies in no polygon at all (a polygon holding it would reach beyond the hull): those regions are
// flagged in `open`.
std::vector<bool> NumberRegions(TCdt& cdt) {
  for (auto face = cdt.all_faces_begin(); face != cdt.all_faces_end(); ++face) face->info() = -1;
  std::vector<bool> open;
  std::vector<TCdt::Face_handle> stack;
  for (auto start = cdt.finite_faces_begin(); start != cdt.finite_faces_end(); ++start) {
    if (start->info() >= 0) continue;
    const int region = static_cast<int>(open.size());
    open.push_back(false);
    start->info() = region;
    stack.push_back(start);
    while (!stack.empty()) {
      const TCdt::Face_handle face = stack.back();
      stack.pop_back();
      for (int i = 0; i < 3; ++i) {
        const TCdt::Face_handle next = face->neighbor(i);
        if (face->is_constrained(i) || next->info() >= 0) continue;
        if (cdt.is_infinite(next)) {
          open.back() = true;
          continue;
        }
        next->info() = region;
        stack.push_back(next);
      }
    }
  }
  return open;
}

// A corner's stored X and Y.
struct TPlace {
  float X = 0, Y = 0;
};

// A face's corners: their nodes and stored positions, in the triangulation's order.
struct TCorners {
  std::array<int, 3> Node;
  std::array<TPlace, 3> At;

  // Whether a side is longer (in X and Y) than a positive limit.
  bool Longer(double maxEdge) const {
    for (int k = 0; k < 3; ++k) {
      const TPlace &u = At[static_cast<std::size_t>(k)], &w = At[static_cast<std::size_t>((k + 1) % 3)];
      if (std::hypot(double(u.X) - w.X, double(u.Y) - w.Y) > maxEdge) return true;
    }
    return false;
  }
};

// Appends the face as a triangle, its corners in the order that gives the wanted winding by the
// exact orientation (the triangulation's faces turn anticlockwise with Y up, which is sky with Y
// down), rotated until the single-precision rule agrees; counted as left out when no rotation
// makes it agree.
void Add(TCorners c, bool sky, TTriangulateResult& result) {
  auto& [n, at] = c;
  if (!sky) std::swap(n[1], n[2]), std::swap(at[1], at[2]);
  for (int turn = 0; turn < 3; ++turn) {
    const float sum = SingleOrientationSum(at[0], at[1], at[2]);
    if (sky ? sum < 0 : sum > 0) {
      result.Triangles.push_back({n[0], n[1], n[2]});
      return;
    }
    std::rotate(n.begin(), n.begin() + 1, n.end());
    std::rotate(at.begin(), at.begin() + 1, at.end());
  }
  ++result.LeftOut;
}

// The triangles of a finished triangulation are kept as the new polygons: no room held for the
// faces that were not added.
void Finish(TTriangulateResult& result) {
  if (result.Triangles.capacity() > 2 * result.Triangles.size()) result.Triangles.shrink_to_fit();
  result.Added = static_cast<int>(result.Triangles.size());
}

// The chosen nodes with no polygon to keep: every face of their Delaunay triangulation, in one
// pass. The points go in spatially sorted, each placed from the last one's face; of nodes at one
// position the last in that order gives the vertex its node.
void TriangulateFree(std::vector<std::pair<TPoint, int>>& points, const TTriangulateOptions& options,
                     const TShapingProgress& progress, TTriangulateResult& result) {
  using TPair = std::pair<TPoint, int>;
  CGAL::spatial_sort(points.begin(), points.end(),
                     CGAL::Spatial_sort_traits_adapter_2<TKernel, CGAL::First_of_pair_property_map<TPair>>());
  TDelaunay delaunay;
  TDelaunay::Face_handle hint;
  for (const auto& [point, node] : points) {
    const TDelaunay::Vertex_handle v = delaunay.insert(point, hint);
    v->info() = node;
    hint = v->face();
  }
  std::vector<TPair>().swap(points);

  TShapingTicker ticker(progress);
  const auto work = static_cast<long long>(delaunay.number_of_faces());
  long long done = 0;
  result.Triangles.reserve(delaunay.number_of_faces());
  TCorners c;
  for (auto face = delaunay.finite_faces_begin(); face != delaunay.finite_faces_end(); ++face) {
    ticker.Step(++done, work);
    // The vertices hold the nodes' single-precision X and Y exactly.
    for (std::size_t k = 0; k < 3; ++k) {
      const TDelaunay::Vertex_handle v = face->vertex(static_cast<int>(k));
      c.Node[k] = v->info();
      c.At[k] = {static_cast<float>(v->point().x()), static_cast<float>(v->point().y())};
    }
    if (options.MaxEdge > 0 && c.Longer(options.MaxEdge)) continue;
    Add(c, options.Sky, result);
  }
  Finish(result);
}

}  // namespace

TTriangulateResult TriangulateNodes(const TEditor& editor, const TTriangulateOptions& options,
                                    const TShapingProgress& progress) {
  if (!(options.MaxEdge >= 0) || !std::isfinite(options.MaxEdge)) {
    throw ETerravelError("The maximum edge length must be 0 (no limit) or more.");
  }
  TTriangulateResult result;
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

  if (existing.empty()) {
    std::vector<std::pair<TPoint, int>> free;
    free.reserve(static_cast<std::size_t>(nodeCount));
    for (int i = 0; i < nodeCount; ++i) {
      const T3DCoord& node = editor.Nodes[i];
      if (chosen[static_cast<std::size_t>(i)] && Finite(node)) free.push_back({TPoint(node.X, node.Y), i});
    }
    if (!AllOnOneLine(free)) TriangulateFree(free, options, progress, result);
    return result;
  }

  std::vector<std::pair<TPoint, TVertexNode>> points;
  for (int i = 0; i < nodeCount; ++i) {
    const auto at = static_cast<std::size_t>(i);
    const T3DCoord& node = editor.Nodes[i];
    if ((chosen[at] || corner[at]) && Finite(node))
      points.push_back({TPoint(node.X, node.Y), {i, chosen[at]}});
  }
  if (AllOnOneLine(points)) return result;
  TCdt cdt;
  cdt.insert(points.begin(), points.end());

  // Nodes at one position share a vertex; it counts as chosen when one of them is.
  std::vector<TVertex> vertexOf(static_cast<std::size_t>(nodeCount));
  for (auto v = cdt.finite_vertices_begin(); v != cdt.finite_vertices_end(); ++v) {
    vertexOf[static_cast<std::size_t>(v->info().Index)] = v;
  }
  // Only the nodes whose position another node's vertex took can change a vertex's node: a
  // vertex's own node is chosen exactly when the vertex says so.
  std::vector<std::size_t> placedElsewhere;
  TSharedPositions shared;
  for (std::size_t k = 0; k < points.size(); ++k) {
    if (vertexOf[static_cast<std::size_t>(points[k].second.Index)] != TVertex()) continue;
    placedElsewhere.push_back(k);
    shared.Want(points[k].first);
  }
  if (!shared.Empty()) {
    for (auto v = cdt.finite_vertices_begin(); v != cdt.finite_vertices_end(); ++v) shared.Offer(v);
  }
  for (const std::size_t k : placedElsewhere) {
    const auto& [point, node] = points[k];
    const TVertex v = vertexOf[static_cast<std::size_t>(node.Index)] = shared.At(point);
    if (node.Chosen && !v->info().Chosen) v->info() = node;
  }

  std::vector<int> covering;
  for (const int p : existing) {
    const TPoly& polygon = editor.Polygons[p];
    const T3DCoord &a = editor.Nodes[polygon.Node1], &b = editor.Nodes[polygon.Node2],
                   &c = editor.Nodes[polygon.Node3];
    if (CGAL::orientation(TPoint(a.X, a.Y), TPoint(b.X, b.Y), TPoint(c.X, c.Y)) != CGAL::COLLINEAR) {
      covering.push_back(p);
    }
  }
  // A face that is itself an existing polygon is covered without a look at the cover: the corners
  // of those polygons, sorted for a binary search.
  std::vector<TCornerKey> coveringFaces;
  coveringFaces.reserve(covering.size());
  for (const int p : covering) {
    const TPoly& polygon = editor.Polygons[p];
    coveringFaces.push_back(KeyOf(vertexOf[static_cast<std::size_t>(polygon.Node1)],
                                  vertexOf[static_cast<std::size_t>(polygon.Node2)],
                                  vertexOf[static_cast<std::size_t>(polygon.Node3)]));
  }
  std::sort(coveringFaces.begin(), coveringFaces.end());
  // Such a face has three constrained sides (each side of an existing polygon is one).
  const auto isExisting = [&coveringFaces](TCdt::Face_handle face) {
    return face->is_constrained(0) && face->is_constrained(1) && face->is_constrained(2) &&
           std::binary_search(coveringFaces.begin(), coveringFaces.end(),
                              KeyOf(face->vertex(0), face->vertex(1), face->vertex(2)));
  };

  // A side that is already in the triangulation is marked at the cost of its end with fewer
  // neighbours; any other is inserted from that end when the other has many.
  constexpr int kManyNeighbours = 64;
  TShapingTicker ticker(progress);
  const long long work = static_cast<long long>(existing.size()) + static_cast<long long>(cdt.number_of_faces());
  long long done = 0;
  for (const int p : existing) {
    ticker.Step(++done, work);
    const TPoly& polygon = editor.Polygons[p];
    const int c[3] = {polygon.Node1, polygon.Node2, polygon.Node3};
    for (int k = 0; k < 3; ++k) {
      const TVertex a = vertexOf[static_cast<std::size_t>(c[k])],
                    b = vertexOf[static_cast<std::size_t>(c[(k + 1) % 3])];
      if (a == b) continue;
      TVertex fewer;
      int turns = 0;
      if (MarkSide(cdt, a, b, fewer, turns)) continue;
      if (fewer == b && turns > kManyNeighbours) {
        cdt.insert_constraint(b, a);
      } else {
        cdt.insert_constraint(a, b);
      }
    }
  }

  const std::vector<bool> open = NumberRegions(cdt);
  // Per region: not yet known (-1), outside every existing polygon (0), inside one (1), asked of
  // the cover (2).
  std::vector<signed char> covered(open.size(), -1);
  for (std::size_t region = 0; region < open.size(); ++region) {
    if (open[region]) covered[region] = 0;
  }

  // The faces that may be added, in the triangulation's order. A region whose first such face is
  // no existing polygon asks the cover at that face's centre; all regions are answered at once.
  std::vector<TCdt::Face_handle> candidates;
  TCoverQuery cover(editor);
  std::vector<int> asked(open.size(), -1);
  TCorners c;
  // The corners' positions, read from the vertices (they hold the nodes' single-precision X and
  // Y exactly) rather than from the scattered node records; false when a corner is not chosen.
  const auto read = [&c](TCdt::Face_handle face) {
    for (std::size_t k = 0; k < 3; ++k) {
      const TVertex v = face->vertex(static_cast<int>(k));
      if (v->info().Index < 0 || !v->info().Chosen) return false;
      c.Node[k] = v->info().Index;
      c.At[k] = {static_cast<float>(v->point().x()), static_cast<float>(v->point().y())};
    }
    return true;
  };
  for (auto face = cdt.finite_faces_begin(); face != cdt.finite_faces_end(); ++face) {
    ticker.Step(++done, work);
    if (!read(face)) continue;
    if (options.MaxEdge > 0 && c.Longer(options.MaxEdge)) continue;
    const auto region = static_cast<std::size_t>(face->info());
    if (covered[region] == 1) continue;
    if (covered[region] < 0) {
      if (isExisting(face)) {
        covered[region] = 1;
        continue;
      }
      covered[region] = 2;
      const auto& [a, b, d] = c.At;
      asked[region] = cover.Ask((double(a.X) + b.X + d.X) / 3, (double(a.Y) + b.Y + d.Y) / 3);
    }
    candidates.push_back(face);
  }
  const std::vector<bool> answers = cover.Answer(covering);
  for (std::size_t region = 0; region < open.size(); ++region) {
    if (covered[region] == 2) covered[region] = answers[static_cast<std::size_t>(asked[region])] ? 1 : 0;
  }

  result.Triangles.reserve(candidates.size());
  for (const TCdt::Face_handle face : candidates) {
    if (covered[static_cast<std::size_t>(face->info())] == 1) continue;
    read(face);
    Add(c, options.Sky, result);
  }
  Finish(result);
  return result;
}

std::string LeftOutReport(const TTriangulateResult& result, bool sky) {
  if (result.LeftOut == 0) return {};
  return "left out " + FormatCount(result.LeftOut) + (result.LeftOut == 1 ? " triangle" : " triangles") +
         " too thin to wind as " + std::string(OrientationWord(!sky)) + " in single precision";
}

}  // namespace terravel
