#include "model/interaction/NodeDrag.h"

#include "model/actions/Requests.h"
#include "model/editor/Editor.h"

namespace terravel {

bool DragSelectedNodes(TEditor& editor, float dx, float dy) {
  const long double zoom = editor.Values.Zoom;
  bool moved = false;
  for (T3DCoord& node : editor.Nodes) {
    if (!node.Selected) continue;
    const float x = static_cast<float>(static_cast<long double>(node.X) + dx / zoom);
    const float y = static_cast<float>(static_cast<long double>(node.Y) + dy / zoom);
    if (x != node.X || y != node.Y) moved = true;
    node.X = x;
    node.Y = y;
  }
  if (moved) editor.Host().SetModified(true);
  return moved;
}

void EndDrag(TEditor& editor) {
  if (editor.State.SelectedNodeCount() > 0) DoMoveNodes(editor);
}

}  // namespace terravel
