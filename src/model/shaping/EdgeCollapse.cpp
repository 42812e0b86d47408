#include "model/shaping/EdgeCollapse.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <queue>
#include <tuple>
#include <utility>

#include "model/core/Errors.h"
#include "model/editor/Editor.h"
#include "model/shaping/ShapingScope.h"

namespace terravel {

namespace {

constexpr double kNoCollapse = std::numeric_limits<double>::infinity();

struct TPoint {
  double X = 0, Y = 0, Z = 0;
};

double Orient(const TPoint& a, const TPoint& b, const TPoint& c) {
  return (b.X - a.X) * (c.Y - a.Y) - (b.Y - a.Y) * (c.X - a.X);
}

enum class TNodeState : std::uint8_t { Locked, Inner, Border, Removed };

// Among collapses of equal error the shortest side goes first, which keeps fans small and the
// triangles even where the surface is flat.
struct TCollapse {
  double Cost = kNoCollapse;
  double Length = 0;  // squared, in X and Y
  int Into = -1;
  bool Before(const TCollapse& other) const {
    return Cost < other.Cost || (Cost == other.Cost && Length < other.Length);
  }
};

class TCollapser {
 public:
  TCollapser(const TEditor& editor, const std::vector<bool>& chosen) : editor_(editor) {
    const int nodeCount = editor.Nodes.Count();
    points_.resize(static_cast<std::size_t>(nodeCount));
    for (int i = 0; i < nodeCount; ++i) {
      const T3DCoord& node = editor.Nodes[i];
      points_[static_cast<std::size_t>(i)] = {node.X, node.Y, node.Z};
    }
    state_.assign(static_cast<std::size_t>(nodeCount), TNodeState::Inner);
    around_.resize(static_cast<std::size_t>(nodeCount));
    error_.assign(static_cast<std::size_t>(nodeCount), 0);
    std::vector<bool> locked(static_cast<std::size_t>(nodeCount), false), border = locked;

    for (int p = 0; p < editor.Polygons.Count(); ++p) {
      const TPoly& polygon = editor.Polygons[p];
      const std::array<int, 3> c{polygon.Node1, polygon.Node2, polygon.Node3};
      const bool valid =
          std::ranges::all_of(c, [&](int n) { return n >= 0 && n < nodeCount && Finite(n); }) &&
          c[0] != c[1] && c[1] != c[2] && c[0] != c[2];
      const bool take =
          valid && chosen[static_cast<std::size_t>(p)] && Orient(At(c[0]), At(c[1]), At(c[2])) != 0;
      if (!take) {
        for (const int n : c) {
          if (n >= 0 && n < nodeCount) locked[static_cast<std::size_t>(n)] = true;
        }
        continue;
      }
      const int t = static_cast<int>(corners_.size());
      corners_.push_back(c);
      source_.push_back(p);
      sign_.push_back(Orient(At(c[0]), At(c[1]), At(c[2])) > 0 ? 1 : -1);
      for (const int n : c) around_[static_cast<std::size_t>(n)].push_back(t);
    }
    alive_.assign(corners_.size(), true);
    inside_.resize(corners_.size());
    aliveCount_ = static_cast<int>(corners_.size());

    // Sides shared by two triangles of another group, texture or winding, or by more than two,
    // hold their nodes; a side of one triangle is on the border.
    std::vector<std::tuple<int, int, int>> sides;
    sides.reserve(corners_.size() * 3);
    for (int t = 0; t < static_cast<int>(corners_.size()); ++t) {
      const auto& c = corners_[static_cast<std::size_t>(t)];
      for (int k = 0; k < 3; ++k)
        sides.emplace_back(std::min(c[k], c[(k + 1) % 3]), std::max(c[k], c[(k + 1) % 3]), t);
    }
    std::sort(sides.begin(), sides.end());
    for (std::size_t i = 0; i < sides.size();) {
      std::size_t j = i;
      while (j < sides.size() && std::get<0>(sides[j]) == std::get<0>(sides[i]) &&
             std::get<1>(sides[j]) == std::get<1>(sides[i])) {
        ++j;
      }
      const auto a = static_cast<std::size_t>(std::get<0>(sides[i])),
                 b = static_cast<std::size_t>(std::get<1>(sides[i]));
      if (j - i == 1) {
        border[a] = border[b] = true;
      } else if (j - i > 2 || !Alike(std::get<2>(sides[i]), std::get<2>(sides[i + 1]))) {
        locked[a] = locked[b] = true;
      }
      i = j;
    }
    for (int n = 0; n < nodeCount; ++n) {
      const auto at = static_cast<std::size_t>(n);
      if (locked[at] || around_[at].empty()) {
        state_[at] = TNodeState::Locked;
      } else if (border[at]) {
        state_[at] = TNodeState::Border;
      }
    }
  }

