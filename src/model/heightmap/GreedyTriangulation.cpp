// The only user of CGAL: its Delaunay triangulation stays in this one file, so that its heavy
// headers are compiled once.
#include "model/heightmap/GreedyTriangulation.h"

#include <CGAL/Delaunay_triangulation_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Projection_traits_xy_3.h>
#include <CGAL/Triangulation_face_base_with_info_2.h>
#include <CGAL/Triangulation_vertex_base_with_info_2.h>

#include <cmath>
#include <cstdint>
#include <iterator>
#include <queue>
#include <set>
#include <vector>

#include "model/heightmap/HeightmapErrors.h"
#include "model/heightmap/TriangleScan.h"

namespace terravel {

namespace {

// The pixel a face misses most, and a stamp that a face gets anew whenever it is scanned: a queue
// entry whose stamp no longer matches belongs to a face that has changed since.
struct TCandidate {
  std::uint64_t Stamp = 0;  // 0: not scanned (or changed by an insertion)
  int Column = 0;
  int Row = 0;
};

using TKernel = CGAL::Exact_predicates_inexact_constructions_kernel;
using TTraits = CGAL::Projection_traits_xy_3<TKernel>;
using TVertexBase = CGAL::Triangulation_vertex_base_with_info_2<int, TTraits>;
using TFaceBase = CGAL::Triangulation_face_base_with_info_2<TCandidate, TTraits>;
using TDataStructure = CGAL::Triangulation_data_structure_2<TVertexBase, TFaceBase>;
using TDelaunay = CGAL::Delaunay_triangulation_2<TTraits, TDataStructure>;
using TFace = TDelaunay::Face_handle;
using TPoint = TTraits::Point_2;

// Differences below a tenth of a 16-bit step are no error.
constexpr double kNoError = 0.1 / 65535.0;

struct TQueued {
  double Error;
  std::uint64_t Stamp;
  TFace Face;
  bool operator<(const TQueued& other) const { return Error < other.Error; }
};

// Chooses up to `limit` pixels strictly between the ends of one side, where the line along the
// side misses the picture most; their positions along the side, ascending.
std::vector<int> ChooseSidePoints(const std::vector<float>& side, int limit) {
  std::set<int> chosen = {0, int(side.size()) - 1};
  while (int(chosen.size()) - 2 < limit) {
    double worst = kNoError;
    int worstAt = -1;
    for (auto it = chosen.begin(); std::next(it) != chosen.end(); ++it) {
      const int from = *it, to = *std::next(it);
      for (int i = from + 1; i < to; ++i) {
        const double line = side[from] + (double(side[to]) - side[from]) * double(i - from) / double(to - from);
        const double error = std::fabs(line - side[i]);
        if (error > worst) {
          worst = error;
          worstAt = i;
        }
      }
    }
    if (worstAt < 0) break;
    chosen.insert(worstAt);
  }
  return {std::next(chosen.begin()), std::prev(chosen.end())};
}

class TGreedyBuilder {
 public:
  explicit TGreedyBuilder(const THeightGrid& grid) : grid_(grid) {}

  void Insert(int column, int row, TFace hint = TFace()) {
    const TPoint point(column, row, grid_.At(column, row));
    if (hint != TFace()) {
      // The faces the new point replaces or changes lose their candidates.
      std::vector<TFace> changed;
      delaunay_.get_conflicts(point, std::back_inserter(changed), hint);
      for (const TFace& face : changed) face->info().Stamp = 0;
    }
    const auto vertex = delaunay_.insert(point, hint);
    vertex->info() = int(points_.size());
    points_.push_back({column, row, grid_.At(column, row)});
    if (scanning_) ScanAround(vertex);
  }

  // From here on, every insertion scans the faces it makes.
  void StartScanning() {
    scanning_ = true;
    for (auto face = delaunay_.finite_faces_begin(); face != delaunay_.finite_faces_end(); ++face) Scan(face);
  }

  // Inserts the worst pixel; false when the terrain misses none.
  bool InsertWorst() {
    while (!queue_.empty()) {
      const TQueued top = queue_.top();
      queue_.pop();
      if (top.Face->info().Stamp != top.Stamp) continue;
      const TCandidate candidate = top.Face->info();
      Insert(candidate.Column, candidate.Row, top.Face);
      return true;
    }
    return false;
  }

