#include "model/actions/ProjectValueActions.h"

#include <memory>
#include <string>
#include <utility>

#include "model/actions/Requests.h"
#include "model/core/Errors.h"
#include "model/editor/Editor.h"
#include "model/text/NumberText.h"
#include "model/view/ViewTransform.h"

namespace terravel {

// TSetGridSizeAction

TSetGridSizeAction::TSetGridSizeAction(TEditor& editor, std::int32_t size)
    : TAction(editor, "Set Grid Size to " + std::to_string(size)), newSize_(size) {}

bool TSetGridSizeAction::Execute() {
  oldSize_ = editor_.Values.GridX;
  SetGridSize(editor_, newSize_);
  return TAction::Execute();
}

bool TSetGridSizeAction::Undo() {
  SetGridSize(editor_, oldSize_);
  return TAction::Undo();
}

void TSetGridSizeAction::Changed() {
  THost& host = editor_.Host();
  host.SetModified(true);
  host.Redraw(false);
  TAction::Changed();
}

// TSetUnitAction

TSetUnitAction::TSetUnitAction(TEditor& editor, std::string description, float* target, float value)
    : TAction(editor, std::move(description)), target_(target), newValue_(value) {}

bool TSetUnitAction::Execute() {
  Require(target_ != nullptr, modules::Actions, "project value action without a target");
  oldValue_ = *target_;
  *target_ = newValue_;
  return TAction::Execute();
}

bool TSetUnitAction::Undo() {
  Require(target_ != nullptr, modules::Actions, "project value action without a target");
  *target_ = oldValue_;
  return TAction::Undo();
}

void TSetUnitAction::Changed() {
  firstTime_ = false;
  THost& host = editor_.Host();
  host.SetModified(true);
  host.Redraw(false);
  TAction::Changed();
}

void TSetUnitAction::ChangedShowing(TUnitField field) {
  if (!firstTime_) editor_.Host().ShowUnitValue(field);
  TSetUnitAction::Changed();
}

TSetMinZAction::TSetMinZAction(TEditor& editor, float value)
    : TSetUnitAction(editor, "Set MinZ to " + FormatGeneral(value), &editor.Values.MinZ, value) {}

void TSetMinZAction::Changed() {
  ChangedShowing(TUnitField::MinZ);
}

TSetMaxZAction::TSetMaxZAction(TEditor& editor, float value)
    : TSetUnitAction(editor, "Set MaxZ to " + FormatGeneral(value), &editor.Values.MaxZ, value) {}

void TSetMaxZAction::Changed() {
  ChangedShowing(TUnitField::MaxZ);
}

TSetPgIncAction::TSetPgIncAction(TEditor& editor, float value)
    : TSetUnitAction(editor, "Set PgInc to " + FormatGeneral(value), &editor.Values.PgInc, value) {}

void TSetPgIncAction::Changed() {
  ChangedShowing(TUnitField::PgInc);
}

// Requests

void DoSetGridSize(TEditor& editor, int size) {
  editor.History.Perform(std::make_unique<TSetGridSizeAction>(editor, size));
}

void DoSetMinZ(TEditor& editor, float value) {
  editor.History.Perform(std::make_unique<TSetMinZAction>(editor, value));
}

void DoSetMaxZ(TEditor& editor, float value) {
  editor.History.Perform(std::make_unique<TSetMaxZAction>(editor, value));
}

void DoSetPgInc(TEditor& editor, float value) {
  editor.History.Perform(std::make_unique<TSetPgIncAction>(editor, value));
}

}  // namespace terravel
