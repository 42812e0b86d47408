#include "app/SculptTool.h"

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QShortcut>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "app/CommandGuard.h"
#include "app/view3d/View3DWidget.h"
#include "model/document/Host.h"
#include "model/editor/Editor.h"
#include "model/view/ViewTransform.h"

namespace terravel {

namespace {

constexpr int kOutlineSegments = 64;

// A see-through layer over a view that draws the brush's outline about the pointer, worked out
// at each paint.
class TBrushCircle : public QWidget {
 public:
  TBrushCircle(QWidget* view, std::function<QPainterPath(QPointF)> shape) : QWidget(view), Shape(std::move(shape)) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setGeometry(view->rect());
    hide();
  }
  std::function<QPainterPath(QPointF)> Shape;
  QPointF Pointer{-1, -1};  // x < 0: the pointer is not over the view

 protected:
  void paintEvent(QPaintEvent*) override {
    if (Pointer.x() < 0) return;
    const QPainterPath outline = Shape(Pointer);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(255, 255, 255), 1));
    painter.drawPath(outline);
    painter.setPen(QPen(QColor(0, 0, 0), 1, Qt::DotLine));
    painter.drawPath(outline);
  }
};

// The camera as it draws the view now.
TCamera3D ViewCamera(const TView3DWidget& view) {
  TCamera3D camera = view.Camera();
  camera.SetViewport(view.width(), view.height());
  return camera;
}

// The circle of the radius about the world point, laid on the terrain and seen through the camera;
// the parts beside the terrain are left out.
QPainterPath DrapedCircle(const TView3DWidget& view, double x, double y, double radius) {
  QPainterPath path;
  const TScene3D& scene = view.Scene();
  const TBox3 bounds = scene.Mesh().Bounds();
  if (bounds.Empty()) return path;
  const TCamera3D camera = ViewCamera(view);
  bool drawing = false;
  for (int k = 0; k <= kOutlineSegments; ++k) {
    const double angle = 2 * std::numbers::pi * k / kOutlineSegments;
    // Straight down onto the terrain from above it (scene Y is minus world Y).
    const TRay down{{x + radius * std::cos(angle), -(y + radius * std::sin(angle)), bounds.Max.Z + 1}, {0, 0, -1}};
    const TRayHit hit = scene.Cast(down);
    TScreenPosition at;
    if (hit.Polygon < 0 || !camera.Project(down.Origin + down.Direction * hit.T, at)) {
      drawing = false;
      continue;
    }
    if (drawing) {
      path.lineTo(at.X, at.Y);
    } else {
      path.moveTo(at.X, at.Y);
    }
    drawing = true;
  }
  return path;
}

bool ModifierKey(int key) {
  return key == Qt::Key_Control || key == Qt::Key_Shift || key == Qt::Key_Alt || key == Qt::Key_Meta ||
         key == Qt::Key_AltGr;
}

}  // namespace

TSculptTool::TSculptTool(TEditor& editor, QWidget* viewport, QAction* mode, std::function<TView3DWidget*()> view3d)
    : QObject(viewport),
      editor_(editor),
      viewport_(viewport),
      mode_(mode),
      view3d_(std::move(view3d)),
      circle_(new TBrushCircle(viewport, [this](QPointF at) {
        const double radius = brush_.Radius * editor_.View.Zoom;
        QPainterPath circle;
        circle.addEllipse(at, radius, radius);
        return circle;
      })) {
  mode_->setCheckable(true);
  // Escape leaves the mode wherever the main window has the focus; only while the mode is on.
  escape_ = new QShortcut(QKeySequence(Qt::Key_Escape), viewport_->window());
  escape_->setEnabled(false);
  connect(escape_, &QShortcut::activated, this,
          [this] { RunCommand(viewport_->window(), [this] { SetActive(false); }); });
  // On the application, as the viewport input watches, and after it: so this filter comes first.
  qApp->installEventFilter(this);
  viewport_->setMouseTracking(true);
}

TSculptTool::~TSculptTool() = default;

