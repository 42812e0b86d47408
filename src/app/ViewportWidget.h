#pragma once
// The viewport: shows the renderer's back buffer and keeps the drawing buffers at its own size.
// It never draws the scene itself; the renderer does, and asks for a repaint afterwards.
#include <QFrame>
#include <QWidget>

namespace terravel {

class TViewportRenderer;

class TViewportWidget : public QWidget {
  Q_OBJECT
 public:
  TViewportWidget(TViewportRenderer& renderer, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  TViewportRenderer& renderer_;
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
