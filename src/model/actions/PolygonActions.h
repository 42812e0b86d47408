#pragma once
// Creating polygons, changing a corner or the colour of the selected polygons, and flipping their
// orientation. Name, group and texture changes are the string actions (StringActions.h).
#include <cstdint>
#include <vector>

#include "model/document/Records.h"
#include "model/actions/AddRecordAction.h"
#include "model/history/Action.h"

namespace terravel {

enum class TPolyIntegerField { Node1, Node2, Node3, Color };

// One changed polygon and its old value of one integer field.
struct TIntegerEntry {
  std::int32_t Index = 0;
  std::int32_t Old = 0;
};

// Sets one integer field of every selected polygon.
class TSetPolyIntegerAction : public TAction {
 public:
  std::size_t CapturedBytes() const override;

  // A corner rewires the polygons, a colour is one of their values.
  void Changes(TChangeSet& changes) const override;

 protected:
  TSetPolyIntegerAction(TEditor& editor, std::string description, TPolyIntegerField field,
                        std::int32_t value);
  bool DoExecute() override;
  void DoUndo() override;

 private:
  std::vector<TIntegerEntry> entries_;
  TPolyIntegerField field_;
  std::int32_t value_;
};

// "Set Polygon Node Index %d to %d": corner 1..3, then the node index (not checked here).
class TSetPolyNodeAction : public TSetPolyIntegerAction {
 public:
  TSetPolyNodeAction(TEditor& editor, int corner, std::int32_t nodeIndex);
};

// "Set Polygon Color to $%08X"; -1 is the automatic colour.
class TSetPolyColorAction : public TSetPolyIntegerAction {
 public:
  TSetPolyColorAction(TEditor& editor, std::int32_t color);
};

// "Flip Polygon Orientation": swaps Node2 and Node3 of every selected polygon. The flipped polygons
// are kept by index: every later change of the polygon list is undone before this action's Undo.
class TFlipPolygonAction : public TAction {
 public:
  explicit TFlipPolygonAction(TEditor& editor);
  std::size_t CapturedBytes() const override;

  // The polygons turned over.
  void Changes(TChangeSet& changes) const override {
    changes.Add(TChangeSet::Edit());
    changes.PolygonsRewired = true;
  }

 protected:
  bool DoExecute() override;
  void DoUndo() override;

 private:
  void Flip();

  std::vector<std::int32_t> flipped_;
};

}  // namespace terravel