void TSculptTool::SetBrush(const TSculptBrush& brush) {
  brush_ = brush;
  brush_.Radius = std::clamp(brush.Radius, kMinBrushRadius, kMaxBrushRadius);
  brush_.Strength = std::clamp(brush.Strength, 0.f, kMaxBrushStrength);
  ShowCircles();
}

bool TSculptTool::Active() const {
  return mode_->isChecked();
}

void TSculptTool::SetActive(bool active) {
  if (!active) {
    Finish();
    strokeSurface_ = nullptr;
  }
  mode_->setChecked(active);
  escape_->setEnabled(active);
  circle_->setVisible(active);
  circle_->setGeometry(viewport_->rect());
  viewport_->setCursor(active ? Qt::CrossCursor : Qt::ArrowCursor);
  if (TView3DWidget* view = view3d_ ? view3d_() : nullptr) {
    if (active) {
      Attach3D(view);
    } else {
      view->unsetCursor();
      if (circle3D_) circle3D_->hide();
    }
  }
}

void TSculptTool::Attach3D(TView3DWidget* view) {
  if (!circle3D_ || circle3D_->parentWidget() != view) {
    delete circle3D_;
    circle3D_ = new TBrushCircle(view, [this, view](QPointF at) {
      float x = 0, y = 0;
      return WorldPointAt(view, at, x, y) ? DrapedCircle(*view, x, y, brush_.Radius) : QPainterPath();
    });
  }
  view->setMouseTracking(true);
  view->setCursor(Qt::CrossCursor);
  circle3D_->setGeometry(view->rect());
  circle3D_->show();
}

void TSculptTool::ShowCircles() {
  circle_->update();
  if (circle3D_) circle3D_->update();
}

bool TSculptTool::WorldPointAt(QWidget* surface, QPointF position, float& x, float& y) const {
  if (surface == viewport_) {
    const TWorldPoint at = ScreenToWorld(editor_, qRound(position.x()), qRound(position.y()));
    x = at.X, y = at.Y;
    return true;
  }
  const auto* view = static_cast<const TView3DWidget*>(surface);
  const TRay ray = ViewCamera(*view).RayThrough(position.x(), position.y());
  const TRayHit hit = view->Scene().Cast(ray);
  if (hit.Polygon < 0) return false;
  const TVec3 point = ray.Origin + ray.Direction * hit.T;
  x = static_cast<float>(point.X);
  y = static_cast<float>(-point.Y);
  return true;
}

void TSculptTool::Dab(QWidget* surface, const QMouseEvent& mouse) {
  // The dab is an action of the stroke's transaction: the windows follow it through the host.
  float x = 0, y = 0;
  if (!WorldPointAt(surface, mouse.position(), x, y)) return;
  stroke_->SetInverted(mouse.modifiers().testFlag(Qt::ControlModifier));
  stroke_->MoveTo(x, y);
}

void TSculptTool::Finish() {
  if (!stroke_) return;
  const std::unique_ptr<TSculptStroke> stroke = std::move(stroke_);
  stroke->End();
}

bool TSculptTool::BrushKey(QObject* watched, const QKeyEvent& key) {
  // Only a key no widget took reaches the window: the main window, or a floating dock of it.
  auto* window = qobject_cast<QWidget*>(watched);
  if (window == nullptr || !window->isWindow() ||
      (window != viewport_->window() && (qobject_cast<QDockWidget*>(window) == nullptr ||
                                         window->parentWidget() != viewport_->window()))) {
    return false;
  }
  // Ctrl or Alt alone makes another key; both together are AltGr on some systems, which types the
  // brackets on many keyboards.
  const Qt::KeyboardModifiers modifiers = key.modifiers();
  if (modifiers.testFlag(Qt::ControlModifier) != modifiers.testFlag(Qt::AltModifier) ||
      modifiers.testFlag(Qt::MetaModifier)) {
    return false;
  }
  // Shift with a bracket is a brace on many keyboards.
  const int k = key.key();
  const bool larger = k == Qt::Key_BracketRight || k == Qt::Key_BraceRight;
  if (!larger && k != Qt::Key_BracketLeft && k != Qt::Key_BraceLeft) return false;
  const bool strength = modifiers.testFlag(Qt::ShiftModifier) || k == Qt::Key_BraceLeft || k == Qt::Key_BraceRight;
  TSculptBrush brush = brush_;
  if (strength) {
    brush.Strength = StepStrength(brush.Strength, larger);
  } else {
    brush.Radius = StepRadius(brush.Radius, larger);
  }
  SetBrush(brush);
  if (BrushKeyed) BrushKeyed(brush_);
  return true;
}

