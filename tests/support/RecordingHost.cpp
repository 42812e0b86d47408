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

void TRecordingHost::SetModified(bool modified) {
  Modified = modified;
  Calls.push_back(std::string("modified ") + (modified ? "1" : "0"));
}
void TRecordingHost::SetSelectionStatus(const std::string& text) {
  SelectionStatus = text;
  Calls.push_back("selection " + text);
}
void TRecordingHost::SetGridStatus(const std::string& text) {
  GridStatus = text;
  Calls.push_back("grid " + text);
}
void TRecordingHost::Redraw(bool full) { Calls.push_back(full ? "redraw full" : "redraw light"); }
void TRecordingHost::SuspendRedraw() { Calls.push_back("suspend"); }
void TRecordingHost::ResumeRedraw() { Calls.push_back("resume"); }
void TRecordingHost::RefreshProperties() { Calls.push_back("properties"); }
void TRecordingHost::SetPropertyMode(TPropertyMode mode) { Calls.push_back("mode " + std::to_string(static_cast<int>(mode))); }
void TRecordingHost::RefreshLists() { Calls.push_back("lists"); }
void TRecordingHost::RefreshUndoRedo() { Calls.push_back("undoredo"); }
void TRecordingHost::ShowProjectValues() { Calls.push_back("values"); }
void TRecordingHost::ShowUnitValue(TUnitField field) { Calls.push_back("unit " + std::to_string(int(field))); }
void TRecordingHost::Log(const std::string& line) { Calls.push_back("log " + line); }

}  // namespace terravel::test
