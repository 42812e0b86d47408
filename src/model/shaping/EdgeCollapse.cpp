#include "model/shaping/EdgeCollapse.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <tuple>
#include <utility>

#include "model/core/Errors.h"
#include "model/editor/Editor.h"
#include "model/shaping/CollapseQueue.h"
#include "model/shaping/FlatLists.h"
#include "model/shaping/ShapingScope.h"

namespace terravel {

namespace {

constexpr double kNoCollapse = std::numeric_limits<double>::infinity();
constexpr double kTurn = 2 * std::numbers::pi;
// With a budget, how much the growth of the summed squared error counts beside the largest error:
// enough to lower the mean error by a few percent, little enough to leave the largest as it was.
constexpr double kSquaredWeight = 0.5;
// Fans up to this many triangles are searched one by one; larger ones by angle.
constexpr int kSmallFan = 8;
// Fans round a node of up to this many triangles are put in order by looking through them.
constexpr int kSmallRing = 16;

struct TPoint {
  double X = 0, Y = 0, Z = 0;
};

double Orient(const TPoint& a, const TPoint& b, const TPoint& c) {
  return (b.X - a.X) * (c.Y - a.Y) - (b.Y - a.Y) * (c.X - a.X);
}

// How well the triangle holds p (its smallest barycentric coordinate) and the height error there;
// area is the triangle's Orient.
std::pair<double, double> Fit(const TPoint& a, const TPoint& b, const TPoint& c, const TPoint& p, double area) {
  if (area == 0) return {-kNoCollapse, 0};
  const double l0 = Orient(p, b, c) / area, l1 = Orient(a, p, c) / area, l2 = 1 - l0 - l1;
  return {std::min({l0, l1, l2}), std::fabs(l0 * a.Z + l1 * b.Z + l2 * c.Z - p.Z)};
}

// A removed node above a triangle, with its place (its node's, held exactly) and its height error
// against the surface now, so that going through the nodes above a triangle reads one run of memory.
struct TRemoved {
  int Node = 0;
  float X = 0, Y = 0, Z = 0;
  double Error = 0;
  TPoint Point() const { return {X, Y, Z}; }
};

enum class TNodeState : std::uint8_t { Locked, Inner, Border, Removed };

// A living triangle in the list of one of its corners, with its two other corners going round
// (the corner after that node, then the one before it), so that putting a node's triangles in
// order, or looking for a node joined to it, reads its list alone.
struct TAround {
  int Triangle = 0;
  int From = 0;
  int To = 0;
};

// Among collapses of equal cost the shortest side goes first, which keeps fans small and the
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
    const auto nodes = static_cast<std::size_t>(nodeCount);
    points_.resize(nodes);
    for (int i = 0; i < nodeCount; ++i) {
      const T3DCoord& node = editor.Nodes[i];
      points_[static_cast<std::size_t>(i)] = {node.X, node.Y, node.Z};
    }
    state_.assign(nodes, TNodeState::Inner);
    std::vector<bool> locked(nodes, false), border = locked, used = locked;
    std::vector<int> degree(nodes, 0);

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
      corners_.push_back(c);
      source_.push_back(p);
      sign_.push_back(Orient(At(c[0]), At(c[1]), At(c[2])) > 0 ? 1 : -1);
      for (const int n : c) ++degree[static_cast<std::size_t>(n)];
    }
    around_.Reset(degree);
    places_.resize(corners_.size());
    for (int t = 0; t < static_cast<int>(corners_.size()); ++t) {
      for (int i = 0; i < 3; ++i) AddAround(t, i);
    }
    alive_.assign(corners_.size(), true);
    // Each removed node lies above one triangle; lists of powers of two hold them.
    inside_.Reset(std::vector<int>(corners_.size(), 0), 2 * nodes);
    aliveCount_ = static_cast<int>(corners_.size());

