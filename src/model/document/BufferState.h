#pragma once
// The selection summary of the status bar. The node and polygon lists keep the counts.
#include <string>

#include "model/document/RecordList.h"

namespace terravel {

class TEditor;

class TBufferState {
 public:
  explicit TBufferState(TEditor& editor) : editor_(editor) {}
  TBufferState(const TBufferState&) = delete;
  TBufferState& operator=(const TBufferState&) = delete;

  int SelectedNodeCount() const;
  int SelectedPolygonCount() const;

  // What status panel 1 shows.
  std::string SelectionStatusText() const;

 private:
  TEditor& editor_;
};

}  // namespace terravel
