#include "app/EditCommands.h"

#include <QCursor>
#include <QMessageBox>

#include <vector>

#include "app/MainWindow.h"
#include "app/UserDialogs.h"
#include "app/ViewportWidget.h"
#include "model/actions/Requests.h"
#include "model/editing/PolygonPlacement.h"

namespace terravel {

namespace {

const char* const kTooFewNodes =
    "You need to create at least three nodes before attempting to create a polygon!";
const char* const kSelectOrPoint =
    "Either select exactly three nodes or position the cursor\rat the desired location and press the "
    "keyboard "
    "shortcut\rfor this command in order to create a polygon!";
const char* const kNearbyExists =
    "A polygon with the nodes that are located nearby the indicated position already exists!";
const char* const kSelectedExists = "A polygon consisting of the selected nodes already exists!";
const char* const kDegenerate =
    "The generated polygon would be degenerated.\rMake sure the area of the polygon is not empty!";
const char* const kRemoveQuestion =
    "The node(s) to be deleted is/are in use by %1 polygon(s).\rThose will be deleted as well when removing "
    "the "
    "node(s).\rDo you want to continue?";

// The selected nodes in list order.
std::vector<int> SelectedNodes(const TEditor& editor) {
  std::vector<int> selected;
  for (int i = 0; i < editor.Nodes.Count(); ++i) {
    if (editor.Nodes[i].Selected) selected.push_back(i);
  }
  return selected;
}

}  // namespace

TEditCommands::TEditCommands(TMainForm& main) : QObject(&main), main_(main) {}

void TEditCommands::Inform(const char* text) {
  ShowInformation(&main_, QString::fromLatin1(text));
}

void TEditCommands::AddNodeHere() {
  TEditor& editor = main_.Editor();
  main_.SetModified(true);
  const QPoint local = main_.Viewport()->mapFromGlobal(ContextPoint);
  const TWorldPoint at = AddNodePosition(editor, local.x(), local.y());
  T3DCoord node;
  node.X = node.BaseX = at.X;
  node.Y = node.BaseY = at.Y;
  DoSelectNothing(editor);
  DoAddNode(editor, node);
}

void TEditCommands::AddPolygon(int tag) {
  TEditor& editor = main_.Editor();
  const bool ground = tag % 2 == 0;
  if (editor.Nodes.Count() < 3) {
    Inform(kTooFewNodes);
    return;
  }
  bool selectedMode = false;
  TPolygonPlacement placement;
  if (tag >= 2 && editor.State.SelectedNodeCount() == 3) {
    const std::vector<int> nodes = SelectedNodes(editor);
    if (nodes.size() == 3) {
      selectedMode = true;
      placement = PlacePolygonOn(editor, nodes[0], nodes[1], nodes[2], ground);
    }
  }
  if (!selectedMode) {
    if (tag >= 2) {
      ContextPoint = QCursor::pos();
      if (!main_.isActiveWindow()) {
        Inform(kSelectOrPoint);
        return;
      }
    }
    const QPoint local = main_.Viewport()->mapFromGlobal(ContextPoint);
    const TWorldPoint at = ScreenToWorld(editor, local.x(), local.y());
    placement = PlacePolygonAt(editor, at.X, at.Y, ground);
  }

  switch (placement.Result) {
    case TPlacementResult::TooFewNodes:
      Inform(kTooFewNodes);
      return;
    case TPlacementResult::NoCorners:
      Inform(kNearbyExists);
      return;
    case TPlacementResult::Degenerate:
      Inform(kDegenerate);
      return;
    case TPlacementResult::Duplicate: {
      // The existing polygon becomes the selection without an action of its own.
      DoSelectNothing(editor);
      if (editor.Polygons.PolygonAt(placement.DuplicateIndex) != nullptr) {
        editor.Polygons.SetSelected(placement.DuplicateIndex, true);
      }
      main_.Renderer().Redraw(true);
      main_.RefreshProperties();
      Inform(selectedMode ? kSelectedExists : kNearbyExists);
      return;
    }
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
}

void TEditCommands::RemoveSelection() {
  TEditor& editor = main_.Editor();
  if (editor.State.SelectedNodeCount() == 0 && editor.State.SelectedPolygonCount() == 0) return;
  const int used = PolygonsUsingSelectedNodes(editor);
  if (used > 0) {
    const QMessageBox::StandardButton answer = UserDialogs().Message(
        &main_, QStringLiteral("Information"), QString::fromLatin1(kRemoveQuestion).arg(used),
        QMessageBox::Information, QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes) return;
  }
  DoRemove(editor);
}

}  // namespace terravel
