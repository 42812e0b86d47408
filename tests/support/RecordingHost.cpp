#include "support/RecordingHost.h"

#include <algorithm>

namespace terravel::test {

int TRecordingHost::CountOf(const std::string& call) const {
  return static_cast<int>(std::count(Calls.begin(), Calls.end(), call));
}

std::string TRecordingHost::Joined() const {
  std::string text;
  for (const auto& call : Calls) text += (text.empty() ? "" : ", ") + call;
  return text;
}

void TRecordingHost::Publish(const TChangeSet& changes) {
  Published.push_back(changes);
  Calls.push_back(Describe(changes));
}
void TRecordingHost::ViewChanged(bool full) { Calls.push_back(full ? "view full" : "view light"); }
void TRecordingHost::SuspendRedraw() { Calls.push_back("suspend"); }
void TRecordingHost::ResumeRedraw() { Calls.push_back("resume"); }
void TRecordingHost::Log(const std::string& line) { Calls.push_back("log " + line); }

std::string Describe(const TChangeSet& c) {
  std::string text = "changes";
  const auto add = [&text](bool on, const std::string& word) {
    if (on) text += " " + word;
  };
  add(c.Everything, "everything");
  add(!c.MovedNodes.empty(), "moved");
  add(c.NodesAddedOrRemoved, "nodes");
  add(c.PolygonsAddedOrRemoved, "polygons");
  add(c.PolygonsRewired, "rewired");
  add(c.Selection, "selection");
  add(c.Records, "records");
  add(c.RecordValues, "record values");
  add(c.PropertyMode.has_value(), "mode " + std::to_string(int(c.PropertyMode.value_or(TPropertyMode::pmNone))));
  add(c.Values, "values");
  add(c.UnitFields != 0, "units " + std::to_string(int(c.UnitFields)));
  add(c.History, "history");
  add(c.Modified, "modified");
  return text;
}

}  // namespace terravel::test
