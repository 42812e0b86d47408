#pragma once
// The edges of the polygon list: each node's neighbours and the nodes on an edge used by one
// polygon only (the outer border of the mesh or of a hole).
#include <vector>

namespace terravel {

class TEditor;

struct TMeshAdjacency {
  // Neighbours of node i: Neighbours[Start[i]] .. Neighbours[Start[i + 1] - 1], ascending, distinct.
  std::vector<int> Start;
  std::vector<int> Neighbours;
  std::vector<bool> OnBorder;

  int Degree(int node) const {
    return Start[static_cast<std::size_t>(node) + 1] - Start[static_cast<std::size_t>(node)];
  }
};

// Polygons with a corner outside the node list are left out.
TMeshAdjacency BuildAdjacency(const TEditor& editor);

}  // namespace terravel
