#pragma once
// The base of every undoable change. A concrete action captures nothing when it is built; its
// Execute captures the state it is about to change and applies the change, its Undo writes the
// captured state back.
#include <cstddef>
#include <string>

namespace terravel {

class TEditor;

class TAction {
 public:
  TAction(TEditor& editor, std::string description);
  TAction(const TAction&) = delete;
  TAction& operator=(const TAction&) = delete;
  virtual ~TAction() = default;

  const std::string& Description() const { return description_; }
  bool Done() const { return done_; }

  // Overrides do their own work and then return the base result (or, below another action
  // class, call the inherited operation first and stop when it fails).
  virtual bool Execute();  // requires !Done, sets Done
  virtual bool Undo();     // requires Done, clears Done
  virtual void Prepare() {}
  // After every successful Execute or Undo. Overrides notify first, then call the inherited one.
  virtual void Changed();  // refreshes the Undo and Redo commands

  // Bytes this action keeps beyond its own object (captured entries, detached records).
  virtual std::size_t CapturedBytes() const { return 0; }

 protected:
  TEditor& editor_;

 private:
  std::string description_;
  bool done_ = false;
};

}  // namespace terravel
