#pragma once
// The unbounded undo/redo history: two lists of owned actions, never trimmed, never merged.
#include <memory>
#include <string>
#include <vector>

#include "model/history/Action.h"

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

  bool Performing() const { return performing_; }
  int UndoCount() const { return static_cast<int>(undoList_.size()); }
  int RedoCount() const { return static_cast<int>(redoList_.size()); }
  // Oldest first; the last entry is the next to undo (or to redo).
  const TAction& UndoAt(int index) const { return *undoList_.at(static_cast<std::size_t>(index)); }
  const TAction& RedoAt(int index) const { return *redoList_.at(static_cast<std::size_t>(index)); }

 private:
  TEditor& editor_;
  std::vector<std::unique_ptr<TAction>> undoList_;
  std::vector<std::unique_ptr<TAction>> redoList_;
  bool performing_ = false;
};

}  // namespace terravel
