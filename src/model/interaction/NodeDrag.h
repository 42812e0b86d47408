#pragma once
// Moving the selected nodes with the pointer. While the button is held the nodes follow without
// history; their drag bases keep the positions of the press, so the release records the whole
// drag as one "Move Node" action that undo can take back.

namespace terravel {

class TEditor;

// Moves the selected nodes' X and Y by (dx, dy) screen pixels at the current zoom. When any node
// moved the project counts as modified. True when any node moved.
bool DragSelectedNodes(TEditor& editor, float dx, float dy);

// The release after any drag: records the positions of the selected nodes (snapped to the grid
// when snapping is on), also after a drag that only panned or zoomed.
void EndDrag(TEditor& editor);

}  // namespace terravel
