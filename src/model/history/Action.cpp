#include "model/history/Action.h"

#include <utility>

#include "model/core/Errors.h"
#include "model/editor/Editor.h"

namespace terravel {

TAction::TAction(TEditor& editor, std::string description)
    : editor_(editor), description_(std::move(description)) {
  Require(!description_.empty(), modules::Undo, "action without a description");
}

TAction::TAction(TEditor& editor) : editor_(editor) {}

TAction::TAction(TEditor& editor, std::string description, TApplied) : TAction(editor, std::move(description)) {
  done_ = true;
}

bool TAction::Execute() {
  return Apply(true);
}

void TAction::Undo() {
  TakeBack(true);
}

bool TAction::ExecuteQuietly(TAction& action) {
  return action.Apply(false);
}

void TAction::UndoQuietly(TAction& action) {
  action.TakeBack(false);
}

bool TAction::Apply(bool notify) {
  Require(!done_, modules::Undo, "action executed twice");
  Prepare();
  if (!DoExecute()) return false;
  done_ = true;
  if (notify) Notify();
  return true;
}

void TAction::TakeBack(bool notify) {
  Require(done_, modules::Undo, "action undone while not done");
  Prepare();
  DoUndo();
  done_ = false;
  if (notify) Notify();
}

TChangeSet TAction::ChangeSet() const {
  TChangeSet changes;
  Changes(changes);
  return changes;
}

void TAction::Notify() {
  const TChangeSet changes = ChangeSet();
  if (changes.Modified) editor_.CountModification();
  editor_.Publish(changes);
}

}  // namespace terravel
