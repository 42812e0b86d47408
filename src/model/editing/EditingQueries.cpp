// The smaller questions of the editing commands: where a new node goes, what a removal takes
// along, and which texture names the selection can be given.
#include <algorithm>
#include <string_view>
#include <unordered_set>
#include <utility>

#include "model/editing/PolygonPlacement.h"
#include "model/editor/Editor.h"
#include "model/text/NumberText.h"

namespace terravel {

TWorldPoint AddNodePosition(const TEditor& editor, int px, int py) {
  TWorldPoint point = ScreenToWorld(editor, px, py);
  const TProjectValues& v = editor.Values;
  if (editor.SnapToGrid && v.GridX > 0 && v.GridY > 0) {
    point.X = SnapValue(point.X, v.GridX);
    point.Y = SnapValue(point.Y, v.GridY);
  }
  return point;
}

int PolygonsUsingSelectedNodes(const TEditor& editor) {
  const auto selected = [&editor](int index) {
    const T3DCoord* node = editor.Nodes.NodeAt(index);
    return node && node->Selected;
  };
  return static_cast<int>(std::count_if(editor.Polygons.begin(), editor.Polygons.end(), [&](const TPoly& p) {
    return selected(p.Node1) || selected(p.Node2) || selected(p.Node3);
  }));
}

std::vector<std::string> TextureNames(const TEditor& editor) {
  // Most polygons repeat a texture already seen: the exact spellings skip the case folding.
  std::unordered_set<std::string_view> spellings;
  std::unordered_set<std::string> folded;
  std::vector<std::pair<std::string, std::string>> names;  // folded, first spelling
  for (const TPoly& polygon : editor.Polygons) {
    if (!spellings.insert(polygon.Texture).second) continue;
    std::string key = ToLowerAscii(polygon.Texture);
    if (folded.insert(key).second) names.emplace_back(std::move(key), polygon.Texture);
  }
  std::sort(names.begin(), names.end());  // the folded texts are distinct
  std::vector<std::string> result;
  result.reserve(names.size());
  for (auto& name : names) result.push_back(std::move(name.second));
  return result;
}

}  // namespace terravel
