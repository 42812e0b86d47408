#pragma once
// The counts of selected nodes and polygons, kept beside the records' Selected flags, and the
// selection summary of the status bar.
#include <string>

#include "model/document/Host.h"

namespace terravel {

class TBufferState {
 public:
  explicit TBufferState(THost& host) : host_(&host) {}

  int SelectedNodeCount() const { return selectedNodeCount_; }
  int SelectedPolygonCount() const { return selectedPolygonCount_; }

  // Stores the count and rewrites the summary; nothing happens when the count is unchanged.
  // A negative count is an internal error (Buffers).
  void SetSelectedNodeCount(int count);
  void SetSelectedPolygonCount(int count);

  // Writes the summary into status panel 1.
  void UpdateSelectionStatus();
  std::string SelectionStatusText() const;

  void SetHost(THost& host) { host_ = &host; }

 private:
  THost* host_;
  int selectedNodeCount_ = 0;
  int selectedPolygonCount_ = 0;
};

}  // namespace terravel
