#include "model/actions/LiveActions.h"

#include <utility>

#include "model/actions/CapturedSize.h"
#include "model/core/Errors.h"
#include "model/editor/Editor.h"

namespace terravel {

// TDragNodesAction

TDragNodesAction::TDragNodesAction(TEditor& editor, float dx, float dy)
    : TAction(editor, "Move Node"), dx_(dx), dy_(dy) {}

bool TDragNodesAction::DoExecute() {
  if (captured_) {
    Swap();
    return true;
  }
  const long double zoom = editor_.View.Zoom;
  const int count = editor_.Nodes.Count();
  bool moved = false;
  for (int i = 0; i < count; ++i) {
    T3DCoord& node = editor_.Nodes[i];
    if (!node.Selected) continue;
    const float x = static_cast<float>(static_cast<long double>(node.X) + dx_ / zoom);
    const float y = static_cast<float>(static_cast<long double>(node.Y) + dy_ / zoom);
    if (x != node.X || y != node.Y) moved = true;
    entries_.push_back({i, node.X, node.Y});
    node.X = x;
    node.Y = y;
  }
  entries_.shrink_to_fit();
  captured_ = true;
  return moved;
}

void TDragNodesAction::DoUndo() {
  Swap();
}

void TDragNodesAction::Swap() {
  for (TEntry& entry : entries_) {
    T3DCoord& node = editor_.Nodes[entry.Index];
    std::swap(node.X, entry.X);
    std::swap(node.Y, entry.Y);
  }
}

void TDragNodesAction::Changes(TChangeSet& changes) const {
  changes.Add(TChangeSet::Edit());
  for (const TEntry& entry : entries_) changes.MovedNodes.push_back(entry.Index);
}

std::size_t TDragNodesAction::CapturedBytes() const {
  return HeapBytes(entries_);
}

// TSetHeightsAction

TSetHeightsAction::TSetHeightsAction(TEditor& editor, std::vector<THeightEntry> heights)
    : TAction(editor, "Sculpt"), entries_(std::move(heights)) {}

bool TSetHeightsAction::DoExecute() {
  if (entries_.empty()) return false;
  Swap();
  return true;
}

void TSetHeightsAction::DoUndo() {
  Swap();
}

void TSetHeightsAction::Swap() {
  for (THeightEntry& entry : entries_) {
    Require(entry.Index >= 0 && entry.Index < editor_.Nodes.Count(), modules::Actions, "height of a missing node");
    std::swap(editor_.Nodes[entry.Index].Z, entry.Z);
  }
}

void TSetHeightsAction::Changes(TChangeSet& changes) const {
  changes.Add(TChangeSet::Edit());
  for (const THeightEntry& entry : entries_) changes.MovedNodes.push_back(entry.Index);
}

std::size_t TSetHeightsAction::CapturedBytes() const {
  return HeapBytes(entries_);
}

}  // namespace terravel
