#include "app/RegionSelectTool.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <QWidget>

#include <vector>

#include "app/CommandGuard.h"
#include "app/view3d/View3DWidget.h"
#include "model/editor/Editor.h"
#include "model/interaction/RegionSelection.h"
#include "model/scene3d/ScreenPlaces.h"

namespace terravel {

namespace {

// The outline in viewport pixels: the rectangle's four corners or the lasso's points.
QPolygon OutlineOf(const QPolygon& points, bool lasso) {
  if (lasso || points.size() < 2) return points;
  const QRect rect = QRect(points[0], points.back()).normalized();
  return QPolygon(rect, false);
}

// A see-through layer over the viewport that draws the region being dragged.
class TRegionOutline : public QWidget {
 public:
  explicit TRegionOutline(QWidget* viewport) : QWidget(viewport) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    hide();
  }
  QPolygon Outline;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setPen(QPen(QColor(255, 255, 255), 1));
    painter.setBrush(QColor(80, 140, 255, 48));
    painter.drawPolygon(Outline);
    painter.setPen(QPen(QColor(0, 0, 0), 1, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolygon(Outline);
  }
};

}  // namespace

TRegionSelectTool::TRegionSelectTool(TEditor& editor, QWidget* viewport, QAction* mode,
                                     std::function<void()> afterSelect,
                                     std::function<TView3DWidget*()> view3d)
    : QObject(viewport),
      editor_(editor),
      viewport_(viewport),
      mode_(mode),
      afterSelect_(std::move(afterSelect)),
      view3d_(std::move(view3d)),
      outline_(new TRegionOutline(viewport)) {
  mode_->setCheckable(true);
  escape_ = new QShortcut(QKeySequence(Qt::Key_Escape), viewport_->window());
  escape_->setEnabled(false);
  connect(escape_, &QShortcut::activated, this,
          [this] { RunCommand(viewport_->window(), [this] { SetActive(false); }); });
  // Installed after the viewport input: this filter sees the viewport's events first.
  qApp->installEventFilter(this);
}

bool TRegionSelectTool::Active() const {
  return mode_->isChecked();
}

void TRegionSelectTool::SetActive(bool active) {
  surface_ = nullptr;
  mode_->setChecked(active);
  escape_->setEnabled(active);
  outline_->hide();
  if (outline3D_) outline3D_->hide();
  viewport_->setCursor(active ? Qt::CrossCursor : Qt::ArrowCursor);
  if (TView3DWidget* view = view3d_ ? view3d_() : nullptr) {
    if (active) {
      view->setCursor(Qt::CrossCursor);
    } else {
      view->unsetCursor();
    }
  }
}

QWidget* TRegionSelectTool::OutlineOver(QWidget* surface) {
  if (surface == viewport_) return outline_;
  if (!outline3D_ || outline3D_->parentWidget() != surface) {
    delete outline3D_;
    outline3D_ = new TRegionOutline(surface);
  }
  return outline3D_;
}

void TRegionSelectTool::Finish(Qt::KeyboardModifiers modifiers) {
  QWidget* surface = surface_;
  surface_ = nullptr;
  OutlineOver(surface)->hide();
  const QPolygon outline = OutlineOf(points_, lasso_);
  const bool add = modifiers.testFlag(Qt::ControlModifier);
  if (surface == viewport_) {
    std::vector<TWorldPoint> region;
    region.reserve(static_cast<std::size_t>(outline.size()));
    for (const QPoint& p : outline) region.push_back(ScreenToWorld(editor_, p.x(), p.y()));
    DoSelectRegion(editor_, region, add);
  } else {
    // The view's pixels, with the camera as it draws them now.
    const auto* view = static_cast<const TView3DWidget*>(surface);
    TCamera3D camera = view->Camera();
    camera.SetViewport(view->width(), view->height());
    std::vector<TScreenPoint> region;
    region.reserve(static_cast<std::size_t>(outline.size()));
    for (const QPoint& p : outline) region.push_back({p.x(), p.y()});
    DoSelectRegion(editor_, region, ScreenPlaces(view->Scene().Mesh(), camera), add);
  }
  afterSelect_();
}

bool TRegionSelectTool::eventFilter(QObject* watched, QEvent* event) {
  if (!Active()) return false;
  if (watched == viewport_) return Mouse(viewport_, event);
  TView3DWidget* view = view3d_ ? view3d_() : nullptr;
  if (view == nullptr || watched != view) return false;
  // A view made after the mode came on takes the cursor when the pointer first comes.
  if (event->type() == QEvent::Enter) view->setCursor(Qt::CrossCursor);
  return Mouse(view, event);
}

bool TRegionSelectTool::Mouse(QWidget* surface, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() != Qt::LeftButton) return false;
      // A press elsewhere while a region is drawn is swallowed; the region goes on.
      if (surface_ != nullptr) return true;
      surface_ = surface;
      lasso_ = mouse->modifiers().testFlag(Qt::ShiftModifier);
      points_ = QPolygon{mouse->position().toPoint()};
      return true;
    }
    case QEvent::MouseMove: {
      if (surface_ != surface) return surface_ != nullptr;
      const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
      if (lasso_ || points_.size() < 2) {
        points_.append(at);
      } else {
        points_.back() = at;
      }
      auto* outline = static_cast<TRegionOutline*>(OutlineOver(surface));
      outline->Outline = OutlineOf(points_, lasso_);
      outline->setGeometry(surface->rect());
      outline->show();
      outline->update();
      return true;
    }
    case QEvent::MouseButtonRelease: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() != Qt::LeftButton || surface_ != surface) return false;
      RunCommand(surface->window(), [&] { Finish(mouse->modifiers()); });
      return true;
    }
    case QEvent::MouseButtonDblClick:
      return static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
    default:
      return false;
  }
}

}  // namespace terravel
