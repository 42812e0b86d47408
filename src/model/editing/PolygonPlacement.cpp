#include "model/editing/PolygonPlacement.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/core/Errors.h"
#include "model/document/Orientation.h"
#include "model/editing/PolygonEdges.h"
#include "model/editor/Editor.h"

namespace terravel {

namespace {

const T3DCoord& NodeOf(const TEditor& editor, int index) {
  const T3DCoord* node = editor.Nodes.NodeAt(index);
  Require(node != nullptr, modules::Buffers, "node index out of range");
  return *node;
}

// The nodes nearest first, handed out one at a time: a heap costs one pass over the nodes, and the
// search usually stops after a few of them. Equal distances go by index.
class TNearestFirst {
 public:
  TNearestFirst(const TCoordList& nodes, float x, float y) {
    heap_.reserve(static_cast<std::size_t>(nodes.Count()));
    for (int i = 0; i < nodes.Count(); ++i) {
      const double dx = double(nodes[i].X) - x, dy = double(nodes[i].Y) - y;
      double squared = dx * dx + dy * dy;
      if (std::isnan(squared)) squared = std::numeric_limits<double>::infinity();
      heap_.push_back({squared, i});
    }
    std::make_heap(heap_.begin(), heap_.end(), Farther);
  }

  // The next node, or -1 when all have been handed out.
  int Next() {
    if (heap_.empty()) return -1;
    std::pop_heap(heap_.begin(), heap_.end(), Farther);
    const int index = heap_.back().Index;
    heap_.pop_back();
    return index;
  }

 private:
  struct TEntry {
    double Squared;
    int Index;
  };
  static bool Farther(const TEntry& a, const TEntry& b) {
    return a.Squared != b.Squared ? a.Squared > b.Squared : a.Index > b.Index;
  }

  std::vector<TEntry> heap_;
};

// The first polygon whose corners are all among a, b and c (nodes of the list), or -1. Such a
// polygon's first corner is one of the three, so it is among that node's polygons.
int FindDuplicate(const TEditor& editor, int a, int b, int c) {
  const auto among = [a, b, c](int n) { return n == a || n == b || n == c; };
  int first = -1;
  for (const int node : {a, b, c}) {
    for (const int i : editor.Index.PolygonsOf(node)) {
      if (first >= 0 && i >= first) break;  // ascending
      const TPoly& p = editor.Polygons[i];
      if (p.Node1 == node && among(p.Node2) && among(p.Node3)) first = i;
    }
  }
  return first;
}

// The steps both modes share once three nodes are chosen: refuse a duplicate and a triangle
// without area, and wind the rest as requested.
TPolygonPlacement Conclude(const TEditor& editor, int a, int b, int c, bool ground) {
  TPolygonPlacement placement;
  placement.Node1 = a;
  placement.Node2 = b;
  placement.Node3 = c;
  placement.DuplicateIndex = FindDuplicate(editor, a, b, c);
  if (placement.DuplicateIndex >= 0) {
    placement.Result = TPlacementResult::Duplicate;
    return placement;
  }
  const float s = OrientationSum(editor, a, b, c);
  if (!(s > 0 || s < 0)) {  // no area (or no number at all)
    placement.Result = TPlacementResult::Degenerate;
    return placement;
  }
  if ((s > 0) != ground) std::swap(placement.Node2, placement.Node3);
  placement.Result = TPlacementResult::Ok;
  return placement;
}

}  // namespace

float OrientationSum(const TEditor& editor, int a, int b, int c) {
  return SingleOrientationSum(NodeOf(editor, a), NodeOf(editor, b), NodeOf(editor, c));
}

int EdgeUseCount(const TEditor& editor, int a, int b) {
  return static_cast<int>(std::count_if(editor.Polygons.begin(), editor.Polygons.end(),
                                        [a, b](const TPoly& p) { return HasEdge(p, a, b); }));
}

bool OverlapsOnEdge(const TEditor& editor, int p, int q, int r) {
  return std::any_of(editor.Polygons.begin(), editor.Polygons.end(), [&](const TPoly& polygon) {
    return PolygonOverlapsOnEdge(editor.Nodes, polygon, p, q, r);
  });
}

TPolygonPlacement PlacePolygonAt(const TEditor& editor, float x, float y, bool ground) {
  TPolygonPlacement placement;
  if (editor.Nodes.Count() < 3) return placement;
  const TMeshIndex& edges = editor.Index;
  TNearestFirst nearest(editor.Nodes, x, y);
  const int a = nearest.Next();
  int b = -1;
  for (int c = nearest.Next(); c >= 0; c = nearest.Next()) {
    if (b < 0) {
      if (edges.EdgeUseCount(a, c) < 2) b = c;
    } else if (edges.EdgeUseCount(b, c) < 2 && edges.EdgeUseCount(c, a) < 2 &&
               !edges.OverlapsOnEdge(b, c, a)) {
      return Conclude(editor, a, b, c, ground);
    }
  }
  placement.Result = TPlacementResult::NoCorners;
  return placement;
}

TPolygonPlacement PlacePolygonOn(const TEditor& editor, int a, int b, int c, bool ground) {
  if (editor.Nodes.Count() < 3) return {};
  for (int node : {a, b, c}) NodeOf(editor, node);
  return Conclude(editor, a, b, c, ground);
}

}  // namespace terravel
