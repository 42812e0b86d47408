#pragma once
// Changing the project values that the history tracks: the grid size and the MinZ, MaxZ and PgInc
// of the gradient panel.
#include <cstdint>

#include "model/document/Host.h"
#include "model/history/Action.h"

namespace terravel {

// "Set Grid Size to %d": both axes, through SetGridSize (grid status text and a light redraw).
class TSetGridSizeAction : public TAction {
 public:
  TSetGridSizeAction(TEditor& editor, std::int32_t size);

  // A project value: the grid panel and the picture follow.
  void Changes(TChangeSet& changes) const override {
    changes.Add(TChangeSet::Edit());
    changes.Values = true;
  }

 protected:
  bool DoExecute() override;
  void DoUndo() override;

 private:
  std::int32_t newSize_;
  std::int32_t oldSize_ = 0;
};

// Sets one single-precision project value shown in an edit box of the gradient panel.
class TSetUnitAction : public TAction {
 public:
  // The edit box shows the value, every time: a change that did not come from the box (an import
  // sets MinZ and MaxZ) must not leave it showing the old number.
  void Changes(TChangeSet& changes) const override {
    changes.Add(TChangeSet::Edit());
    changes.Values = true;
    changes.UnitFields = TChangeSet::UnitBit(field_);
  }

 protected:
  TSetUnitAction(TEditor& editor, std::string description, TUnitField field, float* target, float value);
  bool DoExecute() override;
  void DoUndo() override;

 private:
  TUnitField field_;
  float* target_;
  float newValue_;
  float oldValue_ = 0;
};

// "Set MinZ to %s"
class TSetMinZAction : public TSetUnitAction {
 public:
  TSetMinZAction(TEditor& editor, float value);
};

// "Set MaxZ to %s"
class TSetMaxZAction : public TSetUnitAction {
 public:
  TSetMaxZAction(TEditor& editor, float value);
};

// "Set PgInc to %s"
class TSetPgIncAction : public TSetUnitAction {
 public:
  TSetPgIncAction(TEditor& editor, float value);
};

}  // namespace terravel
