#include "model/actions/NodeActions.h"

#include <cmath>
#include <memory>
#include <utility>

#include "model/actions/CapturedSize.h"
#include "model/actions/Requests.h"
#include "model/actions/StringActions.h"
#include "model/core/Errors.h"
#include "model/editor/Editor.h"
#include "model/text/NumberText.h"
#include "model/view/ViewTransform.h"

namespace terravel {

namespace {

float& Coordinate(T3DCoord& node, TNodeAxis axis) {
  switch (axis) {
    case TNodeAxis::X:
      return node.X;
    case TNodeAxis::Y:
      return node.Y;
    case TNodeAxis::Z:
      return node.Z;
  }
  throw EAssertionFailure(modules::Actions, "unknown node axis");
}

const char* AxisLetter(TNodeAxis axis) {
  switch (axis) {
    case TNodeAxis::X:
      return "X";
    case TNodeAxis::Y:
      return "Y";
    case TNodeAxis::Z:
      return "Z";
  }
  return "?";
}

// The value a coordinate request sets: X and Y snap to their grid while SnapToGrid is on.
float SnappedCoordinate(const TEditor& editor, TNodeAxis axis, float value) {
  if (!editor.SnapToGrid) return value;
  if (axis == TNodeAxis::X && editor.Values.GridX > 0) return SnapValue(value, editor.Values.GridX);
  if (axis == TNodeAxis::Y && editor.Values.GridY > 0) return SnapValue(value, editor.Values.GridY);
  return value;
}

// The grid steps a move commits to; 0 leaves that axis as it is.
struct TSnapRule {
  int GridX = 0;
  int GridY = 0;
};

// Commits the selected nodes: on a redo each first gets the position its entry holds, then the
// entry takes the drag base (the position before the change), the rule snaps, and the base follows.
void MoveAndSnap(TEditor& editor, std::vector<TPositionEntry>& entries, TSnapRule rule) {
  std::size_t k = 0;
  const int count = editor.Nodes.Count();
  for (int j = 0; j < count; ++j) {
    T3DCoord& node = editor.Nodes[j];
    if (!node.Selected) continue;
    if (k < entries.size()) {
      node.X = entries[k].X;
      node.Y = entries[k].Y;
    } else {
      entries.emplace_back();
    }
    entries[k] = {j, node.BaseX, node.BaseY};
    if (rule.GridX > 0) node.X = SnapValue(node.X, rule.GridX);
    if (rule.GridY > 0) node.Y = SnapValue(node.Y, rule.GridY);
    node.BaseX = node.X;
    node.BaseY = node.Y;
    ++k;
  }
  entries.resize(k);
  entries.shrink_to_fit();
}

// Puts every entry's node back and keeps the position it leaves for a redo.
void SwapPositions(TEditor& editor, std::vector<TPositionEntry>& entries) {
  Require(!entries.empty(), modules::Actions, "move undone without entries");
  for (TPositionEntry& entry : entries) {
    T3DCoord& node = editor.Nodes[entry.Index];
    std::swap(node.X, entry.X);
    std::swap(node.Y, entry.Y);
    node.BaseX = node.X;
    node.BaseY = node.Y;
  }
}

// The change set of an action that moved exactly the nodes of its entries.
template <typename Entry>
void NodesMoved(TChangeSet& changes, const std::vector<Entry>& entries) {
  changes.Add(TChangeSet::Edit());
  changes.MovedNodes.reserve(changes.MovedNodes.size() + entries.size());
  for (const Entry& entry : entries) changes.MovedNodes.push_back(entry.Index);
}

}  // namespace

// TSetNodeUnitAction

TSetNodeUnitAction::TSetNodeUnitAction(TEditor& editor, std::string description, TNodeAxis axis, float value)
    : TAction(editor, std::move(description)), axis_(axis), value_(value) {}

bool TSetNodeUnitAction::DoExecute() {
  entries_.clear();
  const int count = editor_.Nodes.Count();
  for (int i = 0; i < count; ++i) {
    T3DCoord& node = editor_.Nodes[i];
    if (!node.Selected) continue;
    float& coordinate = Coordinate(node, axis_);
    entries_.push_back({i, coordinate});
    coordinate = value_;
  }
  entries_.shrink_to_fit();
  BasesFollow();
  return true;
}

void TSetNodeUnitAction::DoUndo() {
  Require(!entries_.empty(), modules::Actions, "coordinate action undone without entries");
  for (const TValueEntry& entry : entries_) Coordinate(editor_.Nodes[entry.Index], axis_) = entry.Old;
  BasesFollow();
}

void TSetNodeUnitAction::BasesFollow() {
  for (const TValueEntry& entry : entries_) {
    T3DCoord& node = editor_.Nodes[entry.Index];
    node.BaseX = node.X;
    node.BaseY = node.Y;
  }
}

void TSetNodeUnitAction::Changes(TChangeSet& changes) const {
  NodesMoved(changes, entries_);
}

std::size_t TSetNodeUnitAction::CapturedBytes() const {
  return HeapBytes(entries_);
}

TSetNodeCoordAction::TSetNodeCoordAction(TEditor& editor, TNodeAxis axis, float value)
    : TSetNodeUnitAction(editor,
                         std::string("Set Node ") + AxisLetter(axis) + " Coordinate to " +
                             FormatGeneral(SnappedCoordinate(editor, axis, value)),
                         axis, SnappedCoordinate(editor, axis, value)) {}

// TNodePositionAction

void TNodePositionAction::DoUndo() {
  SwapPositions(editor_, entries_);
}

void TNodePositionAction::Changes(TChangeSet& changes) const {
  NodesMoved(changes, entries_);
}

std::size_t TNodePositionAction::CapturedBytes() const {
  return HeapBytes(entries_);
}

// TMoveNodeAction

TMoveNodeAction::TMoveNodeAction(TEditor& editor) : TNodePositionAction(editor, "Move Node") {}

bool TMoveNodeAction::DoExecute() {
  const TProjectValues& values = editor_.Values;
  TSnapRule rule;
  if (editor_.SnapToGrid && values.GridX > 0 && values.GridY > 0) rule = {values.GridX, values.GridY};
  MoveAndSnap(editor_, entries_, rule);
  return true;
}

// TSnapNodeXYToGridAction

namespace {

const char* SnapXYDescription(bool snapX, bool snapY) {
  if (snapX && snapY) return "Snap Node X and Y to Grid";
  return snapX ? "Snap Node X to Grid" : "Snap Node Y to Grid";
}

}  // namespace

TSnapNodeXYToGridAction::TSnapNodeXYToGridAction(TEditor& editor, bool snapX, bool snapY)
    : TNodePositionAction(editor, SnapXYDescription(snapX, snapY)), snapX_(snapX), snapY_(snapY) {
  Require(snapX || snapY, modules::Actions, "snap action without an axis");
}

bool TSnapNodeXYToGridAction::DoExecute() {
  const TProjectValues& values = editor_.Values;
  TSnapRule rule;
  if (snapX_ && values.GridX > 0) rule.GridX = values.GridX;
  if (snapY_ && values.GridY > 0) rule.GridY = values.GridY;
  MoveAndSnap(editor_, entries_, rule);
  return true;
}

// TMoveMultipleNodesZAction

bool TMoveMultipleNodesZAction::DoExecute() {
  entries_.clear();
  const int count = editor_.Nodes.Count();
  for (int i = 0; i < count; ++i) {
    T3DCoord& node = editor_.Nodes[i];
    if (!node.Selected) continue;
    entries_.push_back({i, node.Z});
    node.Z = NewZ(node.Z);
  }
  entries_.shrink_to_fit();
  return true;
}

void TMoveMultipleNodesZAction::DoUndo() {
  Require(!entries_.empty(), modules::Actions, "Z action undone without entries");
  for (const TValueEntry& entry : entries_) editor_.Nodes[entry.Index].Z = entry.Old;
}

void TMoveMultipleNodesZAction::Changes(TChangeSet& changes) const {
  NodesMoved(changes, entries_);
}

std::size_t TMoveMultipleNodesZAction::CapturedBytes() const {
  return HeapBytes(entries_);
}

TChangeNodeZAction::TChangeNodeZAction(TEditor& editor, float delta)
    : TMoveMultipleNodesZAction(editor, std::string(delta >= 0 ? "Increment" : "Decrement") + " Node Z by " +
                                            FormatGeneral(std::fabs(delta))),
      delta_(delta) {}

TSnapNodeZToGridAction::TSnapNodeZToGridAction(TEditor& editor)
    : TMoveMultipleNodesZAction(editor, "Snap Node Z to Grid") {}

float TSnapNodeZToGridAction::NewZ(float z) const {
  const int grid = editor_.Values.GridX;
  // The request makes sure; without a grid there is nothing to snap to.
  return grid > 0 ? SnapValue(z, grid) : z;
}

// Requests

void DoAddNode(TEditor& editor, const T3DCoord& node) {
  editor.History.Perform(std::make_unique<TAddNodeAction>(editor, node));
}

void DoSetNodeName(TEditor& editor, const std::string& name) {
  if (editor.State.SelectedNodeCount() <= 0) return;
  editor.History.Perform(std::make_unique<TSetNodeNameAction>(editor, name));
}

void DoSetNodeGroup(TEditor& editor, const std::string& group) {
  if (editor.State.SelectedNodeCount() <= 0) return;
  editor.History.Perform(std::make_unique<TSetNodeGroupAction>(editor, group));
}

void DoSetNodeCoord(TEditor& editor, TNodeAxis axis, float value) {
  if (editor.State.SelectedNodeCount() <= 0) return;
  editor.History.Perform(std::make_unique<TSetNodeCoordAction>(editor, axis, value));
}

void DoMoveNodes(TEditor& editor) {
  if (editor.State.SelectedNodeCount() <= 0) return;
  editor.History.Perform(std::make_unique<TMoveNodeAction>(editor));
}

void DoChangeNodeZ(TEditor& editor, float delta) {
  if (editor.State.SelectedNodeCount() <= 0 || delta == 0) return;
  editor.History.Perform(std::make_unique<TChangeNodeZAction>(editor, delta));
}

void DoSnapNodesXY(TEditor& editor, bool snapX, bool snapY) {
  if (!snapX && !snapY) return;
  if (editor.State.SelectedNodeCount() <= 0) return;
  if (snapX && editor.Values.GridX <= 0) return;
  if (snapY && editor.Values.GridY <= 0) return;
  editor.History.Perform(std::make_unique<TSnapNodeXYToGridAction>(editor, snapX, snapY));
}

void DoSnapNodesZ(TEditor& editor) {
  if (editor.State.SelectedNodeCount() <= 0 || editor.Values.GridX <= 0) return;
  editor.History.Perform(std::make_unique<TSnapNodeZToGridAction>(editor));
}

}  // namespace terravel
