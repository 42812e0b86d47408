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
#include "model/editor/Editor.h"
#include "model/interaction/RegionSelection.h"

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
                                     std::function<void()> afterSelect)
    : QObject(viewport),
      editor_(editor),
      viewport_(viewport),
      mode_(mode),
      afterSelect_(std::move(afterSelect)),
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
  drawing_ = false;
  mode_->setChecked(active);
  escape_->setEnabled(active);
  outline_->hide();
  viewport_->setCursor(active ? Qt::CrossCursor : Qt::ArrowCursor);
}

void TRegionSelectTool::Finish(Qt::KeyboardModifiers modifiers) {
  drawing_ = false;
  outline_->hide();
  const QPolygon outline = OutlineOf(points_, lasso_);
  std::vector<TWorldPoint> world;
  world.reserve(static_cast<std::size_t>(outline.size()));
  for (const QPoint& p : outline) world.push_back(ScreenToWorld(editor_, p.x(), p.y()));
  DoSelectRegion(editor_, world, modifiers.testFlag(Qt::ControlModifier));
  afterSelect_();
}

bool TRegionSelectTool::eventFilter(QObject* watched, QEvent* event) {
  if (watched != viewport_ || !Active()) return false;
  auto* outline = static_cast<TRegionOutline*>(outline_);
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() != Qt::LeftButton) return false;
      drawing_ = true;
      lasso_ = mouse->modifiers().testFlag(Qt::ShiftModifier);
      points_ = QPolygon{mouse->position().toPoint()};
      return true;
    }
    case QEvent::MouseMove: {
      if (!drawing_) return false;
      const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
      if (lasso_ || points_.size() < 2) {
        points_.append(at);
      } else {
        points_.back() = at;
      }
      outline->Outline = OutlineOf(points_, lasso_);
      outline->setGeometry(viewport_->rect());
      outline->show();
      outline->update();
      return true;
    }
    case QEvent::MouseButtonRelease: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() != Qt::LeftButton || !drawing_) return false;
      RunCommand(viewport_->window(), [&] { Finish(mouse->modifiers()); });
      return true;
    }
    case QEvent::MouseButtonDblClick:
      return static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
    default:
      return false;
  }
}

}  // namespace terravel
