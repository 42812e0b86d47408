// The only user of CGAL: its Delaunay triangulation stays in this one file, so that its heavy
// headers are compiled once.
#include "model/heightmap/GreedyTriangulation.h"

#include <CGAL/Delaunay_triangulation_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Triangulation_face_base_with_info_2.h>
#include <CGAL/Triangulation_vertex_base_with_info_2.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "model/core/Errors.h"
#include "model/heightmap/HeightmapErrors.h"
#include "model/heightmap/ProgressTicker.h"
#include "model/heightmap/SeamlessBorder.h"
#include "model/heightmap/TriangleScan.h"

namespace terravel {

namespace {

// What one scan of a triangle's pixels finds: the pixel it misses most and the sums the error
// statistics are made of.
struct TScan {
  double SumSquares = 0;
  double SumErrors = 0;
  double Error = 0;      // the worst pixel's
  double Candidate = 0;  // the error at the pixel to insert next
  int Column = -1;       // that pixel, above the no-error threshold; -1: none
  int Row = 0;
};

struct TFaceData {
  TScan Scan;
  int HeapAt = -1;          // index in the builder's heap; -1: not queued
  unsigned Generation = 0;  // the insertion that last scanned the face
};

using TKernel = CGAL::Exact_predicates_inexact_constructions_kernel;
using TVertexBase = CGAL::Triangulation_vertex_base_with_info_2<int, TKernel>;
using TFaceBase = CGAL::Triangulation_face_base_with_info_2<TFaceData, TKernel>;
using TDataStructure = CGAL::Triangulation_data_structure_2<TVertexBase, TFaceBase>;
using TDelaunay = CGAL::Delaunay_triangulation_2<TKernel, TDataStructure>;
using TFace = TDelaunay::Face_handle;
using TVertex = TDelaunay::Vertex_handle;
using TPoint = TKernel::Point_2;

// Differences below a tenth of a 16-bit step are no error.
constexpr double kNoError = 0.1 / 65535.0;

// The pixels a flip is judged on, at most (about); beyond, a lattice of them. Fewer would
// judge too coarsely, more costs time for no less error (measured on generated terrains).
constexpr int kQuadSamples = 16;
// The flips that mend the worst face once the budget is spent, at most.
constexpr int kMostMends = 256;
// The flips around one new point, at most: the lattice judgement is no strict descent.
constexpr int kMostFlips = 64;

class TGreedyBuilder {
 public:
  TGreedyBuilder(const THeightGrid& grid, const TGreedySettings& settings, TProgressTicker& ticker)
      : grid_(grid), settings_(settings), ticker_(ticker) {}

  TVertex Insert(int column, int row, TFace hint = TFace()) {
    const std::size_t before = delaunay_.number_of_vertices();
    const TVertex vertex = delaunay_.insert(TPoint(column, row), hint);
    if (delaunay_.number_of_vertices() == before) throw EAssertionFailure("Heightmap", "a pixel inserted twice");
    vertex->info() = int(points_.size());
    points_.push_back({column, row, grid_.At(column, row)});
    if (scanning_) {
      ++generation_;
      if (settings_.DataDependentFlips) Improve(vertex);
      Refresh(vertex);
    }
    return vertex;
  }

  // A point on the border that splits the one face along it in two and changes nothing else: the
  // last point, which no later point could mend. Re-triangulated, the long slivers along a side
  // may miss pixels by far more than any face did.
  void SplitSide(int column, int row, TFace side, int index) {
    const TVertex vertex = delaunay_.Triangulation_2::insert_in_edge(TPoint(column, row), side, index);
    vertex->info() = int(points_.size());
    points_.push_back({column, row, grid_.At(column, row)});
    ++generation_;
    Refresh(vertex);
  }

  // Once the budget is spent, the face that misses most is flipped against a neighbour while that
  // lowers its worst pixel and not the sum of squares: the last points' flips chose the sum, and
  // their faces may miss a pixel by more than any face before them.
  void MendWorst() {
    for (int flips = 0; flips < kMostMends; ++flips)
      if (heap_.empty() || !FlipLowersWorst(heap_.front())) return;
  }

  // From here on, every insertion scans the faces it changes.
  void StartScanning(int done, int total) {
    scanning_ = true;
    for (auto face = delaunay_.finite_faces_begin(); face != delaunay_.finite_faces_end(); ++face) {
      ticker_.Step(done, total);
      Rescan(face);
    }
  }

