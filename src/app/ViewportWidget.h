#pragma once
// The top view: shows the renderer's back buffer and keeps the drawing buffers at its own size.
// It follows the document through the host: a redraw there asks the renderer for a new picture,
// which is drawn once at the next paint. The pointer events are the viewport input handler's,
// which watches this widget.
#include <QFrame>
#include <QWidget>

#include "app/DocumentHost.h"

namespace terravel {

class TViewportRenderer;

class TViewportWidget : public QWidget, public TDocumentView {
  Q_OBJECT
 public:
  TViewportWidget(TViewportRenderer& renderer, QWidget* parent);

  void Redraw(bool full) override;
  void SuspendRedraw() override;
  void ResumeRedraw() override;

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
