#include "app/ViewportWidget.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QResizeEvent>
#include <QVBoxLayout>

#include "app/CommandGuard.h"
#include "model/history/ChangeSet.h"
#include "render/ViewportRenderer.h"

namespace terravel {

TViewportWidget::TViewportWidget(TViewportRenderer& renderer, QWidget* parent)
    : QWidget(parent), renderer_(renderer) {
  setObjectName(QStringLiteral("Viewport"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(1, 1);
  // Moves without a button keep the last pointer position up to date.
  setMouseTracking(true);
  // The popup menus open from the release of the right button, not from Qt's context menu event.
  setContextMenuPolicy(Qt::PreventContextMenu);
  // The renderer presents each new picture here.
  renderer_.SetPresenter([this] { update(); });
}

void TViewportWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QImage& picture = renderer_.BackBuffer();
  painter.drawImage(event->rect(), picture, event->rect());
  // Outside the buffer (only while a resize is on its way) the viewport stays silver.
  const QRegion beyond = QRegion(event->rect()).subtracted(QRegion(picture.rect()));
  for (const QRect& part : beyond) painter.fillRect(part, QColor(192, 192, 192));
}

void TViewportWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  RunCommand(window(), [this] { renderer_.ResizeViewport(width(), height()); });
  update();
}

void TViewportWidget::Redraw(bool full) {
  renderer_.Redraw(full);
}

void TViewportWidget::Changed(const TChangeSet& changes) {
  if (changes.Mesh() || changes.Records || changes.RecordValues) {
    Redraw(true);
  } else if (changes.Values) {
    Redraw(false);
  }
}

void TViewportWidget::SuspendRedraw() {
  renderer_.SuspendRedraw();
}

void TViewportWidget::ResumeRedraw() {
  renderer_.ResumeRedraw();
}

TClientPanel::TClientPanel(TViewportRenderer& renderer, QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("ClientPanel"));
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, QColor(192, 192, 192));
  setPalette(colours);
  setAutoFillBackground(true);
  viewport_ = new TViewportWidget(renderer, this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(viewport_);
}

}  // namespace terravel