  // The face whose pixel the terrain misses most; none once it misses none.
  TFace Worst() const { return heap_.empty() ? TFace() : heap_.front(); }

  // Where the border misses the picture most, off the points: false when every border pixel is a
  // point. `side` is the face whose edge `index` holds the pixel.
  bool WorstBorderPixel(int& column, int& row, TFace& side, int& index) const {
    double worst = -1;
    auto face = delaunay_.incident_faces(delaunay_.infinite_vertex());
    const auto first = face;
    do {
      const int at = face->index(delaunay_.infinite_vertex());
      const TPixelPoint& a = points_[std::size_t(face->vertex(TDelaunay::ccw(at))->info())];
      const TPixelPoint& b = points_[std::size_t(face->vertex(TDelaunay::cw(at))->info())];
      const int steps = std::max(std::abs(b.Column - a.Column), std::abs(b.Row - a.Row));
      for (int i = 1; i < steps; ++i) {
        const int x = a.Column + (b.Column - a.Column) / steps * i, y = a.Row + (b.Row - a.Row) / steps * i;
        const double line = a.Level + (double(b.Level) - a.Level) * double(i) / double(steps);
        const double error = std::fabs(line - double(grid_.At(x, y)));
        if (error > worst) {
          worst = error;
          column = x;
          row = y;
          side = face->neighbor(at);
          index = delaunay_.mirror_index(face, at);
        }
      }
    } while (++face != first);
    return worst >= 0;
  }

  // The terrain, once: the points move out of the builder.
  TGreedyTerrain Result(TGreedyStop stop) {
    TGreedyTerrain terrain;
    terrain.Stop = stop;
    terrain.Mesh.Points = std::move(points_);
    terrain.Mesh.Triangles.reserve(delaunay_.number_of_faces());
    long double squares = 0, errors = 0;
    for (auto face = delaunay_.finite_faces_begin(); face != delaunay_.finite_faces_end(); ++face) {
      // CGAL winds counter-clockwise with y up; with the rows downwards the mesh's winding is
      // the other way round.
      terrain.Mesh.Triangles.push_back({face->vertex(0)->info(), face->vertex(2)->info(), face->vertex(1)->info()});
      const TScan& scan = face->info().Scan;
      squares += scan.SumSquares;
      errors += scan.SumErrors;
      terrain.MaxError = std::max(terrain.MaxError, scan.Error);
    }
    const long double pixels = static_cast<long double>(grid_.Levels.size());
    terrain.MeanError = static_cast<double>(errors / pixels);
    terrain.RmsError = static_cast<double>(std::sqrt(squares / pixels));
    return terrain;
  }

 private:
  const TPixelPoint& PointOf(TVertex vertex) const { return points_[std::size_t(vertex->info())]; }

  TScan Scan(const TPixelPoint& a, const TPixelPoint& b, const TPixelPoint& c) const {
    return settings_.SeamlessBorder ? Scan<true>(a, b, c) : Scan<false>(a, b, c);
  }

  // The scan of a triangle the flip would make, given up (false) once the flip is sure to be
  // refused: `base` plus the squares summed so far reaches `limitSquares`, or a pixel is missed by
  // more than `limitWorst`. Sums of squares only grow, so a scan given up would have ended there
  // too; one carried through is the full scan.
  bool ScanBelow(const TPixelPoint& a, const TPixelPoint& b, const TPixelPoint& c, double base, double limitSquares,
                 double limitWorst, TScan& scan) const {
    const TBound bound{base, limitSquares, limitWorst};
    return settings_.SeamlessBorder ? Scan<true, true>(a, b, c, scan, bound) : Scan<false, true>(a, b, c, scan, bound);
  }

  struct TBound {
    double Base = 0, Squares = 0, Worst = 0;
  };

  template <bool kSeamless>
  TScan Scan(const TPixelPoint& a, const TPixelPoint& b, const TPixelPoint& c) const {
    TScan scan;
    Scan<kSeamless, false>(a, b, c, scan, TBound());
    return scan;
  }

