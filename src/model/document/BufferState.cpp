#include "model/document/BufferState.h"

#include "model/core/Errors.h"

namespace terravel {

void TBufferState::SetSelectedNodeCount(int count) {
  if (count == selectedNodeCount_) return;
  Require(count >= 0, modules::Buffers, "negative selected node count");
  selectedNodeCount_ = count;
  UpdateSelectionStatus();
}

void TBufferState::SetSelectedPolygonCount(int count) {
  if (count == selectedPolygonCount_) return;
  Require(count >= 0, modules::Buffers, "negative selected polygon count");
  selectedPolygonCount_ = count;
  UpdateSelectionStatus();
}

std::string TBufferState::SelectionStatusText() const {
  const int n = selectedNodeCount_, p = selectedPolygonCount_;
  if (n == 0 && p == 0) return "No selection";
  if (p == 0) return std::to_string(n) + " node" + (n > 1 ? "s" : "") + " selected";
  if (n == 0) return std::to_string(p) + " polygon" + (p > 1 ? "s" : "") + " selected";
  Require(n + p >= 2, modules::Buffers, "combined selection count below 2");
  return std::to_string(n + p) + " objects selected";
}

void TBufferState::UpdateSelectionStatus() { host_->SetSelectionStatus(SelectionStatusText()); }

}  // namespace terravel