  int PolygonCount() const { return static_cast<int>(corners_.size()); }
  int AliveCount() const { return aliveCount_; }

  // Collapses cheapest first until the test says stop.
  template <typename Stop>
  void Run(Stop&& stop) {
    using TEntry = std::tuple<double, double, int, int>;  // cost, length, node, stamp
    std::priority_queue<TEntry, std::vector<TEntry>, std::greater<>> queue;
    std::vector<int> stamp(points_.size(), 0);
    std::vector<bool> queued(points_.size(), false);  // an entry of the current stamp waits
    const auto enqueue = [&](int n, const TCollapse& best) {
      const auto at = static_cast<std::size_t>(n);
      ++stamp[at];
      if (best.Cost < kNoCollapse) queue.emplace(best.Cost, best.Length, n, stamp[at]);
      queued[at] = best.Cost < kNoCollapse;
    };
    const auto push = [&](int n) {
      const auto at = static_cast<std::size_t>(n);
      const bool open = state_[at] == TNodeState::Inner || state_[at] == TNodeState::Border;
      enqueue(n, open ? Best(n) : TCollapse{});
    };
    for (int n = 0; n < static_cast<int>(points_.size()); ++n) push(n);
    while (!queue.empty()) {
      const auto [cost, length, n, entryStamp] = queue.top();
      queue.pop();
      if (entryStamp != stamp[static_cast<std::size_t>(n)]) continue;
      queued[static_cast<std::size_t>(n)] = false;
      const TCollapse best = Best(n);
      if (best.Cost != cost || best.Length != length) {  // its surroundings changed since: queue it afresh
        enqueue(n, best);
        continue;
      }
      const int removes = state_[static_cast<std::size_t>(n)] == TNodeState::Border ? 1 : 2;
      const auto verdict = stop(best.Cost, removes);
      if (verdict == TVerdict::Stop) break;
      if (verdict == TVerdict::Skip) continue;
      Collapse(n, best.Into);
      std::vector<int> ring;
      for (const int t : around_[static_cast<std::size_t>(best.Into)]) {
        for (const int c : corners_[static_cast<std::size_t>(t)]) ring.push_back(c);
      }
      std::sort(ring.begin(), ring.end());
      ring.erase(std::unique(ring.begin(), ring.end()), ring.end());
      // A waiting entry is checked again when it comes up; the others may have become possible.
      for (const int c : ring) {
        if (!queued[static_cast<std::size_t>(c)]) push(c);
      }
    }
  }

  enum class TVerdict { Go, Skip, Stop };

  TSimplifyResult Result() const {
    TSimplifyResult result;
    result.PolygonsBefore = PolygonCount();
    result.PolygonsAfter = aliveCount_;
    TMeshEdit& edit = result.Edit;
    for (std::size_t t = 0; t < corners_.size(); ++t) {
      const int p = source_[t];
      if (!alive_[t]) {
        edit.RemovedPolygons.push_back(p);
        continue;
      }
      const TPoly& polygon = editor_.Polygons[p];
      const std::array<std::int32_t, 3> old{polygon.Node1, polygon.Node2, polygon.Node3};
      if (old != corners_[t]) edit.Corners.push_back({p, corners_[t]});
    }
    for (std::size_t n = 0; n < points_.size(); ++n) {
      if (state_[n] != TNodeState::Removed) continue;
      edit.RemovedNodes.push_back(static_cast<int>(n));
      result.MaxError = std::max(result.MaxError, error_[n]);
    }
    return result;
  }

 private:
  const TPoint& At(int n) const { return points_[static_cast<std::size_t>(n)]; }
  bool Finite(int n) const {
    const T3DCoord& node = editor_.Nodes[n];
    return std::isfinite(node.X) && std::isfinite(node.Y) && std::isfinite(node.Z);
  }
  bool Alike(int s, int t) const {
    const TPoly& a = editor_.Polygons[source_[static_cast<std::size_t>(s)]];
    const TPoly& b = editor_.Polygons[source_[static_cast<std::size_t>(t)]];
    return a.Group == b.Group && a.Texture == b.Texture &&
           sign_[static_cast<std::size_t>(s)] == sign_[static_cast<std::size_t>(t)];
  }
  bool Has(int t, int n) const {
    const auto& c = corners_[static_cast<std::size_t>(t)];
    return c[0] == n || c[1] == n || c[2] == n;
  }

