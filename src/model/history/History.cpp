#include "model/history/History.h"

#include "model/document/Host.h"

namespace terravel {

void THistory::Perform(std::unique_ptr<TAction> action) {
  performing_ = true;
  undoList_.push_back(std::move(action));
  TAction& current = *undoList_.back();
  bool executed = false;
  try {
    current.Prepare();
    executed = current.Execute();
    if (executed) current.Changed();
  } catch (...) {
    // A broken invariant: the action is not recorded.
    performing_ = false;
    if (!undoList_.empty() && undoList_.back().get() == &current) undoList_.pop_back();
    host_->RefreshUndoRedo();
    throw;
  }
  if (executed) {
    redoList_.clear();
    performing_ = false;
  } else {
    performing_ = false;
    undoList_.pop_back();
    host_->RefreshUndoRedo();
  }
}

void THistory::UndoLast() {
  if (undoList_.empty()) return;
  redoList_.push_back(std::move(undoList_.back()));
  undoList_.pop_back();
  TAction& action = *redoList_.back();
  bool undone = false;
  try {
    action.Prepare();
    undone = action.Undo();
  } catch (...) {
    undoList_.push_back(std::move(redoList_.back()));
    redoList_.pop_back();
    throw;
  }
  if (undone) {
    action.Changed();
  } else {
    undoList_.push_back(std::move(redoList_.back()));
    redoList_.pop_back();
  }
}

void THistory::RedoLast() {
  if (redoList_.empty()) return;
  TAction& action = *redoList_.back();
  action.Prepare();
  if (!action.Execute()) return;
  action.Changed();
  undoList_.push_back(std::move(redoList_.back()));
  redoList_.pop_back();
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
