#pragma once
// What a click in the viewport does to the selection. A left click makes the object the only
// selection (a selected object stays as it is, so a following drag moves the whole selection),
// Ctrl toggles it, a right click adds it; a click on nothing clears the selection.
#include "model/interaction/PickHit.h"

namespace terravel {

class TEditor;

// A hit whose index no longer names a record changes nothing.
void SelectByClick(TEditor& editor, const TPickHit& hit, bool rightButton, bool ctrl);

bool AnythingSelected(const TEditor& editor);

}  // namespace terravel
