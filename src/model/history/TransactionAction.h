#pragma once
// One undo step made of the actions a transaction performed (a node drag, a sculpt stroke). It is
// made when the transaction commits, with every part already applied; undo takes the parts back
// newest first and redo applies them again oldest first, telling the windows once for all of them.
#include <memory>
#include <string>
#include <vector>

#include "model/history/Action.h"

namespace terravel {

class TTransactionAction : public TAction {
 public:
  // The parts are applied (Done), oldest first.
  TTransactionAction(TEditor& editor, std::string description, std::vector<std::unique_ptr<TAction>> parts);
  ~TTransactionAction() override;

  std::size_t CapturedBytes() const override;
  // What every part changed, in one set.
  void Changes(TChangeSet& changes) const override;
  TChangeSet ChangeSet() const override;

  int PartCount() const { return static_cast<int>(parts_.size()); }

 protected:
  bool DoExecute() override;
  void DoUndo() override;

 private:
  std::vector<std::unique_ptr<TAction>> parts_;
};

// The change sets of the parts in one.
TChangeSet ChangesOf(const std::vector<std::unique_ptr<TAction>>& parts);

// Takes the applied parts back newest first without telling anybody; the parts that were taken
// back stay so when one throws.
void UndoPartsQuietly(const std::vector<std::unique_ptr<TAction>>& parts);

}  // namespace terravel
