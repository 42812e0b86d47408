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

// Only the Undo and Redo commands changed.
TChangeSet HistoryChanged() {
  TChangeSet changes;
  changes.History = true;
  return changes;
}

}  // namespace

void THistory::Publish(const TChangeSet& changes) {
  editor_.Publish(changes);
}

void THistory::Perform(std::unique_ptr<TAction> action) {
  Require(action != nullptr, modules::Undo, "no action to perform");
  // A request made from inside a running action would interleave two changes.
  Require(!performing_, modules::Undo, "action performed while another one runs");
  // A part without a description of its own needs the transaction's.
  Require(open_ || !action->Description().empty(), modules::Undo, "action without a description");
  // Inside a transaction the action joins its parts; the redo list is already put aside.
  TActionList& list = open_ ? parts_ : undoList_;
  list.push_back(std::move(action));
  performing_ = true;
  // The notifications run while Performing is set, so their refresh already sees no redo
  // description. Whatever happens, the action's Done flag decides: applied, it stays recorded
  // (even when a notification failed) and the redo list goes; otherwise it is withdrawn.
  const auto settle = [this, &list] {
    performing_ = false;
    if (list.back()->Done()) {
      redoList_.clear();
    } else {
      list.pop_back();
      Publish(HistoryChanged());
    }
  };
  try {
    list.back()->Execute();
  } catch (...) {
    settle();
    throw;
  }
  settle();
}

void THistory::UndoLast() {
  if (open_) Commit();
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
  if (open_) Commit();
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
  if (open_ && !parts_.empty()) return description_;
  return undoList_.empty() ? std::string() : undoList_.back()->Description();
}

std::string THistory::RedoDescription() const {
  return (redoList_.empty() || performing_) ? std::string() : redoList_.back()->Description();
}

void THistory::ClearHistory() {
  // An open transaction goes with the document it changed.
  open_ = false;
  for (auto* list : {&asideRedo_, &parts_}) {
    while (!list->empty()) list->pop_back();
  }
  // Oldest first within each list, the redo list before the undo list.
  for (auto* list : {&redoList_, &undoList_}) {
    for (auto& action : *list) action.reset();
    list->clear();
  }
}

long long THistory::Begin(std::string description) {
  Require(!open_, modules::Undo, "transaction begun inside another one");
  Require(!performing_, modules::Undo, "transaction begun while an action runs");
  Require(!description.empty(), modules::Undo, "transaction without a description");
  open_ = true;
  description_ = std::move(description);
  asideRedo_ = std::move(redoList_);
  redoList_.clear();
  startModifications_ = editor_.Modifications();
  return ++serial_;
}

void THistory::Describe(std::string description) {
  Require(open_ && !description.empty(), modules::Undo, "no open transaction to describe");
  description_ = std::move(description);
}

void THistory::Commit() {
  Require(open_ && !performing_, modules::Undo, "no open transaction to commit");
  open_ = false;
  if (parts_.empty()) {
    redoList_ = std::move(asideRedo_);
    asideRedo_.clear();
    return;
  }
  asideRedo_.clear();
  auto step = std::make_unique<TTransactionAction>(editor_, description_, std::move(parts_));
  parts_.clear();
  undoList_.push_back(std::move(step));
  Publish(HistoryChanged());
}

void THistory::Rollback() {
  Require(open_ && !performing_, modules::Undo, "no open transaction to roll back");
  open_ = false;
  TActionList parts = std::move(parts_);
  parts_.clear();
  try {
    UndoPartsQuietly(parts);
  } catch (...) {
    // What could not be taken back stays recorded, as one step.
    while (!parts.empty() && !parts.back()->Done()) parts.pop_back();
    if (!parts.empty()) {
      undoList_.push_back(std::make_unique<TTransactionAction>(editor_, description_, std::move(parts)));
    }
    asideRedo_.clear();
    throw;
  }
  redoList_ = std::move(asideRedo_);
  asideRedo_.clear();
  if (parts.empty()) return;
  TChangeSet changes = ChangesOf(parts);
  changes.Modified = true;  // back to the count the transaction began with
  while (!parts.empty()) parts.pop_back();
  editor_.RestoreModifications(startModifications_);
  Publish(changes);
}

TTransaction::TTransaction(THistory& history, std::string description)
    : history_(history), serial_(history.Begin(std::move(description))) {}

TTransaction::~TTransaction() {
  if (!history_.InTransaction(serial_)) return;
  try {
    history_.Rollback();
  } catch (...) {  // NOLINT(bugprone-empty-catch): the error that ended the scope is the one to report
  }
}

void TTransaction::Commit() {
  if (history_.InTransaction(serial_)) history_.Commit();
}

}  // namespace terravel
