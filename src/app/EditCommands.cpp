#include "app/EditCommands.h"

#include <QCursor>
#include <QMessageBox>
#include <QWidget>

#include "app/UserDialogs.h"
#include "app/ViewportWidget.h"
#include "model/actions/Requests.h"
#include "model/editing/PolygonPlacement.h"
#include "model/editor/Editor.h"
#include "model/interaction/ClickSelection.h"
#include "model/view/ViewTransform.h"

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

}  // namespace

TEditCommands::TEditCommands(TEditor& editor, QWidget* window, TViewportWidget* viewport)
    : QObject(window), editor_(editor), window_(window), viewport_(viewport) {}

void TEditCommands::Inform(const char* text) {
  ShowInformation(window_, QString::fromLatin1(text));
}

void TEditCommands::AddNodeHere() {
  const QPoint local = viewport_->mapFromGlobal(ContextPoint);
  AddNodeAt(editor_, local.x(), local.y());
}

void TEditCommands::AddPolygon(TPolygonKind kind, TPolygonSource source) {
  const bool needsPointer = source == TPolygonSource::SelectionOrPoint && editor_.Nodes.Count() >= 3 &&
                            !PolygonFromSelection(editor_, source);
  if (needsPointer) {
    ContextPoint = QCursor::pos();
    if (!window_->isActiveWindow()) {
      Inform(kSelectOrPoint);
      return;
    }
  }
  const QPoint local = viewport_->mapFromGlobal(ContextPoint);
  switch (terravel::AddPolygon(editor_, kind, source, ScreenToWorld(editor_, local.x(), local.y()))) {
    case TAddPolygonOutcome::Added:
      break;
    case TAddPolygonOutcome::TooFewNodes:
      Inform(kTooFewNodes);
      break;
    case TAddPolygonOutcome::NearbyExists:
      Inform(kNearbyExists);
      break;
    case TAddPolygonOutcome::SelectedExists:
      Inform(kSelectedExists);
      break;
    case TAddPolygonOutcome::Degenerate:
      Inform(kDegenerate);
      break;
  }
}

void TEditCommands::RemoveSelection() {
  if (!AnythingSelected(editor_)) return;
  const int used = PolygonsUsingSelectedNodes(editor_);
  if (used > 0) {
    const QMessageBox::StandardButton answer = UserDialogs().Message(
        window_, QStringLiteral("Information"), QString::fromLatin1(kRemoveQuestion).arg(used),
        QMessageBox::Information, QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes) return;
  }
  DoRemove(editor_);
}

}  // namespace terravel
