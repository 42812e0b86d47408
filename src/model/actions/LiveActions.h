#pragma once
// The parts of a live tool's transaction: one per pointer move. A node drag moves the selected
// nodes in the plan ("Move Node"), a sculpt dab sets heights ("Sculpt"). Each keeps what it
// changed and swaps it back and forth on undo and redo; the drag bases stay where they are (the
// release's "Move Node" commits from them).
#include <cstdint>
#include <vector>

#include "model/history/Action.h"

namespace terravel {

// Moves the selected nodes' X and Y by (dx, dy) screen pixels at the current zoom; withdraws
// when no coordinate changes.
class TDragNodesAction : public TAction {
 public:
  TDragNodesAction(TEditor& editor, float dx, float dy);

  std::size_t CapturedBytes() const override;
  // The moved nodes.
  void Changes(TChangeSet& changes) const override;

 protected:
  bool DoExecute() override;
  void DoUndo() override;

 private:
  struct TEntry {
    std::int32_t Index = 0;
    float X = 0;  // the other position: before the move while done, after it while undone
    float Y = 0;
  };
  void Swap();

  float dx_;
  float dy_;
  bool captured_ = false;
  std::vector<TEntry> entries_;
};

// One node's new height.
struct THeightEntry {
  std::int32_t Index = 0;
  float Z = 0;
};

// Sets the heights of a sculpt dab (each node once).
class TSetHeightsAction : public TAction {
 public:
  TSetHeightsAction(TEditor& editor, std::vector<THeightEntry> heights);

  std::size_t CapturedBytes() const override;
  // The nodes whose height changed.
  void Changes(TChangeSet& changes) const override;

 protected:
  bool DoExecute() override;
  void DoUndo() override;

 private:
  void Swap();

  std::vector<THeightEntry> entries_;  // the other height, as TDragNodesAction's entries
};

}  // namespace terravel
