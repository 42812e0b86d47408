#include "app/ViewportInput.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QWheelEvent>

#include "app/CommandGuard.h"
#include "app/EditCommands.h"
#include "app/ViewportPopups.h"
#include "app/ViewportWidget.h"
#include "app/properties/PropertiesForm.h"
#include "render/ViewportRenderer.h"
#include "model/actions/Requests.h"
#include "model/document/PropertyMode.h"
#include "model/editor/Editor.h"
#include "model/interaction/ClickSelection.h"
#include "model/interaction/NodeDrag.h"
#include "model/view/ViewTransform.h"

namespace terravel {

namespace {

// One notch of a mouse wheel.
constexpr int kWheelNotch = 120;

}  // namespace

TViewportInput::TViewportInput(TEditor& editor, THost& host, TViewportRenderer& renderer,
                               TEditCommands& commands, TViewportPopups& popups, const TViewportControls& controls)
    : QObject(controls.Window),
      editor_(editor),
      host_(host),
      renderer_(renderer),
      commands_(commands),
      popups_(popups),
      controls_(controls) {
  // The main window sees every key before the focused control does.
  qApp->installEventFilter(this);
  // Wheel turns that no control uses end at the main window.
  controls.Window->installEventFilter(this);
}

// Pointer events

void TViewportInput::MousePress(QMouseEvent* event) {
  lastPosition_ = event->position().toPoint();
  if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton) {
    Press(event->button());
  } else if (event->button() == Qt::MiddleButton) {
    dragged_ = false;
    controls_.FocusButton->setFocus();
  }
}

void TViewportInput::Press(Qt::MouseButton button) {
  if (button == Qt::LeftButton) leftDown_ = true;
  if (button == Qt::RightButton) rightDown_ = true;
  dragged_ = false;
  controls_.FocusButton->setFocus();
}

void TViewportInput::MouseMove(QMouseEvent* event) {
  Move(event->position().toPoint(), event->modifiers());
}

void TViewportInput::Move(QPoint position, Qt::KeyboardModifiers modifiers) {
  if (position == lastPosition_) return;
  if (skipNext_) {
    skipNext_ = false;
    lastPosition_ = position;
    return;
  }
  TEditor& editor = editor_;
  THost& host = host_;
  const float dx = 2.0f * float(position.x() - lastPosition_.x());
  const float dy = 2.0f * float(position.y() - lastPosition_.y());
  const bool wasDragged = dragged_;
  if (leftDown_ && rightDown_) {
    ZoomBy(editor, position.y() - lastPosition_.y());
  } else if (leftDown_) {
    if (modifiers.testFlag(Qt::ControlModifier) && AnythingSelected(editor)) {
      // A Ctrl+drag moves the selected polygons too: their corners join the selection once, as
      // the move starts (not on the bare Ctrl key, which would add a history step to every
      // shortcut and keep Ctrl+click from building a selection of polygons).
      if (!ctrlMoveStarted_) {
        ctrlMoveStarted_ = true;
        DoSelectSelectedPolyNodes(editor);
      }
      DragSelectedNodes(editor, dx, dy);  // its action redraws
    } else if (modifiers.testFlag(Qt::ShiftModifier)) {
      // The selected nodes keep their place on the screen while everything else moves.
      DragSelectedNodes(editor, dx, dy);
      PanBy(editor, dx, dy);
      host.ViewChanged(true);
    } else {
      // A pan changes only the top view.
      PanBy(editor, dx, dy);
      host.ViewChanged(false);
    }
  } else if (rightDown_ && wasDragged) {
    PanBy(editor, dx, dy);
    host.ViewChanged(false);
  }
  if (leftDown_ || rightDown_) {
    dragged_ = true;
    skipNext_ = true;
    Confine(true);
  }
  lastPosition_ = position;
}

void TViewportInput::MouseRelease(QMouseEvent* event) {
  const Qt::MouseButton button = event->button();
  if (button != Qt::LeftButton && button != Qt::RightButton && button != Qt::MiddleButton) return;
  Release(button, event->position().toPoint(), event->globalPosition().toPoint(), event->modifiers());
}

void TViewportInput::Release(Qt::MouseButton button, QPoint position, QPoint globalPosition,
                             Qt::KeyboardModifiers modifiers) {
  const bool rightButton = button == Qt::RightButton;
  if (button == Qt::LeftButton) leftDown_ = false;
  if (rightButton) rightDown_ = false;
  if (!leftDown_ && !rightDown_) Confine(false);
  if (dragged_) {
    popup_ = nullptr;
    EndDrag(editor_);
  } else {
    Click(rightButton, position, modifiers);
    if (rightButton && !leftDown_) {
      commands_.ContextPoint = globalPosition;
      popups_.Open(popup_, globalPosition);
      skipNext_ = true;
    }
  }
  FollowSelection();
  dragged_ = false;
  ctrlMoveStarted_ = false;
}

