#pragma once
// One bulk change of the mesh, worked out before anything is touched: new heights, new corners of
// kept polygons, polygons and nodes that go, and polygons that come. The shaping commands compute
// one; TMeshEditAction applies it and takes it back.
#include <array>
#include <cstdint>
#include <vector>

#include "model/document/Records.h"

namespace terravel {

struct THeightChange {
  std::int32_t Index = 0;
  float Z = 0;
};

// Corners of a kept polygon, in the node numbering before any node goes.
struct TCornerChange {
  std::int32_t Index = 0;
  std::array<std::int32_t, 3> Corners{};
};

struct TMeshEdit {
  // Appended at the end of the node list before anything else changes: the numbering before any
  // node goes gives them Count() + 0, Count() + 1, ...
  std::vector<T3DCoord> AddedNodes;
  std::vector<THeightChange> Heights;
  std::vector<TCornerChange> Corners;
  // Ascending positions in the polygon list as it is before the change.
  std::vector<int> RemovedPolygons;
  // Ascending positions in the node list; no polygon left may use one of them.
  std::vector<int> RemovedNodes;
  // Appended at the end of the polygon list, with corners in the numbering after the nodes went.
  std::vector<TPoly> AddedPolygons;

  bool Empty() const {
    return AddedNodes.empty() && Heights.empty() && Corners.empty() && RemovedPolygons.empty() &&
           RemovedNodes.empty() && AddedPolygons.empty();
  }
};

}  // namespace terravel
