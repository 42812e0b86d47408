#pragma once
// Creating nodes and changing the position of the selected ones: one coordinate, the X/Y position
// after a drag, snapping to the grid, and shifting or snapping Z. Name and group changes are the
// string actions (StringActions.h).
#include <cstdint>
#include <vector>

#include "model/document/Records.h"
#include "model/actions/AddRecordAction.h"
#include "model/actions/Requests.h"
#include "model/history/Action.h"

namespace terravel {

// One changed node and its old value of one coordinate.
struct TValueEntry {
  std::int32_t Index = 0;
  float Old = 0;
};

// One moved node and a position: before the change while the action is done, after it while undone.
struct TPositionEntry {
  std::int32_t Index = 0;
  float X = 0;
  float Y = 0;
};

// Sets one coordinate of every selected node.
class TSetNodeUnitAction : public TAction {
 public:
  std::size_t CapturedBytes() const override;

  // The changed nodes.
  void Changes(TChangeSet& changes) const override;

 protected:
  TSetNodeUnitAction(TEditor& editor, std::string description, TNodeAxis axis, float value);
  // The changed nodes' drag bases follow their position.
  bool DoExecute() override;
  void DoUndo() override;

 private:
  void BasesFollow();

  std::vector<TValueEntry> entries_;
  TNodeAxis axis_;
  float value_;
};

// "Set Node %s Coordinate to %s". With SnapToGrid on, X and Y are snapped to the grid first (Z never).
class TSetNodeCoordAction : public TSetNodeUnitAction {
 public:
  TSetNodeCoordAction(TEditor& editor, TNodeAxis axis, float value);
};

// Commits new X/Y positions of the selected nodes; undo and redo swap the positions back and forth.
class TNodePositionAction : public TAction {
 public:
  std::size_t CapturedBytes() const override;

  // The moved nodes.
  void Changes(TChangeSet& changes) const override;

 protected:
  using TAction::TAction;
  void DoUndo() override;

  std::vector<TPositionEntry> entries_;
};

// "Move Node": commits the drag of the selected nodes from their drag base to where they are now,
// snapped to the grid when SnapToGrid is on and the grid is set.
class TMoveNodeAction : public TNodePositionAction {
 public:
  explicit TMoveNodeAction(TEditor& editor);

 protected:
  bool DoExecute() override;
};

// "Snap Node X and Y to Grid", "Snap Node X to Grid", "Snap Node Y to Grid": snaps the requested
// axes of the selected nodes whatever SnapToGrid says. At least one axis is required.
class TSnapNodeXYToGridAction : public TNodePositionAction {
 public:
  TSnapNodeXYToGridAction(TEditor& editor, bool snapX, bool snapY);

 protected:
  bool DoExecute() override;

 private:
  bool snapX_;
  bool snapY_;
};

// Keeps the old Z of every selected node and gives each the Z its subclass computes.
class TMoveMultipleNodesZAction : public TAction {
 public:
  std::size_t CapturedBytes() const override;

  // The changed nodes.
  void Changes(TChangeSet& changes) const override;

 protected:
  using TAction::TAction;
  bool DoExecute() override;
  void DoUndo() override;
  virtual float NewZ(float z) const = 0;

 private:
  std::vector<TValueEntry> entries_;
};

// "Increment Node Z by %s" / "Decrement Node Z by %s" with the magnitude of the delta.
class TChangeNodeZAction : public TMoveMultipleNodesZAction {
 public:
  TChangeNodeZAction(TEditor& editor, float delta);

 protected:
  float NewZ(float z) const override { return z + delta_; }

 private:
  float delta_;
};

// "Snap Node Z to Grid": Z is snapped to GridX.
class TSnapNodeZToGridAction : public TMoveMultipleNodesZAction {
 public:
  explicit TSnapNodeZToGridAction(TEditor& editor);

 protected:
  float NewZ(float z) const override;
};

}  // namespace terravel