  template <bool kSeamless, bool kBounded>
  bool Scan(const TPixelPoint& a, const TPixelPoint& b, const TPixelPoint& c, TScan& scan, const TBound& bound) const {
    scan = TScan();
    const int lastColumn = grid_.Width - 1, lastRow = grid_.Height - 1;
    const float* levels = grid_.Levels.data();
    const std::size_t width = std::size_t(grid_.Width);
    double worst = 0, candidate = 0, squares = 0, errors = 0;
    int worstColumn = -1, worstRow = 0;
    bool complete = true;
    ScanTriangleOnce(a, b, c, lastColumn, lastRow, [&](int row, int left, int right, double level, double step) {
      // Sums kept in registers along the row.
      const float* line = levels + std::size_t(row) * width;
      double rowSquares = 0, rowErrors = 0, rowWorst = candidate;
      int rowWorstAt = -1;
      const bool borderRow = kSeamless && (row == 0 || row == lastRow);
      for (int x = left; x <= right; ++x, level += step) {
        const double error = std::fabs(level - double(line[x]));
        rowSquares += error * error;
        rowErrors += error;
        if (error > rowWorst) {
          if constexpr (kSeamless) {
            worst = std::max(worst, error);
            // A seamless border keeps the points its sides chose.
            if (borderRow || x == 0 || x == lastColumn) continue;
          }
          rowWorst = error;
          rowWorstAt = x;
        }
      }
      squares += rowSquares;
      errors += rowErrors;
      if (rowWorstAt >= 0) {
        candidate = rowWorst;
        worstColumn = rowWorstAt;
        worstRow = row;
      }
      if constexpr (kBounded) {
        const double worstSoFar = kSeamless ? std::max(worst, candidate) : candidate;
        complete = bound.Base + squares < bound.Squares && !(worstSoFar > bound.Worst);
      }
      return complete;
    });
    if (!complete) return false;
    scan.SumSquares = squares;
    scan.SumErrors = errors;
    scan.Error = kSeamless ? std::max(worst, candidate) : candidate;
    if (candidate > kNoError) {
      scan.Candidate = candidate;
      scan.Column = worstColumn;
      scan.Row = worstRow;
    }
    return true;
  }

  // The sum of squared errors over the pixels of a triangle on a lattice of that stride, and the
  // largest of them.
  struct TSample {
    double Squares = 0;
    double Worst = 0;
    TSample operator+(const TSample& other) const { return {Squares + other.Squares, std::max(Worst, other.Worst)}; }
  };
  TSample Sample(const TPixelPoint& a, const TPixelPoint& b, const TPixelPoint& c, int stride) const {
    const float* levels = grid_.Levels.data();
    const std::size_t width = std::size_t(grid_.Width);
    double squares = 0, worst = 0;
    ScanTriangleOnce(
        a, b, c, grid_.Width - 1, grid_.Height - 1,
        [&](int row, int left, int right, double level, double step) {
          const float* line = levels + std::size_t(row) * width;
          double rowSquares = 0, rowWorst = 0;
          for (int x = left; x <= right; x += stride, level += step) {
            const double error = level - double(line[x]);
            rowSquares += error * error;
            rowWorst = std::max(rowWorst, std::fabs(error));
          }
          squares += rowSquares;
          worst = std::max(worst, rowWorst);
        },
        stride);
    return {squares, worst};
  }

  TScan Scan(TFace face) const {
    return Scan(PointOf(face->vertex(0)), PointOf(face->vertex(1)), PointOf(face->vertex(2)));
  }

  void Store(TFace face, const TScan& scan) {
    face->info().Scan = scan;
    face->info().Generation = generation_;
    Requeue(face);
  }

  void Rescan(TFace face) { Store(face, Scan(face)); }

  // Scans the faces around a new point (every one is new or changed) that the flips have not
  // scanned yet. A point on the border may turn a face with pixels into one outside the picture:
  // it leaves the queue.
  void Refresh(TVertex vertex) {
    auto face = delaunay_.incident_faces(vertex);
    const auto first = face;
    do {
      if (delaunay_.is_infinite(face)) {
        if (face->info().HeapAt >= 0) Store(face, TScan());
      } else if (face->info().Generation != generation_) {
        Rescan(face);
      }
    } while (++face != first);
  }

