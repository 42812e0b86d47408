#include "model/actions/SelectionActions.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "model/actions/Requests.h"
#include "model/core/Errors.h"
#include "model/editor/Editor.h"
#include "model/text/NumberText.h"

namespace terravel {

namespace {

const char* AllDescription(bool allNodes, bool allPolygons) {
  Require(allNodes || allPolygons, modules::Actions, "select all without nodes or polygons");
  if (allNodes && allPolygons) return "Select All";
  return allNodes ? "Select All Nodes" : "Select All Polygons";
}

}  // namespace

bool TextureMatchesPattern(std::string_view texture, std::string_view pattern) {
  if (pattern.empty()) return texture.empty();
  if (pattern.back() == '*') pattern.remove_suffix(1);
  return SameTextIgnoringCase(texture.substr(0, pattern.size()), pattern);
}

// --- single records ---

TSelectAction::TSelectAction(TEditor& editor, bool select)
    : TSelectionAction(editor, "Change Selection"), select_(select) {}

TSelectNodeAction::TSelectNodeAction(TEditor& editor, int index, bool select)
    : TSelectAction(editor, select), index_(index) {}

void TSelectNodeAction::Apply(bool selected) {
  const T3DCoord* node = editor_.Nodes.NodeAt(index_);
  Require(node != nullptr, modules::Actions, "node to select does not exist");
  Require(node->Selected != selected, modules::Actions,
          selected ? "node to select is already selected" : "node to deselect is not selected");
  editor_.Nodes.SetSelected(index_, selected);
}

void TSelectNodeAction::Changes(TChangeSet& changes) const {
  TSelectAction::Changes(changes);
  changes.SelectionListed = true;
  changes.SelectionNodes = {index_};
}

bool TSelectNodeAction::DoExecute() {
  Apply(Select());
  return true;
}

void TSelectNodeAction::DoUndo() {
  Apply(!Select());
}

TSelectPolyAction::TSelectPolyAction(TEditor& editor, int index, bool select)
    : TSelectAction(editor, select), index_(index) {}

void TSelectPolyAction::Apply(bool selected) {
  const TPoly* polygon = editor_.Polygons.PolygonAt(index_);
  Require(polygon != nullptr, modules::Actions, "polygon to select does not exist");
  Require(polygon->Selected != selected, modules::Actions,
          selected ? "polygon to select is already selected" : "polygon to deselect is not selected");
  editor_.Polygons.SetSelected(index_, selected);
}

void TSelectPolyAction::Changes(TChangeSet& changes) const {
  TSelectAction::Changes(changes);
  changes.SelectionListed = true;
  changes.SelectionPolygons = {index_};
}

bool TSelectPolyAction::DoExecute() {
  Apply(Select());
  return true;
}

void TSelectPolyAction::DoUndo() {
  Apply(!Select());
}

// --- whole selection ---

bool TSelectMultipleAction::DoExecute() {
  nodes_.Take(editor_.Nodes);
  polygons_.Take(editor_.Polygons);
  ChangeSelection();
  return true;
}

void TSelectMultipleAction::DoUndo() {
  nodes_.Restore(editor_.Nodes);
  polygons_.Restore(editor_.Polygons);
  // A redo takes a fresh snapshot: this one is not needed any more.
  nodes_.Release();
  polygons_.Release();
}

std::size_t TSelectMultipleAction::CapturedBytes() const {
  return nodes_.CapturedBytes() + polygons_.CapturedBytes();
}

TSelectAllAction::TSelectAllAction(TEditor& editor, bool allNodes, bool allPolygons)
    : TSelectMultipleAction(editor, AllDescription(allNodes, allPolygons)),
      allNodes_(allNodes),
      allPolygons_(allPolygons) {}

void TSelectAllAction::ChangeSelection() {
  editor_.Nodes.SetAllSelected(allNodes_);
  editor_.Polygons.SetAllSelected(allPolygons_);
}

TSelectNothingAction::TSelectNothingAction(TEditor& editor)
    : TSelectMultipleAction(editor, "Select Nothing") {}

void TSelectNothingAction::ChangeSelection() {
  // A list of the deselected records is worth it while it is short against the document.
  const auto few = [](const TSelectionSnapshot& before) {
    return !before.Dense() && before.SelectedCount() <= std::max(64, before.Size() / 64);
  };
  listed_ = few(NodesBefore()) && few(PolygonsBefore());
  std::vector<int>().swap(nodes_);
  std::vector<int>().swap(polygons_);
  NodesBefore().Clear(editor_.Nodes);
  PolygonsBefore().Clear(editor_.Polygons);
}

void TSelectNothingAction::DoUndo() {
  if (listed_) {
    nodes_.assign(NodesBefore().Indices().begin(), NodesBefore().Indices().end());
    polygons_.assign(PolygonsBefore().Indices().begin(), PolygonsBefore().Indices().end());
  }
  TSelectMultipleAction::DoUndo();
}

void TSelectNothingAction::Changes(TChangeSet& changes) const {
  TSelectMultipleAction::Changes(changes);
  if (!listed_) return;
  changes.SelectionListed = true;
  if (!Done()) {
    changes.SelectionNodes = nodes_;
    changes.SelectionPolygons = polygons_;
  } else {
    changes.SelectionNodes.assign(NodesBefore().Indices().begin(), NodesBefore().Indices().end());
    changes.SelectionPolygons.assign(PolygonsBefore().Indices().begin(), PolygonsBefore().Indices().end());
  }
}

std::size_t TSelectNothingAction::CapturedBytes() const {
  return TSelectMultipleAction::CapturedBytes() + (nodes_.capacity() + polygons_.capacity()) * sizeof(int);
}

TSelectTextureAction::TSelectTextureAction(TEditor& editor, std::string pattern)
    : TSelectMultipleAction(editor, "Select Polygons with Texture " + pattern),
      pattern_(std::move(pattern)) {}

void TSelectTextureAction::ChangeSelection() {
  editor_.Polygons.AssignSelected([this](int, const TPoly& polygon) {
    return polygon.Selected || TextureMatchesPattern(polygon.Texture, pattern_);
  });
}

TSelectRegionAction::TSelectRegionAction(TEditor& editor, std::vector<int> nodes, std::vector<int> polygons,
                                         bool add)
    : TSelectMultipleAction(editor, "Select Region"),
      nodes_(std::move(nodes)),
      polygons_(std::move(polygons)),
      add_(add) {}

void TSelectRegionAction::ChangeSelection() {
  // Both lists ask in ascending order, as the indices are kept.
  const auto assign = [this](auto& list, const std::vector<int>& chosen) {
    std::size_t next = 0;
    list.AssignSelected([&](int index, const auto& record) {
      const bool isChosen = next < chosen.size() && chosen[next] == index;
      if (isChosen) ++next;
      return isChosen || (add_ && record.Selected);
    });
  };
  assign(editor_.Nodes, nodes_);
  assign(editor_.Polygons, polygons_);
}

// --- corner nodes ---

TSelectSelectedPolyNodesAction::TSelectSelectedPolyNodesAction(TEditor& editor)
    : TSelectionAction(editor, "Select Selected Polygon Nodes") {}

bool TSelectSelectedPolyNodesAction::DoExecute() {
  // Every corner is checked before the first flag changes.
  std::vector<bool> corner(static_cast<std::size_t>(editor_.Nodes.Count()), false);
  for (const TPoly& polygon : editor_.Polygons) {
    if (!polygon.Selected) continue;
    for (const int index : {polygon.Node1, polygon.Node2, polygon.Node3}) {
      Require(editor_.Nodes.NodeAt(index) != nullptr, modules::Actions, "polygon corner is not a node");
      corner[static_cast<std::size_t>(index)] = true;
    }
  }
  nodes_.Take(editor_.Nodes);
  editor_.Nodes.AssignSelected([&corner](int index, const T3DCoord& node) {
    return node.Selected || corner[static_cast<std::size_t>(index)];
  });
  return true;
}

void TSelectSelectedPolyNodesAction::DoUndo() {
  // The record must hold one entry per node (checked by Restore).
  nodes_.Restore(editor_.Nodes);
  nodes_.Release();
}

// --- requests ---

void DoSelectNode(TEditor& editor, int index, bool select) {
  const T3DCoord* node = editor.Nodes.NodeAt(index);
  if (node == nullptr || node->Selected == select) return;
  editor.History.Perform(std::make_unique<TSelectNodeAction>(editor, index, select));
}

void DoSelectPoly(TEditor& editor, int index, bool select) {
  const TPoly* polygon = editor.Polygons.PolygonAt(index);
  if (polygon == nullptr || polygon->Selected == select) return;
  editor.History.Perform(std::make_unique<TSelectPolyAction>(editor, index, select));
}

void DoSelectAll(TEditor& editor, bool allNodes, bool allPolygons) {
  editor.History.Perform(std::make_unique<TSelectAllAction>(editor, allNodes, allPolygons));
}

void DoSelectNothing(TEditor& editor) {
  if (editor.State.SelectedNodeCount() == 0 && editor.State.SelectedPolygonCount() == 0) return;
  editor.History.Perform(std::make_unique<TSelectNothingAction>(editor));
}

void DoSelectSelectedPolyNodes(TEditor& editor) {
  if (editor.State.SelectedPolygonCount() == 0) return;
  bool somethingToAdd = false;
  for (const TPoly& polygon : editor.Polygons) {
    if (!polygon.Selected) continue;
    for (const int corner : {polygon.Node1, polygon.Node2, polygon.Node3}) {
      const T3DCoord* node = editor.Nodes.NodeAt(corner);
      if (node != nullptr && !node->Selected) somethingToAdd = true;
    }
    if (somethingToAdd) break;
  }
  if (!somethingToAdd) return;
  editor.History.Perform(std::make_unique<TSelectSelectedPolyNodesAction>(editor));
}

void DoSelectTexture(TEditor& editor, const std::string& pattern) {
  if (editor.Polygons.Empty()) return;
  editor.History.Perform(std::make_unique<TSelectTextureAction>(editor, pattern));
}

}  // namespace terravel
