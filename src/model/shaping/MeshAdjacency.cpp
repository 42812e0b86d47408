#include "model/shaping/MeshAdjacency.h"

#include <algorithm>
#include <utility>

#include "model/editor/Editor.h"

namespace terravel {

TMeshAdjacency BuildAdjacency(const TEditor& editor) {
  const int nodeCount = editor.Nodes.Count();
  std::vector<std::pair<int, int>> edges;  // (low, high), one per polygon side
  edges.reserve(static_cast<std::size_t>(editor.Polygons.Count()) * 3);
  for (const TPoly& p : editor.Polygons) {
    const int c[3] = {p.Node1, p.Node2, p.Node3};
    if (std::ranges::any_of(c, [nodeCount](int n) { return n < 0 || n >= nodeCount; })) continue;
    for (int k = 0; k < 3; ++k) {
      const int a = c[k], b = c[(k + 1) % 3];
      if (a != b) edges.emplace_back(std::min(a, b), std::max(a, b));
    }
  }
  std::sort(edges.begin(), edges.end());

  TMeshAdjacency adjacency;
  adjacency.OnBorder.assign(static_cast<std::size_t>(nodeCount), false);
  std::vector<std::pair<int, int>> links;  // both directions of every distinct edge
  links.reserve(edges.size() * 2);
  for (std::size_t i = 0; i < edges.size();) {
    std::size_t j = i;
    while (j < edges.size() && edges[j] == edges[i]) ++j;
    const auto [a, b] = edges[i];
    if (j - i == 1) {
      adjacency.OnBorder[static_cast<std::size_t>(a)] = true;
      adjacency.OnBorder[static_cast<std::size_t>(b)] = true;
    }
    links.emplace_back(a, b);
    links.emplace_back(b, a);
    i = j;
  }
  std::sort(links.begin(), links.end());
  adjacency.Start.assign(static_cast<std::size_t>(nodeCount) + 1, 0);
  for (const auto& link : links) ++adjacency.Start[static_cast<std::size_t>(link.first) + 1];
  for (int i = 0; i < nodeCount; ++i) {
    adjacency.Start[static_cast<std::size_t>(i) + 1] += adjacency.Start[static_cast<std::size_t>(i)];
  }
  adjacency.Neighbours.reserve(links.size());
  for (const auto& link : links) adjacency.Neighbours.push_back(link.second);
  return adjacency;
}

}  // namespace terravel
