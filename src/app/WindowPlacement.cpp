#include "app/WindowPlacement.h"

#include <QEvent>
#include <QWidget>

namespace terravel {

void TWindowPlacement::Keep(QWidget* window) {
  window->installEventFilter(new TWindowPlacement(window));
}

TWindowPlacement::TWindowPlacement(QWidget* window) : QObject(window) {}

bool TWindowPlacement::eventFilter(QObject* watched, QEvent* event) {
  auto* window = static_cast<QWidget*>(watched);
  if (event->type() == QEvent::Hide && !event->spontaneous()) {
    // pos() is the frame's corner, which is also what move() places.
    position_ = window->pos();
    placed_ = true;
  } else if (event->type() == QEvent::Show && !event->spontaneous() && placed_) {
    // The show event comes before the window is mapped, so it appears in place at once.
    window->move(position_);
  }
  return false;
}

}  // namespace terravel
