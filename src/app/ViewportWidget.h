#pragma once
// The top view: shows the renderer's back buffer and keeps the drawing buffers at its own size.
// It follows the document through the host: a change set that touches what it shows asks the
// renderer for a new picture (with the pick buffer when the mesh, the selection or the labels
// changed), which is drawn once at the next paint. The pointer events are the viewport input handler's,
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

  // Full (pick buffer too) or light (grid, heights range, view: the picture only).
  void Redraw(bool full);
  void Changed(const TChangeSet& changes) override;
  void ViewChanged(bool full) override { Redraw(full); }
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
