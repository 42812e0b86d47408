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
#include "app/MainWindow.h"
#include "app/PropertiesForm.h"
#include "app/ViewportPopups.h"
#include "app/ViewportWidget.h"
#include "model/actions/Requests.h"
#include "model/document/PropertyMode.h"
#include "model/view/ViewTransform.h"

namespace terravel {

namespace {

// One notch of a mouse wheel.
constexpr int kWheelNotch = 120;

bool AnythingSelected(const TEditor& editor) {
  return editor.State.SelectedNodeCount() > 0 || editor.State.SelectedPolygonCount() > 0;
}

}  // namespace

TViewportInput::TViewportInput(TMainForm& main, TEditCommands& commands, TViewportPopups& popups)
    : QObject(&main), main_(main), commands_(commands), popups_(popups) {
  // The main window sees every key before the focused control does.
  qApp->installEventFilter(this);
  // Wheel turns that no control uses end at the main window.
  main.installEventFilter(this);
}

// Pointer events

void TViewportInput::MousePress(QMouseEvent* event) {
  lastPosition_ = event->position().toPoint();
  if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton) {
    Press(event->button());
  } else if (event->button() == Qt::MiddleButton) {
    dragged_ = false;
    main_.ViewportFocusButton()->setFocus();
  }
}

void TViewportInput::Press(Qt::MouseButton button) {
  if (button == Qt::LeftButton) leftDown_ = true;
  if (button == Qt::RightButton) rightDown_ = true;
  dragged_ = false;
  main_.ViewportFocusButton()->setFocus();
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
  TEditor& editor = main_.Editor();
  TViewportRenderer& renderer = main_.Renderer();
  const float dx = 2.0f * float(position.x() - lastPosition_.x());
  const float dy = 2.0f * float(position.y() - lastPosition_.y());
  const bool wasDragged = dragged_;
  if (leftDown_ && rightDown_) {
    ZoomBy(editor, position.y() - lastPosition_.y());
  } else if (leftDown_) {
    if (modifiers.testFlag(Qt::ControlModifier) && AnythingSelected(editor)) {
      if (MoveSelectedNodes(dx, dy)) {
        main_.SetModified(true);
        renderer.Redraw(true);
      }
    } else if (modifiers.testFlag(Qt::ShiftModifier)) {
      // The selected nodes keep their place on the screen while everything else moves.
      const bool moved = MoveSelectedNodes(dx, dy);
      PanBy(editor, dx, dy);
      if (moved) main_.SetModified(true);
      renderer.Redraw(true);
    } else {
      PanBy(editor, dx, dy);
      renderer.Redraw(false);
    }
  } else if (rightDown_ && wasDragged) {
    PanBy(editor, dx, dy);
    renderer.Redraw(false);
  }
  if (leftDown_ || rightDown_) {
    dragged_ = true;
    skipNext_ = true;
    Confine(true);
  }
  lastPosition_ = position;
}

bool TViewportInput::MoveSelectedNodes(float dx, float dy) {
  TEditor& editor = main_.Editor();
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
  return moved;
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
  TEditor& editor = main_.Editor();
  if (dragged_) {
    popup_ = nullptr;
    if (editor.State.SelectedNodeCount() > 0) DoMoveNodes(editor);
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
}

void TViewportInput::Click(bool rightButton, QPoint position, Qt::KeyboardModifiers modifiers) {
  TEditor& editor = main_.Editor();
  TViewportRenderer& renderer = main_.Renderer();
  renderer.RenderPickBuffer();
  const TPickHit hit = renderer.PickAt(position.x(), position.y());
  const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
  // Left: only this object; Ctrl: toggle it; right: add it. A selected object stays selected
  // unless Ctrl is held.
  const auto selectRule = [&](auto isSelected, auto select) {
    if (!rightButton && !ctrl && !isSelected()) DoSelectNothing(editor);
    if (!isSelected() || ctrl) select(!isSelected());
  };
  switch (hit.Kind) {
    case TPickKind::Nothing:
      DoSelectNothing(editor);
      break;
    case TPickKind::Node:
      if (editor.Nodes.NodeAt(hit.Index) == nullptr) break;
      selectRule([&] { return editor.Nodes[hit.Index].Selected; },
                 [&](bool on) { DoSelectNode(editor, hit.Index, on); });
      break;
    case TPickKind::Polygon:
      if (editor.Polygons.PolygonAt(hit.Index) == nullptr) break;
      selectRule([&] { return editor.Polygons[hit.Index].Selected; },
                 [&](bool on) { DoSelectPoly(editor, hit.Index, on); });
      break;
  }
  popup_ = popups_.PopupForSelection();
}

void TViewportInput::FollowSelection() {
  const TBufferState& state = main_.Editor().State;
  const TPropertyMode mode = PropertyModeFor(state.SelectedNodeCount(), state.SelectedPolygonCount());
  main_.SetPropertyMode(mode);
  if (mode == TPropertyMode::pmNone && main_.Menus().View_AutoShowProperties->isChecked()) {
    if (QWidget* properties = main_.PropertiesWindow()) properties->hide();
  }
  main_.RefreshProperties();
}

void TViewportInput::MouseDoubleClick(QMouseEvent* event) {
  // The first click of the double click has already selected or cleared.
  if (event->button() == Qt::LeftButton) {
    if (AnythingSelected(main_.Editor())) {
      main_.Menus().View_ShowProperties->trigger();
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
  TViewportWidget* viewport = main_.Viewport();
  if (on) {
    viewport->grabMouse();
  } else {
    viewport->releaseMouse();
  }
}

// Keys and wheel

bool TViewportInput::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
    // The key goes first to the focused control of the main window (or to the window itself).
    QWidget* target = QApplication::focusWidget();
    if (target == nullptr || target->window() != &main_) target = &main_;
    if (watched != target) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    bool handled = false;
    RunCommand(&main_, [&] {
      handled = key->key() == Qt::Key_Menu && main_.ViewportFocusButton()->hasFocus();
      KeyPress(key);
    });
    return handled;
  }
  if (event->type() == QEvent::Wheel && watched == &main_) {
    auto* wheel = static_cast<QWheelEvent*>(event);
    RunCommand(&main_, [&] { Wheel(wheel); });
    wheel->accept();
    return true;
  }
  return false;
}

void TViewportInput::KeyPress(QKeyEvent* event) {
  TEditor& editor = main_.Editor();
  const Qt::KeyboardModifiers modifiers = event->modifiers();
  if (event->key() == Qt::Key_Menu && main_.ViewportFocusButton()->hasFocus()) {
    // As a right click where the pointer is.
    const QPoint global = QCursor::pos();
    Press(Qt::RightButton);
    Release(Qt::RightButton, main_.Viewport()->mapFromGlobal(global), global, modifiers);
  }
  if (!AnythingSelected(editor)) return;
  if (modifiers.testFlag(Qt::ControlModifier) || event->key() == Qt::Key_Control) {
    DoSelectSelectedPolyNodes(editor);
  }
  if (event->key() == Qt::Key_PageUp) DoChangeNodeZ(editor, editor.Values.PgInc);
  if (event->key() == Qt::Key_PageDown) DoChangeNodeZ(editor, -editor.Values.PgInc);
}

void TViewportInput::Wheel(QWheelEvent* event) {
  TEditor& editor = main_.Editor();
  DoSelectSelectedPolyNodes(editor);
  const int notches = event->angleDelta().y() / kWheelNotch;
  DoChangeNodeZ(editor, static_cast<float>(notches) * editor.Values.PgInc);
}

}  // namespace terravel
