#include "model/history/History.h"

#include <utility>

#include "model/core/Errors.h"
#include "model/editor/Editor.h"

namespace terravel {

namespace {

using TActionList = std::vector<std::unique_ptr<TAction>>;

// Moves the last action of one list to the end of the other.
void MoveLast(TActionList& from, TActionList& to) {
  to.push_back(std::move(from.back()));
  from.pop_back();
}

}  // namespace

void THistory::Perform(std::unique_ptr<TAction> action) {
  Require(action != nullptr, modules::Undo, "no action to perform");
  // A request made from inside a running action would interleave two changes.
  Require(!performing_, modules::Undo, "action performed while another one runs");
  undoList_.push_back(std::move(action));
  performing_ = true;
  // The notifications run while Performing is set, so their refresh already sees no redo
  // description. Whatever happens, the action's Done flag decides: applied, it stays recorded
  // (even when a notification failed) and the redo list goes; otherwise it is withdrawn.
  const auto settle = [this] {
    performing_ = false;
    if (undoList_.back()->Done()) {
      redoList_.clear();
    } else {
      undoList_.pop_back();
      editor_.Host().RefreshUndoRedo();
    }
  };
  try {
    undoList_.back()->Execute();
  } catch (...) {
    settle();
    throw;
  }
  settle();
}

void THistory::UndoLast() {
  if (undoList_.empty()) return;
  // The action is in the redo list while its notifications run.
  MoveLast(undoList_, redoList_);
  TAction& action = *redoList_.back();
  try {
    action.Undo();
  } catch (...) {
    if (action.Done()) MoveLast(redoList_, undoList_);
    throw;
  }
}

void THistory::RedoLast() {
  if (redoList_.empty()) return;
  // The notifications run while the action is still the last of the redo list; the Undo and
  // Redo commands refresh once more afterwards.
  TAction& action = *redoList_.back();
  try {
    action.Execute();
  } catch (...) {
    if (action.Done()) MoveLast(redoList_, undoList_);
    throw;
  }
  if (action.Done()) MoveLast(redoList_, undoList_);
}

std::string THistory::UndoDescription() const {
  return undoList_.empty() ? std::string() : undoList_.back()->Description();
}

std::string THistory::RedoDescription() const {
  return (redoList_.empty() || performing_) ? std::string() : redoList_.back()->Description();
}

void THistory::ClearHistory() {
  // Oldest first within each list, the redo list before the undo list.
  for (auto* list : {&redoList_, &undoList_}) {
    for (auto& action : *list) action.reset();
    list->clear();
  }
}

}  // namespace terravel
