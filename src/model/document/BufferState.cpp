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
  const int n = editor_.Nodes.SelectedCount(), p = editor_.Polygons.SelectedCount();
  if (n == 0 && p == 0) return "No selection";
  if (p == 0) return std::to_string(n) + " node" + (n > 1 ? "s" : "") + " selected";
  if (n == 0) return std::to_string(p) + " polygon" + (p > 1 ? "s" : "") + " selected";
  Require(n + p >= 2, modules::Buffers, "combined selection count below 2");
  return std::to_string(n + p) + " objects selected";
}

}  // namespace terravel
