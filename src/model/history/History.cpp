#include "model/history/History.h"

#include <utility>

#include "model/core/Errors.h"
#include "model/document/Host.h"

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
  TAction& current = *undoList_.back();

  bool executed = false;
  try {
    current.Prepare();
    executed = current.Execute();
  } catch (...) {
    // A broken invariant: the action is withdrawn like a failed one, then the error goes on.
    WithdrawLast();
    throw;
  }
  if (!executed) {
    WithdrawLast();
    return;
  }
  // The change is applied and recorded from here on, even if a notification fails. Changed runs
  // while Performing is set, so its refresh already sees no redo description.
  try {
    current.Changed();
  } catch (...) {
    redoList_.clear();
    performing_ = false;
    throw;
  }
  redoList_.clear();
  performing_ = false;
}

void THistory::WithdrawLast() {
  performing_ = false;
  undoList_.pop_back();
  host_->RefreshUndoRedo();
}

void THistory::UndoLast() {
  if (undoList_.empty()) return;
  MoveLast(undoList_, redoList_);
  TAction& action = *redoList_.back();
  bool undone = false;
  try {
    action.Prepare();
    undone = action.Undo();
  } catch (...) {
    // Keep every action in the list that matches its Done flag.
    if (action.Done()) MoveLast(redoList_, undoList_);
    throw;
  }
  if (undone) {
    action.Changed();
  } else {
    MoveLast(redoList_, undoList_);
  }
}

void THistory::RedoLast() {
  if (redoList_.empty()) return;
  TAction& action = *redoList_.back();
  bool executed = false;
  try {
    action.Prepare();
    executed = action.Execute();
  } catch (...) {
    if (action.Done()) MoveLast(redoList_, undoList_);
    throw;
  }
  if (!executed) return;
  // Changed runs while the action is still the last of the redo list; the Undo and Redo
  // commands refresh once more afterwards.
  try {
    action.Changed();
  } catch (...) {
    MoveLast(redoList_, undoList_);
    throw;
  }
  MoveLast(redoList_, undoList_);
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
