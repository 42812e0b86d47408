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

bool TSetGridSizeAction::DoExecute() {
  oldSize_ = editor_.Values.GridX;
  SetGridSize(editor_, newSize_);
  return true;
}

void TSetGridSizeAction::DoUndo() {
  SetGridSize(editor_, oldSize_);
}

// TSetUnitAction

TSetUnitAction::TSetUnitAction(TEditor& editor, std::string description, TUnitField field, float* target,
                               float value)
    : TAction(editor, std::move(description)), field_(field), target_(target), newValue_(value) {}

bool TSetUnitAction::DoExecute() {
  Require(target_ != nullptr, modules::Actions, "project value action without a target");
  oldValue_ = *target_;
  *target_ = newValue_;
  return true;
}

void TSetUnitAction::DoUndo() {
  Require(target_ != nullptr, modules::Actions, "project value action without a target");
  *target_ = oldValue_;
}

TSetMinZAction::TSetMinZAction(TEditor& editor, float value)
    : TSetUnitAction(editor, "Set MinZ to " + FormatGeneral(value), TUnitField::MinZ, &editor.Values.MinZ,
                     value) {}

TSetMaxZAction::TSetMaxZAction(TEditor& editor, float value)
    : TSetUnitAction(editor, "Set MaxZ to " + FormatGeneral(value), TUnitField::MaxZ, &editor.Values.MaxZ,
                     value) {}

TSetPgIncAction::TSetPgIncAction(TEditor& editor, float value)
    : TSetUnitAction(editor, "Set PgInc to " + FormatGeneral(value), TUnitField::PgInc, &editor.Values.PgInc,
                     value) {}

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