  // Data-dependent flips around a new point: each edge facing it is flipped when the other
  // diagonal of the two triangles' quadrilateral misses the pixels less, and the edges that the
  // flip brings face to face with the point are looked at in turn. Every flip lowers the sum of
  // squared errors, so it ends.
  void Improve(TVertex vertex) {
    std::vector<TFace>& pending = pending_;
    pending.clear();
    auto around = delaunay_.incident_faces(vertex);
    const auto first = around;
    do {
      if (!delaunay_.is_infinite(around)) pending.push_back(around);
    } while (++around != first);
    const TPixelPoint& v = PointOf(vertex);
    flips_ = 0;
    while (!pending.empty()) {
      const TFace face = pending.back();
      pending.pop_back();
      int at = 0;
      if (!face->has_vertex(vertex, at)) continue;
      const TFace neighbour = face->neighbor(at);
      if (delaunay_.is_infinite(neighbour)) continue;
      const TVertex a = face->vertex(TDelaunay::ccw(at)), b = face->vertex(TDelaunay::cw(at));
      const TVertex p = delaunay_.mirror_vertex(face, at);
      // Only a convex quadrilateral has another diagonal.
      if (delaunay_.orientation(vertex->point(), a->point(), p->point()) != CGAL::LEFT_TURN ||
          delaunay_.orientation(vertex->point(), b->point(), p->point()) != CGAL::RIGHT_TURN)
        continue;
      const TPixelPoint &pa = PointOf(a), &pb = PointOf(b), &pp = PointOf(p);
      // A big quadrilateral is judged on a lattice of about kQuadSamples of its pixels, the same
      // for both diagonals; a small one on all of them, from the scans of its faces (the face
      // across from the new point has not changed; the other is scanned now, as it would be anyway).
      const long long spanX = std::max({v.Column, pa.Column, pb.Column, pp.Column}) -
                              std::min({v.Column, pa.Column, pb.Column, pp.Column}) + 1;
      const long long spanY = std::max({v.Row, pa.Row, pb.Row, pp.Row}) - std::min({v.Row, pa.Row, pb.Row, pp.Row}) + 1;
      const int stride = std::max(1, int(std::sqrt(double(spanX * spanY) / (2.0 * kQuadSamples))));
      if (stride == 1 && face->info().Generation != generation_) Rescan(face);
      const TSample present =
          stride > 1 ? Sample(v, pa, pb, stride) + Sample(pp, pb, pa, stride)
                     : TSample{face->info().Scan.SumSquares + neighbour->info().Scan.SumSquares,
                               std::max(face->info().Scan.Error, neighbour->info().Scan.Error)};
      if (present.Squares <= 0) continue;
      // The two diagonals' surfaces differ by a tent over the quadrilateral, zero at its corners
      // and `crease` where the diagonals cross; its sum of squares over the pixels judged is about
      // their number times crease^2 / 6. With the errors r of the present diagonal and the tent t,
      // the other one misses |r - t|^2 = |r|^2 - 2 r.t + |t|^2, no less than |r|^2 once
      // |t| >= 2 |r|: no need to look.
      const double vx = v.Column, vy = v.Row;
      const double d1x = pp.Column - vx, d1y = pp.Row - vy, d2x = pb.Column - pa.Column, d2y = pb.Row - pa.Row;
      const double ax = pa.Column - vx, ay = pa.Row - vy;
      const double across = d1x * d2y - d1y * d2x;
      const double s = (ax * d2y - ay * d2x) / across, u = (ax * d1y - ay * d1x) / across;
      const double crease = (v.Level + s * (double(pp.Level) - v.Level)) - (pa.Level + u * (double(pb.Level) - pa.Level));
      const double judged = 0.5 * std::fabs(across) / (double(stride) * stride);
      if (judged * crease * crease / 6 >= 4 * present.Squares) continue;
      // The other diagonal must miss the pixels less in sum, and its worst pixel no more. A
      // small quadrilateral is judged on whole scans of the two faces the flip would make, with
      // their corners in the order the flip gives them: kept, they are the faces' scans.
      TScan scans[2];
      TSample flipped;
      const int mirror = delaunay_.mirror_index(face, at);
      if (stride == 1) {
        const std::array<TPixelPoint, 3> one = Flipped(at, v, pa, pp), other = Flipped(mirror, pp, pb, v);
        // Each scan stops as soon as the flip is sure to be refused.
        const double limit = present.Squares * (1 - 1e-9);
        if (!ScanBelow(one[0], one[1], one[2], 0, limit, present.Worst, scans[0]) ||
            !ScanBelow(other[0], other[1], other[2], scans[0].SumSquares, limit, present.Worst, scans[1]))
          continue;
        flipped = {scans[0].SumSquares + scans[1].SumSquares, std::max(scans[0].Error, scans[1].Error)};
      } else {
        flipped = Sample(v, pa, pp, stride) + Sample(v, pp, pb, stride);
      }
      if (flipped.Squares >= present.Squares * (1 - 1e-9) || flipped.Worst > present.Worst || ++flips_ > kMostFlips)
        continue;
      delaunay_.flip(face, at);
      if (stride == 1) {
        Store(face, scans[0]);
        Store(neighbour, scans[1]);
      } else {
        // Judged on a lattice: the faces are scanned when they are looked at again, or at the end.
        face->info().Generation = neighbour->info().Generation = 0;
      }
      pending.push_back(face);
      pending.push_back(neighbour);
    }
  }

