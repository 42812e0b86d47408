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
  bool Execute() override;
  bool Undo() override;
  // The changed nodes' drag bases follow their position; modified, redraw, properties, undo commands.
  void Changed() override;
  std::size_t CapturedBytes() const override;

  const std::vector<TValueEntry>& Entries() const { return entries_; }
  float Value() const { return value_; }

 protected:
  TSetNodeUnitAction(TEditor& editor, std::string description, TNodeAxis axis, float value);

 private:
  std::vector<TValueEntry> entries_;
  TNodeAxis axis_;
  float value_;
};

// "Set Node %s Coordinate to %s". With SnapToGrid on, X and Y are snapped to the grid first (Z never).
class TSetNodeCoordAction : public TSetNodeUnitAction {
 public:
  TSetNodeCoordAction(TEditor& editor, TNodeAxis axis, float value);
};

// "Move Node": commits the drag of the selected nodes from their drag base to where they are now,
// snapped to the grid when SnapToGrid is on and the grid is set.
class TMoveNodeAction : public TAction {
 public:
  explicit TMoveNodeAction(TEditor& editor);
  bool Execute() override;
  bool Undo() override;
  std::size_t CapturedBytes() const override;

  const std::vector<TPositionEntry>& Entries() const { return entries_; }

 private:
  std::vector<TPositionEntry> entries_;
};

// "Snap Node X and Y to Grid", "Snap Node X to Grid", "Snap Node Y to Grid": snaps the requested
// axes of the selected nodes whatever SnapToGrid says. At least one axis is required.
class TSnapNodeXYToGridAction : public TAction {
 public:
  TSnapNodeXYToGridAction(TEditor& editor, bool snapX, bool snapY);
  bool Execute() override;
  bool Undo() override;
  std::size_t CapturedBytes() const override;

  const std::vector<TPositionEntry>& Entries() const { return entries_; }

 private:
  bool snapX_;
  bool snapY_;
  std::vector<TPositionEntry> entries_;
};

// Keeps the old Z of every selected node; the subclasses change Z after this Execute.
class TMoveMultipleNodesZAction : public TAction {
 public:
  // Captures the Z of the selected nodes and marks the action done.
  bool Execute() override;
  // Writes the captured Z back; modified, properties, redraw.
  bool Undo() override;
  std::size_t CapturedBytes() const override;

  const std::vector<TValueEntry>& Entries() const { return entries_; }

 protected:
  using TAction::TAction;
  // modified, properties, redraw: after a subclass has changed Z.
  void NotifyZChanged();

 private:
  std::vector<TValueEntry> entries_;
};

// "Increment Node Z by %s" / "Decrement Node Z by %s" with the magnitude of the delta.
class TChangeNodeZAction : public TMoveMultipleNodesZAction {
 public:
  TChangeNodeZAction(TEditor& editor, float delta);
  bool Execute() override;

 private:
  float delta_;
};

// "Snap Node Z to Grid": Z is snapped to GridX.
class TSnapNodeZToGridAction : public TMoveMultipleNodesZAction {
 public:
  explicit TSnapNodeZToGridAction(TEditor& editor);
  bool Execute() override;
};

}  // namespace terravel