    // Sides shared by two triangles of another group, texture or winding, or by more than two,
    // hold their nodes; a side of one triangle is on the border.
    // Each side (a, b), a < b, found round a: the triangles with that side next to each other.
    std::vector<std::pair<int, int>> sides;  // (b, triangle) round one a
    for (int a = 0; a < nodeCount; ++a) {
      sides.clear();
      for (const TAround& e : around_.Of(a)) {
        if (e.From > a) sides.emplace_back(e.From, e.Triangle);
        if (e.To > a) sides.emplace_back(e.To, e.Triangle);
      }
      std::sort(sides.begin(), sides.end());
      for (std::size_t i = 0; i < sides.size();) {
        std::size_t j = i;
        while (j < sides.size() && sides[j].first == sides[i].first) ++j;
        const auto at = static_cast<std::size_t>(a), bt = static_cast<std::size_t>(sides[i].first);
        if (j - i == 1) {
          border[at] = border[bt] = true;
        } else if (j - i > 2 || !Alike(sides[i].second, sides[i + 1].second)) {
          locked[at] = locked[bt] = true;
        }
        i = j;
      }
    }
    for (std::size_t n = 0; n < nodes; ++n) {
      used[n] = degree[n] > 0;
      if (locked[n] || !used[n]) {
        state_[n] = TNodeState::Locked;
      } else if (border[n]) {
        state_[n] = TNodeState::Border;
      }
    }
    usedCount_ = static_cast<int>(std::ranges::count(used, true));
    links_.assign(nodes, {});
    marks_.assign(nodes, {});
  }

  int PolygonCount() const { return static_cast<int>(corners_.size()); }
  int AliveCount() const { return aliveCount_; }

  // With a weight above 0 the cost of a collapse is raised to the growth of the summed squared
  // error it makes, times the weight, where that is more than the largest error.
  void SetSquaredWeight(double weight) { squaredWeight_ = weight; }

  enum class TVerdict { Go, Skip, Stop };

  // Collapses cheapest first until the test says stop. Each node waits in the queue with the
  // bound of its best collapse; the removed nodes are relocated only for the node at the front,
  // which goes at once if its exact cost still comes first, or waits again with that cost.
  template <typename Stop>
  void Run(Stop&& stop) {
    const std::size_t nodes = points_.size();
    // What each node's entry in the queue is, side by side.
    struct TWaiting {
      int Into = -1;       // of the exact cost
      int Touched = 0;     // the collapse that last changed the node's fan
      bool Queued = false;  // an entry waits
      bool Exact = false;   // the waiting entry's cost is exact
      bool Changed = true;  // since its last exact cost
    };
    std::vector<TWaiting> waiting(nodes);
    // The nodes whose exact cost was found for a collapse into each node (some no longer so).
    TFlatLists<int> joining;
    joining.Reset(std::vector<int>(nodes, 0));
    int collapses = 0;
    TCollapseQueue queue;
    const auto pushBound = [&](int n) {
      const TCollapse best = Open(n) ? Best(n, false) : TCollapse{};
      TWaiting& w = waiting[static_cast<std::size_t>(n)];
      w.Queued = best.Cost < kNoCollapse;
      w.Exact = false;
      if (w.Queued) queue.Push({best.Cost, best.Length, n});
    };
    {
      std::vector<TCollapseKey> first;
      for (int n = 0; n < static_cast<int>(nodes); ++n) {
        const TCollapse best = Open(n) ? Best(n, false) : TCollapse{};
        waiting[static_cast<std::size_t>(n)].Queued = best.Cost < kNoCollapse;
        if (best.Cost < kNoCollapse) first.push_back({best.Cost, best.Length, n});
      }
      queue.Assign(std::move(first));
    }
    while (!queue.Empty()) {
      const TCollapseKey entry = queue.Front();
      const int n = entry.Node;
      const auto at = static_cast<std::size_t>(n);
      TWaiting& w = waiting[at];
      TCollapse best{entry.Cost, entry.Length, w.Into};
      if (!w.Exact || w.Changed) {
        best = Best(n, true);
        w.Changed = false;
        if (best.Cost < kNoCollapse) {
          const TCollapseKey found{best.Cost, best.Length, n};
          w.Exact = true;
          w.Into = best.Into;
          if (queue.AfterTheRest(found)) {  // another comes first now
            joining.Push(best.Into, n);
            queue.ReplaceFront(found);
            continue;
          }
        }
      }
      queue.PopFront();
      w.Queued = false;
      if (best.Cost == kNoCollapse) continue;
      const auto verdict = stop(best.Cost, state_[at] == TNodeState::Border ? 1 : 2);
      if (verdict == TVerdict::Stop) break;
      if (verdict == TVerdict::Skip) continue;
      Collapse(n, best.Into);
      // n's neighbours, the one that stayed among them: their triangles or the removed nodes above
      // them changed. Other nodes keep their triangles; n's neighbours only gained neighbours, so
      // that a collapse into one of them may have become impossible, and none has become
      // possible. Of those, only the ones waiting with such a collapse are looked at again.
      ++collapses;
      touched_.clear();
      for (const int c : ring_) {
        TWaiting& around = waiting[static_cast<std::size_t>(c)];
        if (around.Touched == collapses) continue;
        around.Touched = collapses;
        around.Changed = true;
        touched_.push_back(c);
      }
      for (const int m : touched_) {
        for (const int c : joining.Of(m)) {
          TWaiting& other = waiting[static_cast<std::size_t>(c)];
          if (other.Queued && other.Exact && other.Into == m) other.Changed = true;
        }
        joining.Empty(m);
      }
      for (const int c : touched_) {
        // A waiting entry is checked when it comes up; the others may have become possible.
        if (!waiting[static_cast<std::size_t>(c)].Queued) pushBound(c);
      }
    }
  }

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
    // Every removed node lies above one living triangle, with its error there.
    std::vector<double> errors(points_.size(), 0);
    for (std::size_t t = 0; t < corners_.size(); ++t) {
      if (!alive_[t]) continue;
      for (const TRemoved& p : inside_.Of(static_cast<int>(t))) errors[static_cast<std::size_t>(p.Node)] = p.Error;
    }
    double squares = 0;
    for (std::size_t n = 0; n < points_.size(); ++n) {
      if (state_[n] != TNodeState::Removed) continue;
      edit.RemovedNodes.push_back(static_cast<int>(n));
      result.MaxError = std::max(result.MaxError, errors[n]);
      squares += errors[n] * errors[n];
    }
    if (usedCount_ > 0) result.RmsError = std::sqrt(squares / usedCount_);
    return result;
  }

 private:
  // A node's place, kept in single precision as the document holds it and read out exactly.
  TPoint At(int n) const {
    const TPlace& place = points_[static_cast<std::size_t>(n)];
    return {place.X, place.Y, place.Z};
  }
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
  bool Open(int n) const {
    const TNodeState state = state_[static_cast<std::size_t>(n)];
    return state == TNodeState::Inner || state == TNodeState::Border;
  }
  double Angle(const TPoint& from, const TPoint& to) const {
    return side_ * std::atan2(to.Y - from.Y, to.X - from.X);
  }
  // The angles, each below the next, of the nodes around `from` (the winding's way round).
  void Angles(const TPoint& from, const std::vector<int>& nodes, std::vector<double>& angles) const {
    angles.resize(nodes.size());
    for (std::size_t i = 0; i < nodes.size(); ++i) {
      // A closed ring ends with its first node again.
      double angle = i > 0 && nodes[i] == nodes[0] ? angles[0] : Angle(from, At(nodes[i]));
      if (i > 0) {
        while (angle < angles[i - 1]) angle += kTurn;
      }
      angles[i] = angle;
    }
  }
  // Where an angle falls among ascending ones: the i with angles[i] <= angle < angles[i + 1],
  // kept within 0 .. angles.size() - 2.
  static int Sector(const std::vector<double>& angles, double angle) {
    const double first = angles.front();
    while (angle < first) angle += kTurn;
    while (angle >= first + kTurn) angle -= kTurn;
    const int last = static_cast<int>(angles.size()) - 2;
    if (angle > angles.back() && angle - angles.back() > first + kTurn - angle) return 0;
    const int i = static_cast<int>(std::upper_bound(angles.begin(), angles.end(), angle) - angles.begin()) - 1;
    return std::clamp(i, 0, last);
  }

  // Triangle t goes into, or out of, the list of its corner i; the triangle that takes its place
  // there is told its new place.
  void AddAround(int t, int i) {
    const auto at = static_cast<std::size_t>(t), corner = static_cast<std::size_t>(i);
    const auto& c = corners_[at];
    const int n = c[corner];
    places_[at][corner] = around_.Size(n);
    around_.Push(n, {t, c[(corner + 1) % 3], c[(corner + 2) % 3]});
  }
  // The other corners of triangle t, told in the list of its corner i.
  void RenewAround(int t, int i) {
    const auto at = static_cast<std::size_t>(t), corner = static_cast<std::size_t>(i);
    const auto& c = corners_[at];
    TAround& e = around_.At(c[corner], places_[at][corner]);
    e.From = c[(corner + 1) % 3];
    e.To = c[(corner + 2) % 3];
  }
  void RemoveAround(int t, int i) {
    const auto at = static_cast<std::size_t>(t);
    const int n = corners_[at][static_cast<std::size_t>(i)];
    const int place = places_[at][static_cast<std::size_t>(i)];
    const int last = around_.Of(n).back().Triangle;
    around_.RemoveAt(n, place);
    if (last == t) return;
    auto& corners = corners_[static_cast<std::size_t>(last)];
    const auto j = static_cast<std::size_t>(std::ranges::find(corners, n) - corners.begin());
    places_[static_cast<std::size_t>(last)][j] = place;
  }

  // The triangles of n in order round it: ring_[i], n, ring_[i + 1] are the corners of fan_[i]
  // (n's triangle tris_[i]), the ring closed (its last node its first) round an inner node. False
  // where the triangles do not make one fan.
  bool BuildRing(int n) {
    ringOf_ = -1;
    const auto triangles = around_.Of(n);
    const int degree = static_cast<int>(triangles.size());
    if (degree == 0) return false;
    // Each triangle's corner after n and the one before it, going round.
    from_.resize(triangles.size());
    to_.resize(triangles.size());
    for (int i = 0; i < degree; ++i) {
      const TAround& e = triangles[static_cast<std::size_t>(i)];
      from_[static_cast<std::size_t>(i)] = e.From;
      to_[static_cast<std::size_t>(i)] = e.To;
    }
    int first = 0;
    int starts = 0;
    if (degree <= kSmallRing) {
      // Two triangles from one side or to one side: not one fan.
      // next[i]: the triangle leaving the node triangle i reaches, -1 for none; reached[j]: whether
      // one reaches triangle j.
      std::array<int, kSmallRing> next;
      std::array<bool, kSmallRing> reached{};
      const int* from = from_.data();
      const int* to = to_.data();
      for (int i = 0; i < degree; ++i) {
        next[static_cast<std::size_t>(i)] = -1;
        for (int j = i + 1; j < degree; ++j) {
          if (from[i] == from[j] || to[i] == to[j]) return false;
        }
        for (int j = 0; j < degree; ++j) {
          if (from[j] == to[i]) {
            next[static_cast<std::size_t>(i)] = j;
            reached[static_cast<std::size_t>(j)] = true;
          }
        }
      }
      for (int i = degree - 1; i >= 0; --i) {
        if (!reached[static_cast<std::size_t>(i)]) {
          first = i;
          ++starts;
        }
      }
      if (starts > 1) return false;
      ring_.resize(static_cast<std::size_t>(degree) + 1);
      tris_.resize(static_cast<std::size_t>(degree));
      int i = first;
      std::size_t length = 0;
      ring_[0] = from[i];
      for (int step = 0; step < degree; ++step) {
        ring_[length + 1] = to[i];
        tris_[length++] = triangles[static_cast<std::size_t>(i)].Triangle;
        i = next[static_cast<std::size_t>(i)];
        if (i < 0 || i == first) break;
      }
      ring_.resize(length + 1);
      tris_.resize(length);
    } else {
      ++ringStamp_;
      for (int i = 0; i < degree; ++i) {
        const auto a = static_cast<std::size_t>(from_[static_cast<std::size_t>(i)]),
                   b = static_cast<std::size_t>(to_[static_cast<std::size_t>(i)]);
        if (links_[a].FromStamp == ringStamp_ || links_[b].ToStamp == ringStamp_) return false;
        links_[a].FromStamp = ringStamp_;
        links_[a].Triangle = i;
        links_[b].ToStamp = ringStamp_;
      }
      for (int i = degree - 1; i >= 0; --i) {
        if (links_[static_cast<std::size_t>(from_[static_cast<std::size_t>(i)])].ToStamp != ringStamp_) {
          first = i;
          ++starts;
        }
      }
      if (starts > 1) return false;
      ring_.clear();
      tris_.clear();
      int i = first;
      ring_.push_back(from_[static_cast<std::size_t>(i)]);
      for (int step = 0; step < degree; ++step) {
        const int b = to_[static_cast<std::size_t>(i)];
        ring_.push_back(b);
        tris_.push_back(triangles[static_cast<std::size_t>(i)].Triangle);
        const auto bt = static_cast<std::size_t>(b);
        if (links_[bt].FromStamp != ringStamp_) break;
        i = links_[bt].Triangle;
        if (i == first) break;
      }
    }
    closed_ = starts == 0;
    turned_ = -1;
    if (static_cast<int>(tris_.size()) != degree || (closed_ && ring_.back() != ring_.front())) return false;
    side_ = sign_[static_cast<std::size_t>(tris_.front())];
    ringOf_ = n;
    return true;
  }

  // The collapse of the ring's node k: whether no other node of the ring than those of the two
  // (on the border one) triangles n and it share is already joined to it.
  bool Linked(int k) const {
    const int d = static_cast<int>(tris_.size());
    const int into = ring_[static_cast<std::size_t>(k)];
    const auto far = [&](int i) {
      return (closed_ ? std::min((i - k + d) % d, (k - i + d) % d) : std::abs(i - k)) > 1;
    };
    const int size = around_.Size(into);
    if (size > kSmallFan) {
      // Round a node of many triangles those of the other ring nodes may be fewer to look through.
      long long ringWork = 0;
      for (int i = 0; i < (closed_ ? d : d + 1); ++i) {
        if (far(i)) ringWork += around_.Size(ring_[static_cast<std::size_t>(i)]);
      }
      if (size > ringWork) {
        for (int i = 0; i < (closed_ ? d : d + 1); ++i) {
          if (!far(i)) continue;
          for (const TAround& e : around_.Of(ring_[static_cast<std::size_t>(i)])) {
            if (e.From == into || e.To == into) return false;
          }
        }
        return true;
      }
    }
    const auto joined = [&](int c) {
      const TRingMark& mark = marks_[static_cast<std::size_t>(c)];
      return mark.Stamp == markStamp_ && far(mark.Place);
    };
    for (const TAround& e : around_.Of(into)) {
      if (joined(e.From) || joined(e.To)) return false;
    }
    return true;
  }

  // The ring's nodes marked with their places, for Linked.
  void MarkRing() {
    ++markStamp_;
    const int count = static_cast<int>(tris_.size()) + (closed_ ? 0 : 1);
    for (int i = 0; i < count; ++i) {
      marks_[static_cast<std::size_t>(ring_[static_cast<std::size_t>(i)])] = {markStamp_, i};
    }
  }

  // The triangles n's triangles become when n joins ring node k: into_, fanNodes_[j] and
  // fanNodes_[j + 1] the corners of n's triangle fanTris_[j]. False where one would turn over.
  // Without toLocate only whether it can be made is found, not what Locate reads.
  bool BuildFan(int k, bool toLocate = true) {
    const int d = static_cast<int>(tris_.size());
    if (d > kSmallFan && TurnsOver(k)) return false;
    into_ = ring_[static_cast<std::size_t>(k)];
    fanNodes_.clear();
    fanTris_.clear();
    if (closed_) {
      for (int j = 1, i = k + 1; j < d; ++j, ++i) {
        if (i == d) i = 0;
        fanNodes_.push_back(ring_[static_cast<std::size_t>(i)]);
        if (j < d - 1) fanTris_.push_back(tris_[static_cast<std::size_t>(i)]);
      }
    } else {
      const int from = k == 0 ? 1 : 0;
      for (int j = from; j < from + d; ++j) fanNodes_.push_back(ring_[static_cast<std::size_t>(j)]);
      for (int j = from; j < from + d - 1; ++j) fanTris_.push_back(tris_[static_cast<std::size_t>(j)]);
    }
    if (fanTris_.empty()) return false;
    const TPoint centre = At(into_);
    fanPoints_.resize(fanNodes_.size());
    for (std::size_t j = 0; j < fanNodes_.size(); ++j) fanPoints_[j] = At(fanNodes_[j]);
    fanAreas_.resize(fanTris_.size());
    for (std::size_t j = 0; j + 1 < fanNodes_.size(); ++j) {
      fanAreas_[j] = Orient(centre, fanPoints_[j], fanPoints_[j + 1]);
      if (fanAreas_[j] * side_ <= 0) {
        turned_ = FanSide(k, static_cast<int>(j));
        return false;
      }
    }
    if (!toLocate) return true;
    fanCentre_ = centre;
    fanSpokes_.resize(fanNodes_.size());
    for (std::size_t j = 0; j < fanNodes_.size(); ++j) {
      fanSpokes_[j] = {side_ * (fanPoints_[j].X - centre.X), side_ * (fanPoints_[j].Y - centre.Y), 0};
    }
    if (fanTris_.size() > kSmallFan) Angles(centre, fanNodes_, fanAngles_);
    return true;
  }

  // Where the fan of ring node k has its triangle j: the ring's side from ring_[i] to ring_[i + 1].
  int FanSide(int k, int j) const {
    const int d = static_cast<int>(tris_.size());
    return closed_ ? (k + 1 + j) % d : (k == 0 ? 1 : 0) + j;
  }

  // Whether the fan of ring node k would certainly turn a triangle over, by a few of its
  // triangles: those next to k, where a ring that is nearly straight turns first, and the one that
  // turned over last. A large ring's hopeless collapses cost little that way.
  bool TurnsOver(int k) const {
    const int count = static_cast<int>(tris_.size()) - (closed_ ? 2 : 1);
    if (count <= 0) return false;
    const TPoint& centre = At(ring_[static_cast<std::size_t>(k)]);
    const auto over = [&](int i) {
      const auto at = static_cast<std::size_t>(i);
      return Orient(centre, At(ring_[at]), At(ring_[at + 1])) * side_ <= 0;
    };
    for (const int j : {0, count - 1, std::min(1, count - 1), std::max(count - 2, 0)}) {
      if (over(FanSide(k, j))) return true;
    }
    if (turned_ < 0) return false;
    // The last side that turned over, where it is one of this fan's.
    const int d = static_cast<int>(tris_.size());
    const int j = closed_ ? (turned_ - k - 1 + 2 * d) % d : turned_ - (k == 0 ? 1 : 0);
    return j >= 0 && j < count && over(turned_);
  }

  // The fan triangle (its place in fanTris_) that holds p best (the first of the largest smallest
  // barycentric coordinate), and the height error there. The triangle whose wedge round the centre
  // holds p is measured first; the others only where their coordinates could come out larger.
  std::pair<int, double> Locate(const TPoint& p) const {
    const int count = static_cast<int>(fanTris_.size());
    int from = 0, to = count - 1;
    if (count > kSmallFan) {
      const int j = Sector(fanAngles_, Angle(At(into_), p));
      from = std::max(0, j - 1);
      to = std::min(count - 1, j + 1);
    }
    const TPoint& centre = fanCentre_;
    // spokes[i]: on which side of the line from the centre to fan node from + i p lies, times the
    // winding (above 0 where the triangle before that node cannot hold p).
    std::array<double, kSmallFan + 2> spokes;  // filled from 0 to to + 1 - from
    const double px = p.X - centre.X, py = p.Y - centre.Y;
    for (int i = from; i <= to + 1; ++i) {
      const auto at = static_cast<std::size_t>(i);
      spokes[static_cast<std::size_t>(i - from)] = fanSpokes_[at].X * py - fanSpokes_[at].Y * px;
    }
    int first = from;
    for (int j = from; j <= to; ++j) {
      if (spokes[static_cast<std::size_t>(j - from)] >= 0 && spokes[static_cast<std::size_t>(j - from + 1)] <= 0) {
        first = j;
        break;
      }
    }
    const auto fit = [&](int j) {
      const auto at = static_cast<std::size_t>(j);
      return Fit(centre, fanPoints_[at], fanPoints_[at + 1], p, fanAreas_[at]);
    };
    auto [bestFit, error] = fit(first);
    int best = first;
    for (int j = from; j <= to; ++j) {
      if (j == first) continue;
      const auto at = static_cast<std::size_t>(j);
      if (bestFit >= 0) {
        // Where one coordinate is below 0 the triangle cannot hold p better.
        const double inner = -spokes[static_cast<std::size_t>(j - from + 1)];
        if (inner < 0) continue;
        const double outer = side_ * Orient(p, fanPoints_[at], fanPoints_[at + 1]);
        if (outer < 0) continue;
        // The third coordinate, 1 less the two others, is clearly below 0.
        const double area = fanAreas_[at] * side_;
        if (outer + inner - area > 1e-9 * (outer + inner + area)) continue;
      }
      const auto [f, e] = fit(j);
      if (f > bestFit || (f == bestFit && j < best)) {
        bestFit = f;
        best = j;
        error = e;
      }
    }
    return {best, error};
  }

  // A lower bound of the cost of n joining ring node k: n's own error, in the fan triangle its
  // position falls in (found by the angle opposite k round n).
  double Bound(int n, int k) const {
    const int d = static_cast<int>(tris_.size());
    const TPoint& p = At(n);
    const TPoint& into = At(ring_[static_cast<std::size_t>(k)]);
    if (!closed_) {  // along the border to its other end
      const TPoint& other = At(ring_[static_cast<std::size_t>(k == 0 ? d : 0)]);
      const double dx = other.X - into.X, dy = other.Y - into.Y;
      const double along = ((p.X - into.X) * dx + (p.Y - into.Y) * dy) / (dx * dx + dy * dy);
      return std::fabs(into.Z + along * (other.Z - into.Z) - p.Z);
    }
    const int i = Sector(ringAngles_, ringAngles_[static_cast<std::size_t>(k)] + std::numbers::pi);
    if (i == k || (i + 1) % d == k) return 0;
    const TPoint &b = At(ring_[static_cast<std::size_t>(i)]), &c = At(ring_[static_cast<std::size_t>(i) + 1]);
    const auto [fit, error] = Fit(into, b, c, p, Orient(into, b, c));
    return fit == -kNoCollapse ? 0 : error;
  }

  // Whether a border node lies between its two border neighbours on a straight line in X and Y.
  bool Straight() const {
    const TPoint &pa = At(ring_.front()), &pb = At(ring_.back());
    const TPoint& pn = centreNode_;
    const double dx = pb.X - pa.X, dy = pb.Y - pa.Y, length2 = dx * dx + dy * dy;
    if (length2 == 0 || std::fabs(Orient(pa, pn, pb)) > 1e-9 * length2) return false;
    const double along = ((pn.X - pa.X) * dx + (pn.Y - pa.Y) * dy) / length2;
    return along > 0 && along < 1;
  }

  // The best collapse of n: with `exact` its full cost, otherwise the least bound of any collapse
  // that keeps the mesh whole.
  TCollapse Best(int n, bool exact) {
    keptNode_ = -1;
    if (!BuildRing(n)) return {};
    const bool inner = state_[static_cast<std::size_t>(n)] == TNodeState::Inner;
    if (inner != closed_) return {};
    MarkRing();
    centreNode_ = At(n);
    const int d = static_cast<int>(tris_.size());
    // What the search reads next, fetched while the bounds are worked out.
    for (const int c : ring_) {
      __builtin_prefetch(&points_[static_cast<std::size_t>(c)]);
      around_.FetchPlace(c);
    }
    if (exact) {
      for (const int t : tris_) inside_.FetchPlace(t);
    }
    candidates_.clear();
    const auto add = [&](int k) {
      const TPoint& into = At(ring_[static_cast<std::size_t>(k)]);
      const double dx = into.X - centreNode_.X, dy = into.Y - centreNode_.Y;
      candidates_.push_back({Bound(n, k), dx * dx + dy * dy, ring_[static_cast<std::size_t>(k)], k});
    };
    if (inner) {
      // Round a node of many triangles the collapses that certainly fold go first, so that a
      // node with few or none possible costs little more than its ring.
      hopeful_.clear();
      for (int k = 0; k < d; ++k) {
        if (d <= kSmallFan || !TurnsOver(k)) hopeful_.push_back(k);
      }
      if (!hopeful_.empty()) Angles(centreNode_, ring_, ringAngles_);
      for (const int k : hopeful_) add(k);
    } else if (Straight()) {
      add(0);
      add(d);
    }
    if (exact) {
      for (const int t : tris_) inside_.FetchValues(t);
    }
    std::ranges::sort(candidates_, [](const TCandidate& a, const TCandidate& b) {
      return std::tie(a.Bound, a.Length, a.Into) < std::tie(b.Bound, b.Length, b.Into);
    });
    TCollapse best;
    for (const TCandidate& candidate : candidates_) {
      if (candidate.Bound > best.Cost || (candidate.Bound == best.Cost && candidate.Length >= best.Length)) break;
      if (!BuildFan(candidate.K, exact) || !Linked(candidate.K)) continue;
      if (!exact) return {candidate.Bound, candidate.Length, candidate.Into};
      const TCollapse found{Cost(n, best.Cost), candidate.Length, candidate.Into};
      if (found.Cost < kNoCollapse && found.Before(best)) {
        best = found;
        std::swap(trial_, kept_);
        keptNode_ = n;
        keptInto_ = found.Into;
      }
    }
    return best;
  }

  // The cost of the fan built last: the largest error of the removed nodes relocated in it, raised
  // by the growth of their squared errors. Stops early, returning more than bound, once the
  // largest error exceeds it.
  // Where each removed node falls is kept in trial_, n first and then those above each of n's
  // triangles in turn.
  double Cost(int n, double bound) {
    trial_.clear();
    trial_.push_back(Locate(At(n)));
    double largest = trial_.back().second, squares = largest * largest;
    if (largest > bound) return largest;
    for (const int t : tris_) {
      for (const TRemoved& p : inside_.Of(t)) {
        trial_.push_back(Locate(p.Point()));
        const double error = trial_.back().second, before = p.Error;
        if (error > bound) return error;
        largest = std::max(largest, error);
        squares += error * error - before * before;
      }
    }
    return std::max(largest, squaredWeight_ * std::sqrt(std::max(squares, 0.0)));
  }

  void Collapse(int n, int into) {
    if (ringOf_ != n) BuildRing(n);
    ringOf_ = -1;
    const int k = static_cast<int>(std::ranges::find(ring_, into) - ring_.begin());
    BuildFan(k);
    const TPoint& node = At(n);  // a float's value, held exactly
    pool_.assign(1, {n, static_cast<float>(node.X), static_cast<float>(node.Y), static_cast<float>(node.Z), 0});
    for (const int t : tris_) {
      const auto inside = inside_.Of(t);
      pool_.insert(pool_.end(), inside.begin(), inside.end());
      auto& c = corners_[static_cast<std::size_t>(t)];
      if (!Has(t, into)) {
        inside_.Empty(t);  // filled again below, in its room
      } else {
        inside_.Clear(t);
        alive_[static_cast<std::size_t>(t)] = false;
        --aliveCount_;
        for (int i = 0; i < 3; ++i) {
          if (c[static_cast<std::size_t>(i)] != n) RemoveAround(t, i);
        }
        continue;
      }
      for (int i = 0; i < 3; ++i) {
        if (c[static_cast<std::size_t>(i)] != n) continue;
        c[static_cast<std::size_t>(i)] = into;
        AddAround(t, i);
        RenewAround(t, (i + 1) % 3);
        RenewAround(t, (i + 2) % 3);
      }
    }
    around_.Clear(n);
    state_[static_cast<std::size_t>(n)] = TNodeState::Removed;
    // The places found for this collapse when its cost was worked out hold still.
    const bool kept = keptNode_ == n && keptInto_ == into && kept_.size() == pool_.size();
    keptNode_ = -1;
    for (std::size_t i = 0; i < pool_.size(); ++i) {
      TRemoved& p = pool_[i];
      const auto [j, error] = kept ? kept_[i] : Locate(p.Point());
      p.Error = error;
      inside_.Push(fanTris_[static_cast<std::size_t>(j)], p);
    }
  }

  struct TCandidate {
    double Bound = 0;
    double Length = 0;
    int Into = -1;
    int K = 0;  // its place in the ring
  };

  const TEditor& editor_;
  struct TPlace {
    float X = 0, Y = 0, Z = 0;
  };
  std::vector<TPlace> points_;
  std::vector<TNodeState> state_;
  TFlatLists<TAround> around_;  // the living triangles of each node
  std::vector<std::array<int, 3>> corners_;
  std::vector<std::array<int, 3>> places_;  // where each triangle is in its corners' lists
  std::vector<int> source_;
  std::vector<int> sign_;
  std::vector<bool> alive_;
  TFlatLists<TRemoved> inside_;  // the removed nodes above each triangle
  int aliveCount_ = 0;
  int usedCount_ = 0;  // nodes of the taken triangles
  double squaredWeight_ = 0;

  // Work space, reused from one node to the next.
  // Of each node while a fan is put in order: the triangle (its place round the centre) that
  // leaves the node going round, and the stamps of the fan that a triangle leaves and reaches it.
  struct TLink {
    int Triangle = 0;
    int FromStamp = 0;
    int ToStamp = 0;
  };
  std::vector<TLink> links_;
  int ringStamp_ = 0;
  int ringOf_ = -1;
  // Where the removed nodes fall in the fan of the collapse costed last, and in that of the best
  // collapse of keptNode_ into keptInto_ found by the last exact search.
  std::vector<std::pair<int, double>> trial_, kept_;
  int keptNode_ = -1, keptInto_ = -1;  // the node ring_ and tris_ are of, while they hold
  std::vector<int> from_, to_;
  // Of each node, the search whose ring it was on last and its place there.
  struct TRingMark {
    int Stamp = 0;
    int Place = 0;
  };
  std::vector<TRingMark> marks_;
  int markStamp_ = 0;
  std::vector<int> ring_, tris_, fanNodes_, fanTris_, touched_;
  std::vector<TRemoved> pool_;
  std::vector<double> ringAngles_, fanAngles_, fanAreas_;
  std::vector<TPoint> fanPoints_;  // of fanNodes_
  std::vector<TPoint> fanSpokes_;  // from the centre to each, times the winding, in X and Y
  TPoint fanCentre_;
  std::vector<TCandidate> candidates_;
  std::vector<int> hopeful_;  // the ring's places of the collapses that may not fold
  bool closed_ = false;
  int turned_ = -1;  // the ring's side whose fan triangle turned over last, -1 for none yet
  int side_ = 1;  // the winding of the fan round the node
  int into_ = -1;
  TPoint centreNode_;
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
    collapser.SetSquaredWeight(kSquaredWeight);
    // Exactly the budget where a border node can take the last triangle; one below it otherwise.
    for (const int below : {0, 1}) {
      if (collapser.AliveCount() <= budget) break;
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
  TSimplifyResult result = collapser.Result();
  result.Budget = options.MaxTriangles;
  return result;
}

}  // namespace terravel
