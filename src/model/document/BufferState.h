#pragma once
// The selection summary of the status bar. The node and polygon lists keep the counts; the summary
// follows each list's announced count, one list at a time in the order the lists announce.
#include <string>

#include "model/document/RecordList.h"

namespace terravel {

class TEditor;

class TBufferState : public TSelectionListener {
 public:
  explicit TBufferState(TEditor& editor) : editor_(editor) {}
  TBufferState(const TBufferState&) = delete;
  TBufferState& operator=(const TBufferState&) = delete;

  int SelectedNodeCount() const;
  int SelectedPolygonCount() const;

  // Writes the summary into status panel 1.
  void UpdateSelectionStatus();
  std::string SelectionStatusText() const;

 private:
  void SelectionCountChanged() override { UpdateSelectionStatus(); }

  TEditor& editor_;
};

}  // namespace terravel
