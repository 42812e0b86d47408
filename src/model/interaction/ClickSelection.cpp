#include "model/interaction/ClickSelection.h"

#include "model/actions/Requests.h"
#include "model/editor/Editor.h"

namespace terravel {

namespace {

template <typename IsSelected, typename Select>
void ApplyClick(TEditor& editor, bool rightButton, bool ctrl, IsSelected isSelected, Select select) {
  if (!rightButton && !ctrl && !isSelected()) DoSelectNothing(editor);
  if (!isSelected() || ctrl) select(!isSelected());
}

}  // namespace

void SelectByClick(TEditor& editor, const TPickHit& hit, bool rightButton, bool ctrl) {
  switch (hit.Kind) {
    case TPickKind::Nothing:
      DoSelectNothing(editor);
      break;
    case TPickKind::Node:
      if (editor.Nodes.NodeAt(hit.Index) == nullptr) break;
      ApplyClick(
          editor, rightButton, ctrl, [&] { return editor.Nodes[hit.Index].Selected; },
          [&](bool on) { DoSelectNode(editor, hit.Index, on); });
      break;
    case TPickKind::Polygon:
      if (editor.Polygons.PolygonAt(hit.Index) == nullptr) break;
      ApplyClick(
          editor, rightButton, ctrl, [&] { return editor.Polygons[hit.Index].Selected; },
          [&](bool on) { DoSelectPoly(editor, hit.Index, on); });
      break;
  }
}

bool AnythingSelected(const TEditor& editor) {
  return editor.State.SelectedNodeCount() > 0 || editor.State.SelectedPolygonCount() > 0;
}

}  // namespace terravel
