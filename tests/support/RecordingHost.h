#pragma once
// A host that writes down what the model tells the windows, so that tests can assert it.
#include <string>
#include <vector>

#include "model/document/Host.h"
#include "model/history/ChangeSet.h"

namespace terravel::test {

class TRecordingHost : public THost {
 public:
  // Every published change set, oldest first.
  std::vector<TChangeSet> Published;
  // Each call as one short line: a change set as "changes" and the facts it names (Describe),
  // "view full", "view light", "suspend", "resume", "log LOG: ...".
  std::vector<std::string> Calls;

  void Clear() {
    Calls.clear();
    Published.clear();
  }
  int CountOf(const std::string& call) const;
  // The calls joined with ", " for readable failure messages.
  std::string Joined() const;

  void Publish(const TChangeSet& changes) override;
  void ViewChanged(bool full) override;
  void SuspendRedraw() override;
  void ResumeRedraw() override;
  void Log(const std::string& line) override;
};

// The change set in one line: "changes" and, in this order, what it names: "everything",
// "moved", "nodes", "polygons", "rewired", "selection", "records",
// "record values", "mode M", "values", "units B" (the edit boxes' bits), "history", "modified".
std::string Describe(const TChangeSet& changes);

}  // namespace terravel::test
