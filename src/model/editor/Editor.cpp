#include "model/editor/Editor.h"

#include "model/history/ChangeSet.h"

namespace terravel {

TEditor::TEditor(THost* host) : host_(host != nullptr ? host : &nullHost_) {}

void TEditor::SetHost(THost& host) {
  host_ = &host;
}

void TEditor::ClearDocument() {
  // Both lists go, so the name index is emptied in one step rather than name by name.
  Polygons.ClearLeavingIndex();
  Nodes.ClearLeavingIndex();
  names_.Clear();
  Index.Apply(TChangeSet::Rebuilt());
}

void TEditor::Publish(const TChangeSet& changes) {
  Index.Apply(changes);
  host_->Publish(changes);
}

void TEditor::MarkModified(TChangeSet changes) {
  ++modifications_;
  changes.Modified = true;
  Publish(changes);
}

void TEditor::MarkSaved() {
  savedAt_ = modifications_;
  TChangeSet changes;
  changes.Modified = true;
  Publish(changes);
}

}  // namespace terravel