  bool FlipLowersWorst(TFace face) {
    const double error = face->info().Scan.Error;
    for (int at = 0; at < 3; ++at) {
      const TFace neighbour = face->neighbor(at);
      if (delaunay_.is_infinite(neighbour)) continue;
      const TVertex v = face->vertex(at), a = face->vertex(TDelaunay::ccw(at)), b = face->vertex(TDelaunay::cw(at));
      const TVertex p = delaunay_.mirror_vertex(face, at);
      if (delaunay_.orientation(v->point(), a->point(), p->point()) != CGAL::LEFT_TURN ||
          delaunay_.orientation(v->point(), b->point(), p->point()) != CGAL::RIGHT_TURN)
        continue;
      const double squares = face->info().Scan.SumSquares + neighbour->info().Scan.SumSquares;
      const int mirror = delaunay_.mirror_index(face, at);
      const std::array<TPixelPoint, 3> one = Flipped(at, PointOf(v), PointOf(a), PointOf(p)),
                                       other = Flipped(mirror, PointOf(p), PointOf(b), PointOf(v));
      TScan scans[2];
      if (!ScanBelow(one[0], one[1], one[2], 0, squares, error, scans[0]) ||
          !ScanBelow(other[0], other[1], other[2], scans[0].SumSquares, squares, error, scans[1]) ||
          std::max(scans[0].Error, scans[1].Error) >= error)
        continue;
      delaunay_.flip(face, at);
      Store(face, scans[0]);
      Store(neighbour, scans[1]);
      return true;
    }
    return false;
  }

  // The corners of a face after a flip, by index: the flip keeps the corner at `kept` and the
  // one counter-clockwise after it, and puts the far corner clockwise after it.
  static std::array<TPixelPoint, 3> Flipped(int kept, const TPixelPoint& corner, const TPixelPoint& next,
                                            const TPixelPoint& far) {
    std::array<TPixelPoint, 3> corners;
    corners[std::size_t(kept)] = corner;
    corners[std::size_t(TDelaunay::ccw(kept))] = next;
    corners[std::size_t(TDelaunay::cw(kept))] = far;
    return corners;
  }

  // The heap: the face that misses most on top; a face without a pixel above the threshold is not in it.
  bool Above(TFace x, TFace y) const { return x->info().Scan.Candidate > y->info().Scan.Candidate; }

  void Place(std::size_t at, TFace face) {
    heap_[at] = face;
    face->info().HeapAt = int(at);
  }

  void SiftUp(std::size_t at) {
    const TFace face = heap_[at];
    while (at > 0) {
      const std::size_t parent = (at - 1) / 2;
      if (!Above(face, heap_[parent])) break;
      Place(at, heap_[parent]);
      at = parent;
    }
    Place(at, face);
  }

  void SiftDown(std::size_t at) {
    const TFace face = heap_[at];
    const std::size_t size = heap_.size();
    for (;;) {
      std::size_t child = 2 * at + 1;
      if (child >= size) break;
      if (child + 1 < size && Above(heap_[child + 1], heap_[child])) ++child;
      if (!Above(heap_[child], face)) break;
      Place(at, heap_[child]);
      at = child;
    }
    Place(at, face);
  }

  void Requeue(TFace face) {
    TFaceData& data = face->info();
    if (data.Scan.Column < 0) {
      if (data.HeapAt < 0) return;
      const std::size_t at = std::size_t(data.HeapAt);
      data.HeapAt = -1;
      const TFace last = heap_.back();
      heap_.pop_back();
      if (at < heap_.size()) {
        Place(at, last);
        SiftUp(at);
        SiftDown(std::size_t(last->info().HeapAt));
      }
      return;
    }
    if (data.HeapAt < 0) {
      heap_.push_back(face);
      SiftUp(heap_.size() - 1);
    } else {
      SiftUp(std::size_t(data.HeapAt));
      SiftDown(std::size_t(face->info().HeapAt));
    }
  }