  // The neighbours of n and how many of n's triangles each shares.
  std::vector<std::pair<int, int>> Neighbours(int n) const {
    std::vector<std::pair<int, int>> found;
    for (const int t : around_[static_cast<std::size_t>(n)]) {
      for (const int c : corners_[static_cast<std::size_t>(t)]) {
        if (c == n) continue;
        auto it = std::find_if(found.begin(), found.end(), [c](const auto& f) { return f.first == c; });
        if (it == found.end()) {
          found.emplace_back(c, 1);
        } else {
          ++it->second;
        }
      }
    }
    return found;
  }

  // Where the triangles of n go when n joins `into`: corners with n replaced, and the source triangle.
  std::vector<std::pair<std::array<int, 3>, int>> Joined(int n, int into) const {
    std::vector<std::pair<std::array<int, 3>, int>> joined;
    for (const int t : around_[static_cast<std::size_t>(n)]) {
      if (Has(t, into)) continue;
      auto c = corners_[static_cast<std::size_t>(t)];
      for (int& corner : c) corner = corner == n ? into : corner;
      joined.emplace_back(c, t);
    }
    return joined;
  }

  // The triangle of the list that holds the point best, and the height error there.
  static std::pair<int, double> Locate(const std::vector<std::pair<std::array<int, 3>, int>>& triangles,
                                       const std::vector<TPoint>& points, const TPoint& p) {
    int best = -1;
    double bestFit = -kNoCollapse, error = 0;
    for (int k = 0; k < static_cast<int>(triangles.size()); ++k) {
      const auto& c = triangles[static_cast<std::size_t>(k)].first;
      const TPoint &a = points[static_cast<std::size_t>(c[0])], &b = points[static_cast<std::size_t>(c[1])],
                   &d = points[static_cast<std::size_t>(c[2])];
      const double area = Orient(a, b, d);
      const double l0 = Orient(p, b, d) / area, l1 = Orient(a, p, d) / area, l2 = 1 - l0 - l1;
      const double fit = std::min({l0, l1, l2});
      if (fit > bestFit) {
        bestFit = fit;
        best = k;
        error = std::fabs(l0 * a.Z + l1 * b.Z + l2 * d.Z - p.Z);
      }
    }
    return {best, error};
  }

  // Whether a border node lies on the straight line between its two border neighbours, in Z too.
  bool Straight(int a, int n, int b) const {
    const TPoint &pa = At(a), &pn = At(n), &pb = At(b);
    const double dx = pb.X - pa.X, dy = pb.Y - pa.Y, length2 = dx * dx + dy * dy;
    if (length2 == 0 || std::fabs(Orient(pa, pn, pb)) > 1e-9 * length2) return false;
    const double along = ((pn.X - pa.X) * dx + (pn.Y - pa.Y) * dy) / length2;
    if (!(along > 0 && along < 1)) return false;
    return std::fabs(pa.Z + along * (pb.Z - pa.Z) - pn.Z) <= 1e-6 * (1 + std::fabs(pn.Z));
  }

  TCollapse Best(int n) const {
    const auto neighbours = Neighbours(n);
    std::vector<int> candidates;
    if (state_[static_cast<std::size_t>(n)] == TNodeState::Border) {
      std::vector<int> along;
      for (const auto& [c, shared] : neighbours) {
        if (shared == 1) along.push_back(c);
      }
      if (along.size() != 2 || !Straight(along[0], n, along[1])) return {};
      candidates = along;
    } else {
      for (const auto& [c, shared] : neighbours) {
        if (shared != 2) return {};
        candidates.push_back(c);
      }
    }
    TCollapse best;
    for (const int into : candidates) {
      const double dx = At(into).X - At(n).X, dy = At(into).Y - At(n).Y;
      const TCollapse candidate{Cost(n, into, neighbours, best.Cost), dx * dx + dy * dy, into};
      if (candidate.Cost < kNoCollapse && candidate.Before(best)) best = candidate;
    }
    return best;
  }

