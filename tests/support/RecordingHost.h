#pragma once
// A host that writes down every notification, so that tests can assert their order.
#include <string>
#include <vector>

#include "model/document/Host.h"

namespace terravel::test {

class TRecordingHost : public THost {
 public:
  // Each call as one short line: "modified 1", "selection 2 nodes selected", "grid Grid: 64 units",
  // "redraw full", "redraw light", "suspend", "resume", "properties", "mode 3", "lists", "undoredo",
  // "values", "unit 0", "log LOG: ...".
  std::vector<std::string> Calls;
  bool Modified = false;
  std::string SelectionStatus;
  std::string GridStatus;

  void Clear() { Calls.clear(); }
  int CountOf(const std::string& call) const;
  // The calls joined with ", " for readable failure messages.
  std::string Joined() const;

  void SetModified(bool modified) override;
  void SetSelectionStatus(const std::string& text) override;
  void SetGridStatus(const std::string& text) override;
  void Redraw(bool full) override;
  void SuspendRedraw() override;
  void ResumeRedraw() override;
  void RefreshProperties() override;
  void SetPropertyMode(TPropertyMode mode) override;
  void RefreshLists() override;
  void RefreshUndoRedo() override;
  void ShowProjectValues() override;
  void ShowUnitValue(TUnitField field) override;
  void Log(const std::string& line) override;
};

}  // namespace terravel::test
