#pragma once
// The base of every undoable change. A concrete action captures nothing when it is built; its
// DoExecute captures the state it is about to change and applies the change, its DoUndo writes
// the captured state back.
//
// Execute and Undo are the same for every action: check and set Done, let the action do its
// work, then publish what it changed (Changes) as one change set.
// Failure has one form each: DoExecute returns false only when it changed nothing and the action
// is to be dropped (no memory for the record); everything else that goes wrong (a broken
// invariant, a failed notification) throws. Done always says whether the change is applied, also
// after an error, which is what the history relies on to keep its lists right.
#include <cstddef>
#include <string>

#include "model/history/ChangeSet.h"

namespace terravel {

class TEditor;

class TAction {
 public:
  TAction(TEditor& editor, std::string description);
  // A part of a transaction, whose step carries the description: the history performs it only
  // while a transaction is open.
  explicit TAction(TEditor& editor);
  // For a step made of changes that are already applied (a committed transaction): Done from the start.
  struct TApplied {};
  TAction(TEditor& editor, std::string description, TApplied);
  TAction(const TAction&) = delete;
  TAction& operator=(const TAction&) = delete;
  virtual ~TAction() = default;

  const std::string& Description() const { return description_; }
  bool Done() const { return done_; }

  // Requires !Done. Returns false, with Done still clear and nothing told, when DoExecute withdrew.
  bool Execute();
  // Requires Done.
  void Undo();

  // Bytes this action keeps beyond its own object (captured entries, detached records).
  virtual std::size_t CapturedBytes() const { return 0; }

  // What the action changed, published after every applied DoExecute (Done set) and every DoUndo
  // (Done clear); it may depend on Done and on the document as it is then.
  virtual void Changes(TChangeSet& changes) const = 0;
  // The whole change set (a step of several actions has all of theirs).
  virtual TChangeSet ChangeSet() const;

 protected:
  // Execute and Undo without telling the windows: for a step made of other actions, which tells
  // them once for all of its parts.
  static bool ExecuteQuietly(TAction& action);
  static void UndoQuietly(TAction& action);

  // Before every DoExecute and DoUndo.
  virtual void Prepare() {}
  virtual bool DoExecute() = 0;
  virtual void DoUndo() = 0;

  TEditor& editor_;

 private:
  // Counts the change when the change set says the project is modified, then publishes it.
  void Notify();
  bool Apply(bool notify);
  void TakeBack(bool notify);

  std::string description_;
  bool done_ = false;
};

}  // namespace terravel