  TTerrainMesh Result() const {
    TTerrainMesh mesh;
    mesh.Points = points_;
    for (auto face = delaunay_.finite_faces_begin(); face != delaunay_.finite_faces_end(); ++face) {
      // CGAL winds counter-clockwise with y up; with the rows downwards the mesh's winding is
      // the other way round.
      mesh.Triangles.push_back({face->vertex(0)->info(), face->vertex(2)->info(), face->vertex(1)->info()});
    }
    return mesh;
  }

 private:
  void ScanAround(TDelaunay::Vertex_handle vertex) {
    auto face = delaunay_.incident_faces(vertex);
    const auto first = face;
    do {
      if (!delaunay_.is_infinite(face)) Scan(face);
    } while (++face != first);
  }

  void Scan(TFace face) {
    const TPixelPoint corners[3] = {points_[face->vertex(0)->info()], points_[face->vertex(1)->info()],
                                    points_[face->vertex(2)->info()]};
    double worst = kNoError;
    TCandidate& candidate = face->info();
    candidate.Stamp = ++lastStamp_;
    bool found = false;
    ScanTriangle(corners[0], corners[1], corners[2], [&](int column, int row, double level) {
      const double error = std::fabs(level - double(grid_.At(column, row)));
      if (error > worst) {
        worst = error;
        candidate.Column = column;
        candidate.Row = row;
        found = true;
      }
    });
    if (found) queue_.push({worst, candidate.Stamp, face});
  }

  const THeightGrid& grid_;
  TDelaunay delaunay_;
  std::vector<TPixelPoint> points_;  // by vertex info
  std::priority_queue<TQueued> queue_;
  std::uint64_t lastStamp_ = 0;
  bool scanning_ = false;
};

}  // namespace

TTerrainMesh BuildBudgetedMesh(const THeightGrid& grid, int maxTriangles, const THeightmapProgress& progress) {
  if (maxTriangles < 2) throw EHeightmapError("The triangle budget must be at least 2.");
  if (grid.Width < 2 || grid.Height < 2) throw EHeightmapError("The heightmap must be at least 2 x 2 pixels.");
  const int w = grid.Width, h = grid.Height;

  // The sides, clockwise from the top left corner, each without its end corners.
  const auto width = static_cast<std::size_t>(w), height = static_cast<std::size_t>(h);
  std::vector<float> top(width), bottom(width), left(height), right(height);
  for (int x = 0; x < w; ++x) {
    top[std::size_t(x)] = grid.At(x, 0);
    bottom[std::size_t(x)] = grid.At(x, h - 1);
  }
  for (int y = 0; y < h; ++y) {
    left[std::size_t(y)] = grid.At(0, y);
    right[std::size_t(y)] = grid.At(w - 1, y);
  }
  // Every border point adds one triangle; each side gets an eighth of the budget beyond the
  // first two triangles, whatever the other sides need, so that a side depends on its pixels only.
  const int perSide = (maxTriangles - 2) / 8;

  TGreedyBuilder builder(grid);
  builder.Insert(0, 0);
  builder.Insert(w - 1, 0);
  builder.Insert(w - 1, h - 1);
  builder.Insert(0, h - 1);
  int borderPoints = 0;
  for (int x : ChooseSidePoints(top, perSide)) builder.Insert(x, 0), ++borderPoints;
  for (int x : ChooseSidePoints(bottom, perSide)) builder.Insert(x, h - 1), ++borderPoints;
  for (int y : ChooseSidePoints(left, perSide)) builder.Insert(0, y), ++borderPoints;
  for (int y : ChooseSidePoints(right, perSide)) builder.Insert(w - 1, y), ++borderPoints;

  // With b border points and m inside, the triangulation of the rectangle has 2 + b + 2 m triangles.
  const int interior = (maxTriangles - 2 - borderPoints) / 2;
  builder.StartScanning();
  for (int inserted = 0; inserted < interior; ++inserted) {
    if (progress && inserted % 256 == 0 && !progress(inserted, interior)) throw EHeightmapCancelled();
    if (!builder.InsertWorst()) break;
  }
  if (progress && !progress(interior, interior)) throw EHeightmapCancelled();
  return builder.Result();
}

}  // namespace terravel
