#include "model/shaping/Subdivision.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/editor/Editor.h"
#include "model/shaping/ShapingScope.h"

namespace terravel {

namespace {

std::uint64_t EdgeKey(std::int32_t a, std::int32_t b) {
  if (a > b) std::swap(a, b);
  return (std::uint64_t(std::uint32_t(a)) << 32) | std::uint32_t(b);
}

bool Usable(const TEditor& editor, const TPoly& p) {
  const int count = editor.Nodes.Count();
  for (const int corner : {p.Node1, p.Node2, p.Node3}) {
    if (corner < 0 || corner >= count) return false;
  }
  return p.Node1 != p.Node2 && p.Node2 != p.Node3 && p.Node3 != p.Node1;
}

}  // namespace

TMeshEdit SubdividePolygons(const TEditor& editor) {
  TMeshEdit edit;
  const std::vector<bool> chosen = ChosenPolygons(editor);
  // Every edge of a chosen triangle gets a midpoint node, numbered after the existing nodes.
  std::unordered_map<std::uint64_t, std::int32_t> midpoint;
  const auto nextNode = [&] {
    return static_cast<std::int32_t>(editor.Nodes.Count() + edit.AddedNodes.size());
  };
  for (int i = 0; i < editor.Polygons.Count(); ++i) {
    const TPoly& p = editor.Polygons[i];
    if (!chosen[static_cast<std::size_t>(i)] || !Usable(editor, p)) continue;
    const std::int32_t c[3] = {p.Node1, p.Node2, p.Node3};
    for (int k = 0; k < 3; ++k) {
      const std::int32_t a = c[k], b = c[(k + 1) % 3];
      const auto [at, isNew] = midpoint.try_emplace(EdgeKey(a, b), nextNode());
      if (!isNew) continue;
      const T3DCoord &na = editor.Nodes[a], &nb = editor.Nodes[b];
      T3DCoord node;
      node.Group = na.Group == nb.Group ? na.Group : std::string();
      node.X = static_cast<float>((double(na.X) + nb.X) / 2);
      node.Y = static_cast<float>((double(na.Y) + nb.Y) / 2);
      node.Z = static_cast<float>((double(na.Z) + nb.Z) / 2);
      node.Selected = na.Selected && nb.Selected;
      edit.AddedNodes.push_back(std::move(node));
    }
  }
  if (midpoint.empty()) return edit;
  for (int i = 0; i < editor.Polygons.Count(); ++i) {
    const TPoly& p = editor.Polygons[i];
    if (!Usable(editor, p)) continue;
    std::int32_t c[3] = {p.Node1, p.Node2, p.Node3};
    std::int32_t m[3];  // m[k]: the midpoint of the edge c[k] c[k + 1], or -1
    int cuts = 0;
    for (int k = 0; k < 3; ++k) {
      const auto found = midpoint.find(EdgeKey(c[k], c[(k + 1) % 3]));
      m[k] = found == midpoint.end() ? -1 : found->second;
      cuts += m[k] >= 0 ? 1 : 0;
    }
    if (cuts == 0) continue;
    // Turn the corners so that the cut edges come first: edge 0 (and edge 1 when two are cut).
    for (int turns = 0; turns < 3 && !(m[0] >= 0 && (cuts == 1 || m[1] >= 0)); ++turns) {
      std::rotate(c, c + 1, c + 3);
      std::rotate(m, m + 1, m + 3);
    }
    std::vector<std::array<std::int32_t, 3>> pieces;
    if (cuts == 1) {
      pieces = {{c[0], m[0], c[2]}, {m[0], c[1], c[2]}};
    } else if (cuts == 2) {
      pieces = {{m[0], c[1], m[1]}, {c[0], m[0], m[1]}, {c[0], m[1], c[2]}};
    } else {
      pieces = {{m[0], m[1], m[2]}, {c[0], m[0], m[2]}, {m[0], c[1], m[1]}, {m[2], m[1], c[2]}};
    }
    edit.Corners.push_back({i, pieces[0]});
    for (std::size_t k = 1; k < pieces.size(); ++k) {
      TPoly piece = p;
      piece.Name.clear();
      piece.Node1 = pieces[k][0], piece.Node2 = pieces[k][1], piece.Node3 = pieces[k][2];
      edit.AddedPolygons.push_back(std::move(piece));
    }
  }
  return edit;
}

}  // namespace terravel
