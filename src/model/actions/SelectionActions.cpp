#include "model/actions/SelectionActions.h"

#include <memory>
#include <utility>

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

// Selects every record (or deselects every one) and returns the count adjusted by one for each
// flag turned.
template <typename List>
int SetEveryFlag(List& list, bool selected, int count) {
  for (auto& record : list) {
    if (record.Selected == selected) continue;
    record.Selected = selected;
    count += selected ? 1 : -1;
  }
  return count;
}

}  // namespace

bool TextureMatchesPattern(std::string_view texture, std::string_view pattern) {
  if (pattern.empty()) return texture.empty();
  if (pattern.back() == '*') pattern.remove_suffix(1);
  return SameTextIgnoringCase(texture.substr(0, pattern.size()), pattern);
}

// --- single records ---

TSelectAction::TSelectAction(TEditor& editor, bool select)
    : TAction(editor, "Change Selection"), select_(select) {}

void TSelectAction::NotifySelectionChanged() {
  editor_.Host().RefreshProperties();
  editor_.Host().Redraw(true);
}

TSelectNodeAction::TSelectNodeAction(TEditor& editor, int index, bool select)
    : TSelectAction(editor, select), index_(index) {}

void TSelectNodeAction::Apply(bool selected) {
  T3DCoord* node = editor_.Nodes.NodeAt(index_);
  Require(node != nullptr, modules::Actions, "node to select does not exist");
  Require(node->Selected != selected, modules::Actions,
          selected ? "node to select is already selected" : "node to deselect is not selected");
  node->Selected = selected;
  editor_.State.SetSelectedNodeCount(editor_.State.SelectedNodeCount() + (selected ? 1 : -1));
  NotifySelectionChanged();
}

bool TSelectNodeAction::Execute() {
  Apply(Select());
  return TSelectAction::Execute();
}

bool TSelectNodeAction::Undo() {
  Apply(!Select());
  return TSelectAction::Undo();
}

TSelectPolyAction::TSelectPolyAction(TEditor& editor, int index, bool select)
    : TSelectAction(editor, select), index_(index) {}

void TSelectPolyAction::Apply(bool selected) {
  TPoly* polygon = editor_.Polygons.PolygonAt(index_);
  Require(polygon != nullptr, modules::Actions, "polygon to select does not exist");
  Require(polygon->Selected != selected, modules::Actions,
          selected ? "polygon to select is already selected" : "polygon to deselect is not selected");
  polygon->Selected = selected;
  editor_.State.SetSelectedPolygonCount(editor_.State.SelectedPolygonCount() + (selected ? 1 : -1));
  NotifySelectionChanged();
}

bool TSelectPolyAction::Execute() {
  Apply(Select());
  return TSelectAction::Execute();
}

bool TSelectPolyAction::Undo() {
  Apply(!Select());
  return TSelectAction::Undo();
}

// --- whole selection ---

bool TSelectMultipleAction::Execute() {
  nodes_.Take(editor_.Nodes);
  polygons_.Take(editor_.Polygons);
  return TAction::Execute();
}

bool TSelectMultipleAction::Undo() {
  editor_.State.SetSelectedNodeCount(nodes_.Restore(editor_.Nodes));
  editor_.State.SetSelectedPolygonCount(polygons_.Restore(editor_.Polygons));
  editor_.Host().RefreshProperties();
  editor_.Host().Redraw(true);
  // A redo takes a fresh snapshot: this one is not needed any more.
  nodes_.Release();
  polygons_.Release();
  return TAction::Undo();
}

std::size_t TSelectMultipleAction::CapturedBytes() const {
  return nodes_.CapturedBytes() + polygons_.CapturedBytes();
}

TSelectAllAction::TSelectAllAction(TEditor& editor, bool allNodes, bool allPolygons)
    : TSelectMultipleAction(editor, AllDescription(allNodes, allPolygons)),
      allNodes_(allNodes),
      allPolygons_(allPolygons) {}

bool TSelectAllAction::Execute() {
  if (!TSelectMultipleAction::Execute()) return false;
  TBufferState& state = editor_.State;
  state.SetSelectedNodeCount(SetEveryFlag(editor_.Nodes, allNodes_, state.SelectedNodeCount()));
  if (!allNodes_) Require(state.SelectedNodeCount() == 0, modules::Actions, "nodes left selected");
  state.SetSelectedPolygonCount(SetEveryFlag(editor_.Polygons, allPolygons_, state.SelectedPolygonCount()));
  if (!allPolygons_) Require(state.SelectedPolygonCount() == 0, modules::Actions, "polygons left selected");
  editor_.Host().RefreshProperties();
  editor_.Host().Redraw(true);
  return true;
}

TSelectNothingAction::TSelectNothingAction(TEditor& editor)
    : TSelectMultipleAction(editor, "Select Nothing") {}

bool TSelectNothingAction::Execute() {
  if (!TSelectMultipleAction::Execute()) return false;
  for (T3DCoord& node : editor_.Nodes) node.Selected = false;
  for (TPoly& polygon : editor_.Polygons) polygon.Selected = false;
  editor_.State.SetSelectedNodeCount(0);
  editor_.State.SetSelectedPolygonCount(0);
  editor_.Host().RefreshProperties();
  editor_.Host().Redraw(true);
  return true;
}

TSelectTextureAction::TSelectTextureAction(TEditor& editor, std::string pattern)
    : TSelectMultipleAction(editor, "Select Polygons with Texture " + pattern),
      pattern_(std::move(pattern)) {}

bool TSelectTextureAction::Execute() {
  if (!TSelectMultipleAction::Execute()) return false;
  int count = editor_.State.SelectedPolygonCount();
  for (TPoly& polygon : editor_.Polygons) {
    if (polygon.Selected || !TextureMatchesPattern(polygon.Texture, pattern_)) continue;
    polygon.Selected = true;
    ++count;
  }
  editor_.State.SetSelectedPolygonCount(count);
  editor_.Host().RefreshProperties();
  editor_.Host().Redraw(true);
  return true;
}

// --- corner nodes ---

TSelectSelectedPolyNodesAction::TSelectSelectedPolyNodesAction(TEditor& editor)
    : TAction(editor, "Select Selected Polygon Nodes") {}

bool TSelectSelectedPolyNodesAction::Execute() {
  nodes_.Take(editor_.Nodes);
  int count = editor_.State.SelectedNodeCount();
  for (const TPoly& polygon : editor_.Polygons) {
    if (!polygon.Selected) continue;
    for (const int corner : {polygon.Node1, polygon.Node2, polygon.Node3}) {
      T3DCoord* node = editor_.Nodes.NodeAt(corner);
      Require(node != nullptr, modules::Actions, "polygon corner is not a node");
      if (node->Selected) continue;
      node->Selected = true;
      ++count;
    }
  }
  editor_.State.SetSelectedNodeCount(count);
  editor_.Host().RefreshProperties();
  editor_.Host().Redraw(true);
  return TAction::Execute();
}

bool TSelectSelectedPolyNodesAction::Undo() {
  // The record must hold one entry per node (checked by Restore).
  editor_.State.SetSelectedNodeCount(nodes_.Restore(editor_.Nodes));
  editor_.Host().RefreshProperties();
  editor_.Host().Redraw(true);
  nodes_.Release();
  return TAction::Undo();
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
