#include "model/history/Action.h"

#include <utility>

#include "model/core/Errors.h"
#include "model/editor/Editor.h"

namespace terravel {

TAction::TAction(TEditor& editor, std::string description)
    : editor_(editor), description_(std::move(description)) {
  Require(!description_.empty(), modules::Undo, "action without a description");
}

bool TAction::Execute() {
  Require(!done_, modules::Undo, "action executed twice");
  Prepare();
  if (!DoExecute()) return false;
  done_ = true;
  Notify();
  return true;
}

void TAction::Undo() {
  Require(done_, modules::Undo, "action undone while not done");
  Prepare();
  DoUndo();
  done_ = false;
  Notify();
}

void TAction::Notify() {
  SendNotices(editor_.Host(), Notices());
}

}  // namespace terravel