void TViewportInput::Click(bool rightButton, QPoint position, Qt::KeyboardModifiers modifiers) {
  // The pick buffer is drawn here only when the scene changed since it was last drawn.
  const TPickHit hit = renderer_.PickAt(position.x(), position.y());
  SelectByClick(editor_, hit, rightButton, modifiers.testFlag(Qt::ControlModifier));
  controls_.Properties->FollowClick(hit.Kind == TPickKind::Nothing);
  popup_ = popups_.PopupForSelection();
}

void TViewportInput::FollowSelection() {
  const TBufferState& state = editor_.State;
  const TPropertyMode mode = PropertyModeFor(state.SelectedNodeCount(), state.SelectedPolygonCount());
  controls_.Properties->SetPropertyMode(mode);
  if (mode == TPropertyMode::pmNone && controls_.AutoShowProperties->isChecked()) controls_.Properties->hide();
  controls_.Properties->RefreshProperties();
}

void TViewportInput::MouseDoubleClick(QMouseEvent* event) {
  // The first click of the double click has already selected or cleared.
  if (event->button() == Qt::LeftButton) {
    if (AnythingSelected(editor_)) {
      controls_.ShowProperties->trigger();
    } else {
      commands_.ContextPoint = event->globalPosition().toPoint();
      commands_.AddNodeHere();
    }
  }
  // The second press of the double click.
  MousePress(event);
}

void TViewportInput::Confine(bool on) {
  if (on == confined_) return;
  confined_ = on;
  // Grabbing the mouse keeps the drag with the viewport wherever the pointer goes; the pointer is
  // never hidden here, so nothing has to make it visible again.
  TViewportWidget* viewport = controls_.Viewport;
  if (on) {
    viewport->grabMouse();
  } else {
    viewport->releaseMouse();
  }
}

// Keys and wheel

bool TViewportInput::eventFilter(QObject* watched, QEvent* event) {
  if (watched == controls_.Viewport) {
    // Other events reach the viewport too (a child added at start-up): only mouse events are
    // taken as such.
    void (TViewportInput::*handler)(QMouseEvent*) = nullptr;
    switch (event->type()) {
      case QEvent::MouseButtonPress: handler = &TViewportInput::MousePress; break;
      case QEvent::MouseMove: handler = &TViewportInput::MouseMove; break;
      case QEvent::MouseButtonRelease: handler = &TViewportInput::MouseRelease; break;
      case QEvent::MouseButtonDblClick: handler = &TViewportInput::MouseDoubleClick; break;
      default: return false;
    }
    auto* mouse = static_cast<QMouseEvent*>(event);
    RunCommand(controls_.Window, [&] { (this->*handler)(mouse); });
    return true;
  }
  if ((event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) && leftDown_ &&
      editor_.History.InTransaction()) {
    // A key in the middle of a node drag commits the drag so far: the key's command (an undo, a
    // removal) is a step of its own after it.
    RunCommand(controls_.Window, [&] { editor_.History.Commit(); });
  }
  if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
    // The key goes first to the focused control of the main window (or to the window itself).
    QWidget* target = QApplication::focusWidget();
    if (target == nullptr || target->window() != controls_.Window) target = controls_.Window;
    if (watched != target) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    bool handled = false;
    RunCommand(controls_.Window, [&] {
      handled = key->key() == Qt::Key_Menu && controls_.FocusButton->hasFocus();
      KeyPress(key);
    });
    return handled;
  }
  if (event->type() == QEvent::Wheel && watched == controls_.Window) {
    auto* wheel = static_cast<QWheelEvent*>(event);
    RunCommand(controls_.Window, [&] { Wheel(wheel); });
    wheel->accept();
    return true;
  }
  return false;
}

void TViewportInput::KeyPress(QKeyEvent* event) {
  TEditor& editor = editor_;
  const Qt::KeyboardModifiers modifiers = event->modifiers();
  if (event->key() == Qt::Key_Menu && controls_.FocusButton->hasFocus()) {
    // As a right click where the pointer is.
    const QPoint global = QCursor::pos();
    Press(Qt::RightButton);
    Release(Qt::RightButton, controls_.Viewport->mapFromGlobal(global), global, modifiers);
  }
  if (!AnythingSelected(editor)) return;
  const bool pageUp = event->key() == Qt::Key_PageUp;
  if (!pageUp && event->key() != Qt::Key_PageDown) return;
  // Ctrl+Page Up/Down raises and lowers the selected polygons with their corners.
  if (modifiers.testFlag(Qt::ControlModifier)) DoSelectSelectedPolyNodes(editor);
  DoChangeNodeZ(editor, pageUp ? editor.Values.PgInc : -editor.Values.PgInc);
}

void TViewportInput::Wheel(QWheelEvent* event) {
  TEditor& editor = editor_;
  DoSelectSelectedPolyNodes(editor);
  const int notches = event->angleDelta().y() / kWheelNotch;
  DoChangeNodeZ(editor, static_cast<float>(notches) * editor.Values.PgInc);
}

}  // namespace terravel
