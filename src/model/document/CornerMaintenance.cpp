#include "model/document/CornerMaintenance.h"

#include <algorithm>

namespace terravel {

namespace {

template <typename Function>
void ForEachCorner(TPolyList& polygons, Function function) {
  for (TPoly& polygon : polygons) {
    function(polygon.Node1);
    function(polygon.Node2);
    function(polygon.Node3);
  }
}

}  // namespace

T3DCoord DetachNodeFixingCorners(TCoordList& nodes, TPolyList& polygons, int j) {
  ForEachCorner(polygons,
                [j](int corner) { Require(corner != j, modules::Actions, "a polygon still uses a removed node"); });
  T3DCoord node = nodes.DetachNode(j);
  ForEachCorner(polygons, [j](int& corner) {
    if (corner > j) --corner;
  });
  return node;
}

void InsertNodeFixingCorners(TCoordList& nodes, TPolyList& polygons, int j, T3DCoord node) {
  nodes.InsertNode(j, std::move(node));
  ForEachCorner(polygons, [j](int& corner) {
    if (corner >= j) ++corner;
  });
}

std::vector<T3DCoord> DetachNodesFixingCorners(TCoordList& nodes, TPolyList& polygons,
                                               const std::vector<int>& ascending) {
  if (ascending.empty()) return {};
  // Check every corner before anything changes, then shift by the number of removed nodes below.
  ForEachCorner(polygons, [&](int corner) {
    Require(!std::binary_search(ascending.begin(), ascending.end(), corner), modules::Actions,
            "a polygon still uses a removed node");
  });
  std::vector<T3DCoord> taken = nodes.DetachMany(ascending);
  ForEachCorner(polygons, [&](int& corner) {
    corner -= static_cast<int>(std::lower_bound(ascending.begin(), ascending.end(), corner) - ascending.begin());
  });
  return taken;
}

void InsertNodesFixingCorners(TCoordList& nodes, TPolyList& polygons, const std::vector<int>& ascending,
                              std::vector<T3DCoord> records) {
  if (ascending.empty()) return;
  const int oldCount = nodes.Count();
  nodes.InsertMany(ascending, std::move(records));
  // The k-th surviving node (old index k) now stands at k plus the number of inserted positions
  // at or before its new place.
  std::vector<int> newIndex(static_cast<std::size_t>(oldCount));
  std::size_t next = 0;
  int old = 0;
  for (int at = 0; at < nodes.Count() && old < oldCount; ++at) {
    if (next < ascending.size() && ascending[next] == at) {
      ++next;
    } else {
      newIndex[static_cast<std::size_t>(old++)] = at;
    }
  }
  ForEachCorner(polygons, [&](int& corner) {
    if (corner >= 0 && corner < oldCount) corner = newIndex[static_cast<std::size_t>(corner)];
  });
}

}  // namespace terravel
