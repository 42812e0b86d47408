#include "model/shaping/ShapingScope.h"

#include <algorithm>

#include "model/editor/Editor.h"

namespace terravel {

namespace {

bool NothingSelected(const TEditor& editor) {
  return editor.Nodes.SelectedCount() == 0 && editor.Polygons.SelectedCount() == 0;
}

bool IsNode(const TEditor& editor, int index) {
  return index >= 0 && index < editor.Nodes.Count();
}

}  // namespace

std::vector<bool> ChosenNodes(const TEditor& editor) {
  const int count = editor.Nodes.Count();
  if (NothingSelected(editor)) return std::vector<bool>(static_cast<std::size_t>(count), true);
  std::vector<bool> chosen(static_cast<std::size_t>(count), false);
  for (int i = 0; i < count; ++i) chosen[static_cast<std::size_t>(i)] = editor.Nodes[i].Selected;
  for (const TPoly& polygon : editor.Polygons) {
    if (!polygon.Selected) continue;
    for (const int corner : {polygon.Node1, polygon.Node2, polygon.Node3}) {
      if (IsNode(editor, corner)) chosen[static_cast<std::size_t>(corner)] = true;
    }
  }
  return chosen;
}

std::vector<bool> ChosenPolygons(const TEditor& editor) {
  const int count = editor.Polygons.Count();
  if (NothingSelected(editor)) return std::vector<bool>(static_cast<std::size_t>(count), true);
  const auto selectedNode = [&editor](int corner) {
    return IsNode(editor, corner) && editor.Nodes[corner].Selected;
  };
  std::vector<bool> chosen(static_cast<std::size_t>(count), false);
  for (int i = 0; i < count; ++i) {
    const TPoly& p = editor.Polygons[i];
    chosen[static_cast<std::size_t>(i)] =
        p.Selected || (selectedNode(p.Node1) && selectedNode(p.Node2) && selectedNode(p.Node3));
  }
  return chosen;
}

int CountChosen(const std::vector<bool>& chosen) {
  return static_cast<int>(std::count(chosen.begin(), chosen.end(), true));
}

std::string FormatCount(long long count) {
  const std::string digits = std::to_string(count < 0 ? -count : count);
  std::string text = count < 0 ? "-" : "";
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) text.push_back(',');
    text.push_back(digits[i]);
  }
  return text;
}

}  // namespace terravel
