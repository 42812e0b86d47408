#include "model/interaction/AddCommands.h"

#include <vector>

#include "model/actions/Requests.h"
#include "model/editing/PolygonPlacement.h"
#include "model/editor/Editor.h"

namespace terravel {

namespace {

// The selected nodes in list order.
std::vector<int> SelectedNodes(const TEditor& editor) {
  std::vector<int> selected;
  for (int i = 0; i < editor.Nodes.Count(); ++i) {
    if (editor.Nodes[i].Selected) selected.push_back(i);
  }
  return selected;
}

// The existing polygon becomes the selection; a repeated command must not record a step.
void SelectExistingPolygon(TEditor& editor, int index) {
  DoSelectNothing(editor);
  if (editor.Polygons.PolygonAt(index) != nullptr) editor.Polygons.SetSelected(index, true);
  TChangeSet changes;
  changes.Selection = true;
  editor.History.Publish(changes);
}

}  // namespace

void AddNodeAt(TEditor& editor, int px, int py) {
  editor.MarkModified();
  const TWorldPoint at = AddNodePosition(editor, px, py);
  T3DCoord node;
  node.X = node.BaseX = at.X;
  node.Y = node.BaseY = at.Y;
  DoSelectNothing(editor);
  DoAddNode(editor, node);
}

bool PolygonFromSelection(const TEditor& editor, TPolygonSource source) {
  return source == TPolygonSource::SelectionOrPoint && editor.Nodes.Count() >= 3 &&
         editor.State.SelectedNodeCount() == 3;
}

TAddPolygonOutcome AddPolygon(TEditor& editor, TPolygonKind kind, TPolygonSource source, TWorldPoint at) {
  if (editor.Nodes.Count() < 3) return TAddPolygonOutcome::TooFewNodes;
  const bool ground = kind == TPolygonKind::Ground;
  bool fromSelection = false;
  TPolygonPlacement placement;
  if (PolygonFromSelection(editor, source)) {
    const std::vector<int> nodes = SelectedNodes(editor);
    if (nodes.size() == 3) {
      fromSelection = true;
      placement = PlacePolygonOn(editor, nodes[0], nodes[1], nodes[2], ground);
    }
  }
  if (!fromSelection) placement = PlacePolygonAt(editor, at.X, at.Y, ground);

  switch (placement.Result) {
    case TPlacementResult::TooFewNodes:
      return TAddPolygonOutcome::TooFewNodes;
    case TPlacementResult::NoCorners:
      return TAddPolygonOutcome::NearbyExists;
    case TPlacementResult::Degenerate:
      return TAddPolygonOutcome::Degenerate;
    case TPlacementResult::Duplicate:
      SelectExistingPolygon(editor, placement.DuplicateIndex);
      return fromSelection ? TAddPolygonOutcome::SelectedExists : TAddPolygonOutcome::NearbyExists;
    case TPlacementResult::Ok:
      break;
  }
  TPoly polygon;
  polygon.Node1 = placement.Node1;
  polygon.Node2 = placement.Node2;
  polygon.Node3 = placement.Node3;
  polygon.Color = kAutomaticColor;
  polygon.Texture = kDefaultTexture;
  polygon.Selected = true;
  DoSelectNothing(editor);
  DoAddPolygon(editor, polygon);
  return TAddPolygonOutcome::Added;
}

}  // namespace terravel
