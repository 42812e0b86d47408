#pragma once
// The unbounded undo/redo history: two lists of owned actions, never trimmed, never merged.
//
// A transaction gathers the actions performed between Begin and Commit into one step: they run
// and tell the windows as usual, Commit folds them into one undo step with the transaction's
// description, Rollback takes them back (and the modified state and the redo list with them).
// A live tool (a node drag, a sculpt stroke) performs one ordinary action per pointer move inside
// its transaction. An undo, a redo or a clear while one is open commits it first (a clear drops
// it), so Ctrl+Z in the middle of a stroke takes the stroke back as one step.
#include <memory>
#include <string>
#include <vector>

#include "model/history/Action.h"
#include "model/history/TransactionAction.h"

namespace terravel {

class TEditor;

class THistory {
 public:
  explicit THistory(TEditor& editor) : editor_(editor) {}
  THistory(const THistory&) = delete;
  THistory& operator=(const THistory&) = delete;
  ~THistory() { ClearHistory(); }

  // Records and executes a new action; the history owns it from now on. An action whose Execute
  // withdraws or throws before the change is applied is withdrawn and destroyed (the error goes on
  // to the caller). Performing from inside a running action is an internal error.
  void Perform(std::unique_ptr<TAction> action);
  // An Undo or Execute that fails leaves the action where it was; after an error every action
  // stays in the list that matches its Done flag.
  void UndoLast();
  void RedoLast();

  std::string UndoDescription() const;
  // Empty while Perform runs: the redo list is about to be discarded.
  std::string RedoDescription() const;

  void ClearHistory();
  // Tells the windows a change made outside any action: a new, opened or rebuilt document
  // (TChangeSet::Rebuilt, after ClearHistory), an import. Every step's change set goes the same way.
  void Publish(const TChangeSet& changes);

  // Opens a transaction; one may be open at a time. Returns its serial number, which tells a live
  // tool whether the transaction it opened is still the open one.
  long long Begin(std::string description);
  // The description the step will have (a sculpt stroke counts its nodes as it goes).
  void Describe(std::string description);
  // Folds what the transaction performed into one step (none when it performed nothing).
  void Commit();
  // Takes back what the transaction performed, newest first, and closes it.
  void Rollback();
  bool InTransaction() const { return open_; }
  bool InTransaction(long long serial) const { return open_ && serial == serial_; }

  bool Performing() const { return performing_; }
  int UndoCount() const { return static_cast<int>(undoList_.size()); }
  int RedoCount() const { return static_cast<int>(redoList_.size()); }
  // Committed steps only: an open transaction is not a step yet.
  // Oldest first; the last entry is the next to undo (or to redo).
  const TAction& UndoAt(int index) const { return *undoList_.at(static_cast<std::size_t>(index)); }
  const TAction& RedoAt(int index) const { return *redoList_.at(static_cast<std::size_t>(index)); }

 private:
  TEditor& editor_;
  std::vector<std::unique_ptr<TAction>> undoList_;
  std::vector<std::unique_ptr<TAction>> redoList_;
  bool performing_ = false;

  // The open transaction: its actions (oldest first), the redo list it put aside and the
  // modification count it started from.
  bool open_ = false;
  long long serial_ = 0;
  std::string description_;
  std::vector<std::unique_ptr<TAction>> parts_;
  std::vector<std::unique_ptr<TAction>> asideRedo_;
  long long startModifications_ = 0;
};

// Opens a transaction for a scope: what is not committed when the scope ends (an error) is rolled back.
class TTransaction {
 public:
  TTransaction(THistory& history, std::string description);
  TTransaction(const TTransaction&) = delete;
  TTransaction& operator=(const TTransaction&) = delete;
  ~TTransaction();
  void Commit();

 private:
  THistory& history_;
  long long serial_;
};

}  // namespace terravel