  const THeightGrid& grid_;
  const TGreedySettings& settings_;
  TProgressTicker& ticker_;
  TDelaunay delaunay_;
  std::vector<TPixelPoint> points_;  // by vertex info
  std::vector<TFace> heap_;
  std::vector<TFace> pending_;
  int flips_ = 0;            // around the point being inserted
  unsigned generation_ = 0;  // insertions so far
  bool scanning_ = false;
};

// The points of a seamless border, each side chosen from its own pixels: up to an eighth of the
// budget beyond the first two triangles per side, whatever the other sides need, until no pixel
// of the side is missed by more than `noError`.
std::vector<std::pair<int, int>> SeamlessBorderPoints(const THeightGrid& grid, int maxTriangles, double noError) {
  const int w = grid.Width, h = grid.Height;
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
  const int perSide = (maxTriangles - 2) / 8;
  std::vector<std::pair<int, int>> points;
  for (int x : ChooseSidePoints(top, perSide, noError)) points.push_back({x, 0});
  for (int x : ChooseSidePoints(bottom, perSide, noError)) points.push_back({x, h - 1});
  for (int y : ChooseSidePoints(left, perSide, noError)) points.push_back({0, y});
  for (int y : ChooseSidePoints(right, perSide, noError)) points.push_back({w - 1, y});
  // Swept along the longer side, each point next to the one before: the flips stay local and the
  // search for the point's triangle short.
  if (w >= h) {
    std::sort(points.begin(), points.end());
  } else {
    std::sort(points.begin(), points.end(), [](auto p, auto q) { return std::pair(p.second, p.first) < std::pair(q.second, q.first); });
  }
  return points;
}

}  // namespace

TGreedyTerrain BuildGreedyTerrain(const THeightGrid& grid, const TGreedySettings& settings,
                                  const THeightmapProgress& progress) {
  if (settings.MaxTriangles < 2) throw EHeightmapError("The triangle budget must be at least 2.");
  if (grid.Width < 2 || grid.Height < 2) throw EHeightmapError("The heightmap must be at least 2 x 2 pixels.");
  const int w = grid.Width, h = grid.Height, budget = settings.MaxTriangles;
  TProgressTicker ticker(progress);
  ticker.Tell(0, budget);

  TGreedyBuilder builder(grid, settings, ticker);
  builder.Insert(0, 0);
  builder.Insert(w - 1, 0);
  builder.Insert(w - 1, h - 1);
  builder.Insert(0, h - 1);
  // With b points on the border besides the corners and m inside, the rectangle has 2 + b + 2 m
  // triangles.
  int triangles = 2;
  const double bound = std::max(settings.MaxError, kNoError);
  if (settings.SeamlessBorder) {
    // Within the bound by a margin that the rounding of the triangles' planes along a side (a
    // sum along the row, not the side's own line) cannot eat.
    const double sideBound = settings.MaxError > kNoError ? settings.MaxError - 1e-9 : kNoError;
    TFace hint;
    for (const auto& [x, y] : SeamlessBorderPoints(grid, budget, sideBound)) {
      ticker.Step(triangles, budget);
      hint = builder.Insert(x, y, hint)->face();
      ++triangles;
    }
  }
  builder.StartScanning(triangles, budget);

  TGreedyStop stop = TGreedyStop::Exact;
  for (;;) {
    ticker.Step(triangles, budget);
    const TFace worst = builder.Worst();
    if (worst == TFace()) break;
    if (worst->info().Scan.Candidate <= bound) {
      stop = TGreedyStop::ErrorBound;
      break;
    }
    if (triangles >= budget) {
      stop = TGreedyStop::Budget;
      break;
    }
    const int column = worst->info().Scan.Column, row = worst->info().Scan.Row;
    const bool onBorder = column == 0 || row == 0 || column == w - 1 || row == h - 1;
    if (!onBorder && triangles + 1 == budget) {
      // One triangle left, and only a border point adds one.
      stop = TGreedyStop::Budget;
      int x = 0, y = 0, index = 0;
      TFace side;
      if (!settings.SeamlessBorder && builder.WorstBorderPixel(x, y, side, index)) {
        builder.SplitSide(x, y, side, index);
        ++triangles;
      }
      break;
    }
    builder.Insert(column, row, worst);
    triangles += onBorder ? 1 : 2;
  }
  if (stop == TGreedyStop::Budget && settings.DataDependentFlips && !settings.SeamlessBorder) builder.MendWorst();
  ticker.Tell(triangles, budget);
  TGreedyTerrain terrain = builder.Result(stop);
  // The inner pixels are within the bound; a seamless side that spent its share may not be.
  if (stop != TGreedyStop::Budget && terrain.MaxError > bound) terrain.Stop = TGreedyStop::BorderShare;
  return terrain;
}

}  // namespace terravel
