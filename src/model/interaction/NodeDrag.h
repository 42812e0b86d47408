#pragma once
// Moving the selected nodes with the pointer. The first move that moves a node opens a "Move Node"
// transaction and every move is one action inside it, so the windows follow as usual; the release
// records the positions (snapped to the grid when snapping is on) and commits the whole drag as
// one "Move Node" step that undo can take back. Cancelling takes the drag back.

namespace terravel {

class TEditor;

// Moves the selected nodes' X and Y by (dx, dy) screen pixels at the current zoom. True when
// any node moved (the project is then modified).
bool DragSelectedNodes(TEditor& editor, float dx, float dy);

// The release after any drag: records the positions of the selected nodes (snapped to the grid
// when snapping is on), also after a drag that only panned or zoomed, and commits the drag.
void EndDrag(TEditor& editor);

// Takes back the drag so far (Escape while the button is held).
void CancelDrag(TEditor& editor);

}  // namespace terravel
