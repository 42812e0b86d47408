#include "model/interaction/NodeDrag.h"

#include <memory>

#include "model/actions/LiveActions.h"
#include "model/actions/Requests.h"
#include "model/editor/Editor.h"

namespace terravel {

namespace {

const char* const kMoveNode = "Move Node";

}  // namespace

bool DragSelectedNodes(TEditor& editor, float dx, float dy) {
  THistory& history = editor.History;
  const bool opened = !history.InTransaction();
  if (opened) history.Begin(kMoveNode);
  // The move counts as a modification exactly when it moved a node (otherwise it withdraws).
  const long long before = editor.Modifications();
  history.Perform(std::make_unique<TDragNodesAction>(editor, dx, dy));
  const bool moved = editor.Modifications() != before;
  if (opened && !moved) history.Commit();  // nothing to keep open
  return moved;
}

void EndDrag(TEditor& editor) {
  THistory& history = editor.History;
  if (editor.State.SelectedNodeCount() > 0) DoMoveNodes(editor);
  if (history.InTransaction()) history.Commit();
}

void CancelDrag(TEditor& editor) {
  if (editor.History.InTransaction()) editor.History.Rollback();
}

}  // namespace terravel