bool TSculptTool::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::ShortcutOverride || type == QEvent::KeyPress) {
    const auto& key = *static_cast<QKeyEvent*>(event);
    // Ctrl (or Shift) held in the middle of a stroke changes how it goes on, not where it ends.
    if (ModifierKey(key.key())) return false;
    // A key in the middle of a stroke ends it first, so the command the key runs (an undo, a
    // removal) is a step of its own after the stroke; Escape takes the stroke back.
    if (stroke_) {
      RunCommand(viewport_->window(), [&] {
        const std::unique_ptr<TSculptStroke> stroke = std::move(stroke_);
        if (key.key() == Qt::Key_Escape) {
          stroke->Cancel();
        } else {
          stroke->End();
        }
      });
    }
    return type == QEvent::KeyPress && BrushKey(watched, key);
  }
  if (!Active()) return false;
  if (watched == viewport_) return Mouse(viewport_, event);
  TView3DWidget* view = view3d_ ? view3d_() : nullptr;
  if (view == nullptr || watched != view) return false;
  const bool attached = circle3D_ != nullptr && circle3D_->parentWidget() == view;
  switch (type) {
    case QEvent::Enter:
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
      // A view made after the mode came on gets its circle when the pointer first comes.
      if (!attached) Attach3D(view);
      return Mouse(view, event);
    case QEvent::Resize:
    case QEvent::Leave:
      return attached && Mouse(view, event);
    default:
      return false;
  }
}

bool TSculptTool::Mouse(QWidget* surface, QEvent* event) {
  const bool topView = surface == viewport_;
  auto* circle = static_cast<TBrushCircle*>(topView ? circle_ : circle3D_.data());
  switch (event->type()) {
    case QEvent::Resize:
      circle->setGeometry(surface->rect());
      return false;
    case QEvent::Leave:
      if (!topView) {
        circle->Pointer = {-1, -1};
        circle->update();
      }
      return false;
    case QEvent::MouseButtonPress: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() != Qt::LeftButton || strokeSurface_ != nullptr) return false;
      float x = 0, y = 0;
      // In 3-D a press with Shift pans and one beside the terrain orbits, as without the mode.
      if (!topView && (mouse->modifiers().testFlag(Qt::ShiftModifier) || !WorldPointAt(surface, mouse->position(), x, y)))
        return false;
      strokeSurface_ = surface;
      RunCommand(surface->window(), [&] {
        stroke_ = std::make_unique<TSculptStroke>(editor_, brush_);
        Dab(surface, *mouse);
      });
      return true;
    }
    case QEvent::MouseMove: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      circle->Pointer = mouse->position();
      circle->update();
      if (strokeSurface_ != surface) return strokeSurface_ != nullptr;
      // A stroke a key ended early leaves the rest of the press to nobody.
      if (stroke_) RunCommand(surface->window(), [&] { Dab(surface, *mouse); });
      return true;
    }
    case QEvent::MouseButtonRelease: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() != Qt::LeftButton || strokeSurface_ != surface) return false;
      strokeSurface_ = nullptr;
      RunCommand(surface->window(), [&] { Finish(); });
      return true;
    }
    case QEvent::MouseButtonDblClick: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() != Qt::LeftButton) return false;
      float x = 0, y = 0;
      return topView ||
             (!mouse->modifiers().testFlag(Qt::ShiftModifier) && WorldPointAt(surface, mouse->position(), x, y));
    }
    default:
      return false;
  }
}

}  // namespace terravel
