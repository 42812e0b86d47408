#include "model/document/BufferState.h"

#include "model/core/Errors.h"
#include "model/editor/Editor.h"

namespace terravel {

int TBufferState::SelectedNodeCount() const {
  return editor_.Nodes.SelectedCount();
}

int TBufferState::SelectedPolygonCount() const {
  return editor_.Polygons.SelectedCount();
}

std::string TBufferState::SelectionStatusText() const {
  // The announced counts: while an action announces nodes before polygons, the summary between
  // the two still shows the polygons as they were.
  const int n = editor_.Nodes.AnnouncedSelectedCount(), p = editor_.Polygons.AnnouncedSelectedCount();
  if (n == 0 && p == 0) return "No selection";
  if (p == 0) return std::to_string(n) + " node" + (n > 1 ? "s" : "") + " selected";
  if (n == 0) return std::to_string(p) + " polygon" + (p > 1 ? "s" : "") + " selected";
  Require(n + p >= 2, modules::Buffers, "combined selection count below 2");
  return std::to_string(n + p) + " objects selected";
}

void TBufferState::UpdateSelectionStatus() {
  editor_.Host().SetSelectionStatus(SelectionStatusText());
}

}  // namespace terravel
