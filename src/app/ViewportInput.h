#pragma once
// Pointer, wheel and key handling of the viewport. A press starts an interaction; the first move
// with a button held turns it into a drag (pan, zoom or moving the selected nodes); the release
// commits a node drag with one "Move Node" action or, after a click, hit-tests the pick buffer and
// selects. Every processed move is followed by one that only records its position and the
// processed one applies twice its own delta, so drags follow the pointer at about one pixel per
// pixel. The main window sees every key first (this object filters the application's key events)
// and receives the wheel turns that its controls do not use.
// The rules of what a click selects and how nodes follow a drag are the model's
// (model/interaction); this turns events into those calls.
#include <QObject>
#include <QPoint>

class QAction;
class QKeyEvent;
class QMenu;
class QMouseEvent;
class QPushButton;
class QWheelEvent;
class QWidget;

namespace terravel {

class TEditCommands;
class THost;
class TEditor;
class TPropertiesForm;
class TViewportPopups;
class TViewportRenderer;
class TViewportWidget;

// The parts of the main window that the viewport's input handling touches.
struct TViewportControls {
  QWidget* Window = nullptr;  // keys and the wheel turns that no control uses arrive here
  TViewportWidget* Viewport = nullptr;
  QPushButton* FocusButton = nullptr;  // takes the keyboard focus for the viewport
  QAction* ShowProperties = nullptr;
  QAction* AutoShowProperties = nullptr;
  TPropertiesForm* Properties = nullptr;
};

class TViewportInput : public QObject {
 public:
  // Hit tests read the renderer's pick buffer; live drags and pans are announced to the host,
  // which tells every view.
  TViewportInput(TEditor& editor, THost& host, TViewportRenderer& renderer, TEditCommands& commands,
                 TViewportPopups& popups, const TViewportControls& controls);

  // The popup a right click opens now; none right after a drag.
  QMenu* Popup() const { return popup_; }
  // The property grid mode and the properties window after a click or a drag (here or in the
  // 3-D view).
  void FollowSelection();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The viewport widget's pointer events.
  void MousePress(QMouseEvent* event);
  void MouseMove(QMouseEvent* event);
  void MouseRelease(QMouseEvent* event);
  void MouseDoubleClick(QMouseEvent* event);
  void Press(Qt::MouseButton button);
  void Move(QPoint position, Qt::KeyboardModifiers modifiers);
  void Release(Qt::MouseButton button, QPoint position, QPoint globalPosition,
               Qt::KeyboardModifiers modifiers);
  // A click: hit test and the selection rules, then the popup that fits the selection.
  void Click(bool rightButton, QPoint position, Qt::KeyboardModifiers modifiers);
  void KeyPress(QKeyEvent* event);
  void Wheel(QWheelEvent* event);
  void Confine(bool on);

  TEditor& editor_;
  THost& host_;
  TViewportRenderer& renderer_;
  TEditCommands& commands_;
  TViewportPopups& popups_;
  TViewportControls controls_;
  QMenu* popup_ = nullptr;

  bool leftDown_ = false;
  bool rightDown_ = false;
  QPoint lastPosition_;
  bool dragged_ = false;
  bool skipNext_ = false;
  bool confined_ = false;
  // The corners of the selected polygons joined the selection for this Ctrl+drag.
  bool ctrlMoveStarted_ = false;
};

}  // namespace terravel