  // Stops early, returning more than bound, once the cost exceeds it.
  double Cost(int n, int into, const std::vector<std::pair<int, int>>& neighbours, double bound) const {
    // The nodes both share must be exactly the far corners of their common triangles.
    int common = 0, shared = 0;
    for (const int t : around_[static_cast<std::size_t>(n)]) shared += Has(t, into) ? 1 : 0;
    const auto& intoTriangles = around_[static_cast<std::size_t>(into)];
    for (const auto& neighbour : neighbours) {
      const int c = neighbour.first;
      if (c != into && std::ranges::any_of(intoTriangles, [&](int t) { return Has(t, c); })) ++common;
    }
    if (common != shared) return kNoCollapse;
    const auto joined = Joined(n, into);
    if (joined.empty()) return kNoCollapse;
    for (const auto& [c, t] : joined) {
      if (Orient(At(c[0]), At(c[1]), At(c[2])) * sign_[static_cast<std::size_t>(t)] <= 0) return kNoCollapse;
    }
    double cost = Locate(joined, points_, At(n)).second;
    for (const int t : around_[static_cast<std::size_t>(n)]) {
      if (cost > bound) return cost;
      for (const int p : inside_[static_cast<std::size_t>(t)])
        cost = std::max(cost, Locate(joined, points_, At(p)).second);
    }
    return cost;
  }

  void Collapse(int n, int into) {
    const auto joined = Joined(n, into);
    std::vector<int> pool{n};
    for (const int t : around_[static_cast<std::size_t>(n)]) {
      auto& inside = inside_[static_cast<std::size_t>(t)];
      pool.insert(pool.end(), inside.begin(), inside.end());
      inside.clear();
      if (!Has(t, into)) continue;
      alive_[static_cast<std::size_t>(t)] = false;
      --aliveCount_;
      for (const int c : corners_[static_cast<std::size_t>(t)]) {
        if (c == n) continue;
        auto& list = around_[static_cast<std::size_t>(c)];
        list.erase(std::find(list.begin(), list.end(), t));
      }
    }
    for (const auto& [c, t] : joined) {
      corners_[static_cast<std::size_t>(t)] = c;
      around_[static_cast<std::size_t>(into)].push_back(t);
    }
    around_[static_cast<std::size_t>(n)].clear();
    state_[static_cast<std::size_t>(n)] = TNodeState::Removed;
    for (const int p : pool) {
      const auto [k, error] = Locate(joined, points_, At(p));
      inside_[static_cast<std::size_t>(joined[static_cast<std::size_t>(k)].second)].push_back(p);
      error_[static_cast<std::size_t>(p)] = error;
    }
  }

  const TEditor& editor_;
  std::vector<TPoint> points_;
  std::vector<TNodeState> state_;
  std::vector<std::vector<int>> around_;  // the living triangles of each node
  std::vector<double> error_;             // of each removed node against the surface now
  std::vector<std::array<int, 3>> corners_;
  std::vector<int> source_;
  std::vector<int> sign_;
  std::vector<bool> alive_;
  std::vector<std::vector<int>> inside_;  // the removed nodes above each triangle
  int aliveCount_ = 0;
};

}  // namespace

TSimplifyResult SimplifyPolygons(const TEditor& editor, const TSimplifyOptions& options,
                                 const TShapingProgress& progress) {
  if (options.MaxTriangles < 0) throw ETerravelError("The number of triangles must be 1 or more.");
  if (options.MaxTriangles == 0 && !(options.MaxError >= 0 && std::isfinite(options.MaxError))) {
    throw ETerravelError("The maximum height error must be 0 or more.");
  }
  TCollapser collapser(editor, ChosenPolygons(editor));
  using TVerdict = TCollapser::TVerdict;
  TShapingTicker ticker(progress);
  const int before = collapser.AliveCount();
  if (options.MaxTriangles > 0) {
    const int budget = options.MaxTriangles;
    // Exactly the budget where a border node can take the last triangle; one below it otherwise.
    for (const int below : {0, 1}) {
      collapser.Run([&](double, int removes) {
        ticker.Step(before - collapser.AliveCount(), std::max(before - budget, 1));
        if (collapser.AliveCount() <= budget) return TVerdict::Stop;
        return collapser.AliveCount() - removes < budget - below ? TVerdict::Skip : TVerdict::Go;
      });
    }
  } else {
    const double limit = options.MaxError;
    // Rounding in the interpolation is no error: a plane stays a plane.
    const double tolerance = 1e-9 * limit + 1e-6;
    collapser.Run([&](double cost, int) {
      ticker.Step(before - collapser.AliveCount(), before);
      return cost > limit + tolerance ? TVerdict::Stop : TVerdict::Go;
    });
  }
  return collapser.Result();
}

}  // namespace terravel
