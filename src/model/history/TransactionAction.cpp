#include "model/history/TransactionAction.h"

#include <utility>

#include "model/core/Errors.h"

namespace terravel {

namespace {

// Reaches the quiet Execute and Undo of the parts.
class TPartRunner : public TAction {
 public:
  using TAction::ExecuteQuietly;
  using TAction::UndoQuietly;
};

}  // namespace

TChangeSet ChangesOf(const std::vector<std::unique_ptr<TAction>>& parts) {
  TChangeSet all;
  for (const auto& part : parts) all.Add(part->ChangeSet());
  return all;
}

void UndoPartsQuietly(const std::vector<std::unique_ptr<TAction>>& parts) {
  for (std::size_t k = parts.size(); k-- > 0;) {
    if (parts[k]->Done()) TPartRunner::UndoQuietly(*parts[k]);
  }
}

TTransactionAction::TTransactionAction(TEditor& editor, std::string description,
                                       std::vector<std::unique_ptr<TAction>> parts)
    : TAction(editor, std::move(description), TApplied{}), parts_(std::move(parts)) {
  Require(!parts_.empty(), modules::Undo, "transaction step without parts");
  for (const auto& part : parts_) Require(part->Done(), modules::Undo, "transaction part not applied");
}

TTransactionAction::~TTransactionAction() {
  // Newest first, as the history destroys its own lists.
  while (!parts_.empty()) parts_.pop_back();
}

std::size_t TTransactionAction::CapturedBytes() const {
  std::size_t bytes = parts_.capacity() * sizeof(parts_.front());
  for (const auto& part : parts_) bytes += part->CapturedBytes();
  return bytes;
}

void TTransactionAction::Changes(TChangeSet& changes) const {
  changes.Add(ChangesOf(parts_));
}

TChangeSet TTransactionAction::ChangeSet() const {
  return ChangesOf(parts_);
}

bool TTransactionAction::DoExecute() {
  // A part that fails takes the ones before it back, so the step is applied whole or not at all.
  for (std::size_t k = 0; k < parts_.size(); ++k) {
    bool applied = false;
    try {
      applied = TPartRunner::ExecuteQuietly(*parts_[k]);
    } catch (...) {
      UndoPartsQuietly(parts_);
      throw;
    }
    if (!applied) {
      UndoPartsQuietly(parts_);
      throw EAssertionFailure(modules::Undo, "transaction part withdrew on redo");
    }
  }
  return true;
}

void TTransactionAction::DoUndo() {
  UndoPartsQuietly(parts_);
}

}  // namespace terravel
