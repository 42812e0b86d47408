#pragma once
// Tool windows and dialogs come back where the user left them. A window that is hidden and shown
// again is moved to the frame position it had when it was hidden; without that, window managers
// that place a window by its client area shift it down by the title bar's height each time.
#include <QObject>
#include <QPoint>

class QWidget;

namespace terravel {

class TWindowPlacement : public QObject {
 public:
  // Follows the window for as long as it lives.
  static void Keep(QWidget* window);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  explicit TWindowPlacement(QWidget* window);

  QPoint position_;
  bool placed_ = false;
};

}  // namespace terravel
