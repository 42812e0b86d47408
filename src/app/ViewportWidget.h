#pragma once
// The viewport: shows the renderer's back buffer and keeps the drawing buffers at its own size.
// It never draws the scene itself; the renderer does, and asks for a repaint afterwards. Pointer
// events go to the viewport input handler.
#include <QFrame>
#include <QWidget>

namespace terravel {

class TViewportInput;
class TViewportRenderer;

class TViewportWidget : public QWidget {
  Q_OBJECT
 public:
  TViewportWidget(TViewportRenderer& renderer, QWidget* parent);

  // Where the pointer events go; none until the main window sets it.
  void SetInput(TViewportInput* input) { input_ = input; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  TViewportRenderer& renderer_;
  TViewportInput* input_ = nullptr;
};

// The bordered, light grey area between the gradient panel and the status bar; the viewport
// covers all of its inside.
class TClientPanel : public QFrame {
 public:
  TClientPanel(TViewportRenderer& renderer, QWidget* parent);
  TViewportWidget* Viewport() const { return viewport_; }

 private:
  TViewportWidget* viewport_;
};

}  // namespace terravel
