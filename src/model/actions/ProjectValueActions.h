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
  bool Execute() override;
  bool Undo() override;
  // modified, light redraw, undo commands.
  void Changed() override;

 private:
  std::int32_t newSize_;
  std::int32_t oldSize_ = 0;
};

// Sets one single-precision project value.
class TSetUnitAction : public TAction {
 public:
  bool Execute() override;
  bool Undo() override;
  // Ends the first time; modified, light redraw, undo commands.
  void Changed() override;

 protected:
  TSetUnitAction(TEditor& editor, std::string description, float* target, float value);
  // True from construction until the first Changed: the edit box that asked already shows the value.
  bool FirstTime() const { return firstTime_; }
  // On undo and redo, rewrites the edit box of the value, then the inherited Changed.
  void ChangedShowing(TUnitField field);

 private:
  float* target_;
  float newValue_;
  float oldValue_ = 0;
  bool firstTime_ = true;
};

// "Set MinZ to %s"
class TSetMinZAction : public TSetUnitAction {
 public:
  TSetMinZAction(TEditor& editor, float value);
  void Changed() override;
};

// "Set MaxZ to %s"
class TSetMaxZAction : public TSetUnitAction {
 public:
  TSetMaxZAction(TEditor& editor, float value);
  void Changed() override;
};

// "Set PgInc to %s"
class TSetPgIncAction : public TSetUnitAction {
 public:
  TSetPgIncAction(TEditor& editor, float value);
  void Changed() override;
};

}  // namespace terravel
