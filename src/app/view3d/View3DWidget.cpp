#include "app/view3d/View3DWidget.h"

#include <QAction>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QWheelEvent>

#include <cmath>

#include "app/CommandGuard.h"
#include "app/Settings.h"
#include "model/history/ChangeSet.h"
#include "model/editor/Editor.h"
#include "model/interaction/ClickSelection.h"

namespace terravel {

namespace {

constexpr double kDegreesPerPixel = 0.4;
constexpr double kClickSlop = 4;  // pixels a click may move and stay a click
constexpr int kWheelNotch = 120;

QSurfaceFormat ViewFormat(bool multisample) {
  QSurfaceFormat format;
  format.setVersion(3, 3);
  format.setProfile(QSurfaceFormat::CoreProfile);
  format.setDepthBufferSize(24);
  format.setSamples(multisample ? 4 : 0);
  return format;
}

}  // namespace

TView3DWidget::TView3DWidget(TEditor& editor, TView3DControls controls, QWidget* parent, bool multisample)
    : QOpenGLWidget(parent), editor_(editor), controls_(std::move(controls)) {
  setObjectName(QStringLiteral("View3DWidget"));
  setFormat(ViewFormat(multisample));
  setFocusPolicy(Qt::ClickFocus);
  setMinimumSize(160, 120);
  style_.ShowNodes = true;
  flyTimer_.setInterval(16);
  connect(&flyTimer_, &QTimer::timeout, this, &TView3DWidget::FlyStep);
  Sync();
}

TView3DWidget::~TView3DWidget() { Cleanup(); }

void TView3DWidget::Cleanup() {
  if (!ready_ || context() == nullptr) return;
  makeCurrent();
  renderer_.Release();
  doneCurrent();
  ready_ = false;
}

void TView3DWidget::Sync(const TChangeSet* changeSet) {
  // Hidden, the view only remembers that it is behind; showing it catches up.
  if (suspended_ > 0 || !isVisible() || stale_) {
    stale_ = true;
    if (suspended_ > 0 || !isVisible()) return;
    changeSet = nullptr;  // behind: everything is compared
  }
  stale_ = false;
  const std::string noteBefore = scene_.Note();
  const TMeshUpdate changes = changeSet != nullptr ? scene_.Apply(editor_, *changeSet) : scene_.Sync(editor_);
  if (scene_.Note() != noteBefore) emit NoteChanged(QString::fromLocal8Bit(scene_.Note()));
  // A new document (New, Open, an import into a new project: nothing to undo or redo) is framed
  // anew; the first one keeps the camera the settings gave.
  if (synced_ && changes.Rebuilt && editor_.History.UndoCount() == 0 && editor_.History.RedoCount() == 0)
    framed_ = false;
  synced_ = true;
  if (changes.Rebuilt) {
    pending_.Rebuilt = true;
    pendingVertices_.clear();
  } else if (!pending_.Rebuilt) {
    for (const TVertexRun& run : changes.Vertices)
      for (int v = run.First; v < run.First + run.Count; ++v) pendingVertices_.insert(v);
  }
  pending_.Triangles = pending_.Triangles || changes.Triangles;
  pending_.Selection = pending_.Selection || changes.Selection;
  camera_.SetSceneBounds(scene_.Mesh().Bounds());
  if (!framed_ && !scene_.Mesh().Vertices().empty()) {
    framed_ = true;
    camera_.Frame(scene_.Mesh().AllPoints());
  }
  update();
}

void TView3DWidget::Changed(const TChangeSet& changes) {
  if (changes.Mesh()) {
    Sync(&changes);
  } else if (changes.Values && isVisible()) {
    update();  // the colours follow the heights range
  }
}

void TView3DWidget::showEvent(QShowEvent* event) {
  QOpenGLWidget::showEvent(event);
  if (stale_) Sync();
}

void TView3DWidget::SuspendRedraw() { ++suspended_; }

void TView3DWidget::ResumeRedraw() {
  if (suspended_ > 0) --suspended_;
  if (suspended_ == 0 && stale_) Sync();
}

void TView3DWidget::initializeGL() {
  connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &TView3DWidget::Cleanup, Qt::DirectConnection);
  std::string error;
  QOpenGLContext* gl = context();
  ready_ = renderer_.Initialise([gl](const char* name) { return reinterpret_cast<void*>(gl->getProcAddress(name)); },
                                error);
  if (!ready_) {
    emit Failed(QString::fromStdString(error));
    return;
  }
  pending_.Rebuilt = true;
}

void TView3DWidget::resizeGL(int, int) { camera_.SetViewport(width(), height()); }

void TView3DWidget::paintGL() {
  if (!ready_) return;
  if (pending_.Rebuilt || !pendingVertices_.empty() || pending_.Triangles || pending_.Selection) {
    TMeshUpdate update;
    update.Rebuilt = pending_.Rebuilt;
    update.Triangles = pending_.Triangles;
    update.Selection = pending_.Selection;
    for (int v : pendingVertices_) {
      if (!update.Vertices.empty() && update.Vertices.back().First + update.Vertices.back().Count == v)
        ++update.Vertices.back().Count;
      else
        update.Vertices.push_back({v, 1});
    }
    renderer_.Upload(scene_.Mesh(), update);
    pending_ = TMeshUpdate();
    pendingVertices_.clear();
  }
  const TScene3DStyle values = StyleFor(editor_.Values);
  style_.MinZ = values.MinZ;
  style_.MaxZ = values.MaxZ;
  style_.Selection = values.Selection;
  camera_.SetViewport(width(), height());
  const qreal ratio = devicePixelRatioF();
  renderer_.Draw(camera_, style_, qRound(width() * ratio), qRound(height() * ratio));
}

void TView3DWidget::FrameAll() {
  camera_.Frame(scene_.Mesh().AllPoints());
  update();
}

void TView3DWidget::FrameSelection() {
  const std::vector<TVec3> points = scene_.Mesh().SelectionPoints();
  camera_.Frame(points.empty() ? scene_.Mesh().AllPoints() : points);
  update();
}

void TView3DWidget::SetShowNodes(bool on) {
  style_.ShowNodes = on;
  update();
}

void TView3DWidget::SetWireframe(bool on) {
  style_.Wireframe = on;
  update();
}

void TView3DWidget::SetExaggeration(double factor) {
  const double before = scene_.Mesh().Exaggeration();
  scene_.SetExaggeration(static_cast<float>(factor));
  // The focus keeps its height above the terrain in proportion.
  camera_.Focus.Z = camera_.Focus.Z * scene_.Mesh().Exaggeration() / before;
  Sync();
}

void TView3DWidget::LoadCamera(const TView3DSettings& s) {
  scene_.SetExaggeration(static_cast<float>(s.Exaggeration));
  style_.Wireframe = s.Wireframe;
  if (s.HasCamera) {
    camera_.Azimuth = s.Azimuth;
    camera_.Elevation = std::clamp(s.Elevation, -90.0, 90.0);
    camera_.Distance = s.Distance > 0 ? s.Distance : 1000;
    camera_.Focus = {s.FocusX, s.FocusY, s.FocusZ};
    framed_ = true;
  }
  Sync();
}

void TView3DWidget::StoreCamera(TView3DSettings& s) const {
  s.HasCamera = framed_;
  s.Azimuth = camera_.Azimuth;
  s.Elevation = camera_.Elevation;
  s.Distance = camera_.Distance;
  s.FocusX = camera_.Focus.X;
  s.FocusY = camera_.Focus.Y;
  s.FocusZ = camera_.Focus.Z;
  s.Exaggeration = scene_.Mesh().Exaggeration();
  s.Wireframe = style_.Wireframe;
}

TPickHit TView3DWidget::PickAt(QPointF position) const {
  TCamera3D camera = camera_;
  camera.SetViewport(width(), height());
  // A node is picked only where its dot shows, within 3 pixels of it.
  const bool dots = NodeDotsShown(camera, style_, scene_.Mesh().Bounds(), int(scene_.Mesh().Vertices().size()));
  return scene_.PickAt(camera, position.x(), position.y(), dots ? 3 : 0);
}

TVec3 TView3DWidget::PointUnder(QPointF position) const {
  const TRay ray = camera_.RayThrough(position.x(), position.y());
  const TRayHit hit = scene_.Cast(ray);
  if (hit.Polygon >= 0) return ray.Origin + ray.Direction * hit.T;
  // Over nothing: the point at the focus's distance.
  return ray.Origin + ray.Direction * camera_.Distance;
}

void TView3DWidget::Click(QPointF position, bool rightButton, Qt::KeyboardModifiers modifiers) {
  const TPickHit hit = PickAt(position);
  SelectByClick(editor_, hit, rightButton, modifiers.testFlag(Qt::ControlModifier));
  if (controls_.AfterClick) controls_.AfterClick();
}

void TView3DWidget::mousePressEvent(QMouseEvent* event) {
  if (dragButton_ != Qt::NoButton) return;
  dragButton_ = event->button();
  shiftDrag_ = event->modifiers().testFlag(Qt::ShiftModifier);
  pressAt_ = lastAt_ = event->position();
  moved_ = false;
  if (dragButton_ == Qt::RightButton) {
    flyClock_.start();
    flyTimer_.start();
  }
}

void TView3DWidget::mouseMoveEvent(QMouseEvent* event) {
  if (dragButton_ == Qt::NoButton) return;
  const QPointF delta = event->position() - lastAt_;
  lastAt_ = event->position();
  if (!moved_ && QLineF(pressAt_, lastAt_).length() < kClickSlop) return;
  moved_ = true;
  if (dragButton_ == Qt::MiddleButton || (dragButton_ == Qt::LeftButton && shiftDrag_)) {
    camera_.Pan(delta.x(), delta.y());
  } else if (dragButton_ == Qt::LeftButton) {
    camera_.Orbit(-delta.x() * kDegreesPerPixel, delta.y() * kDegreesPerPixel);
  } else if (dragButton_ == Qt::RightButton) {
    camera_.Look(-delta.x() * kDegreesPerPixel * 0.5, -delta.y() * kDegreesPerPixel * 0.5);
  }
  update();
}

void TView3DWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != dragButton_) return;
  const Qt::MouseButton button = dragButton_;
  dragButton_ = Qt::NoButton;
  flyTimer_.stop();
  if (moved_) return;
  if (button == Qt::LeftButton || button == Qt::RightButton) {
    RunCommand(window(), [&] { Click(event->position(), button == Qt::RightButton, event->modifiers()); });
  }
  // A right click opens the same popup as in the top view.
  if (button == Qt::RightButton && controls_.Popup) controls_.Popup(event->globalPosition().toPoint());
}

void TView3DWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  // The first click of the double click has already selected or cleared.
  if (event->button() == Qt::LeftButton && AnythingSelected(editor_) && controls_.ShowProperties) {
    controls_.ShowProperties->trigger();
    return;
  }
  mousePressEvent(event);
}

void TView3DWidget::wheelEvent(QWheelEvent* event) {
  const double notches = event->angleDelta().y() / static_cast<double>(kWheelNotch);
  if (notches != 0) {
    camera_.ZoomTowards(PointUnder(event->position()), std::pow(0.85, notches));
    update();
  }
  event->accept();
}

void TView3DWidget::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_W:
    case Qt::Key_A:
    case Qt::Key_S:
    case Qt::Key_D:
    case Qt::Key_Q:
    case Qt::Key_E:
      if (dragButton_ == Qt::RightButton) {
        if (!event->isAutoRepeat()) flyKeys_.insert(event->key());
        event->accept();
        return;
      }
      break;
    case Qt::Key_Home:
      FrameAll();
      event->accept();
      return;
    case Qt::Key_Period:
      FrameSelection();
      event->accept();
      return;
    default:
      break;
  }
  QOpenGLWidget::keyPressEvent(event);
}

void TView3DWidget::keyReleaseEvent(QKeyEvent* event) {
  if (!event->isAutoRepeat()) flyKeys_.erase(event->key());
  QOpenGLWidget::keyReleaseEvent(event);
}

void TView3DWidget::focusOutEvent(QFocusEvent* event) {
  flyKeys_.clear();
  QOpenGLWidget::focusOutEvent(event);
}

void TView3DWidget::FlyStep() {
  const double seconds = flyClock_.restart() / 1000.0;
  if (flyKeys_.empty()) return;
  // A flight is no click: its release selects nothing.
  moved_ = true;
  // Half the terrain's size per second.
  const TBox3 bounds = scene_.Mesh().Bounds();
  const double size = bounds.Empty() ? 100 : std::max(Length(bounds.Max - bounds.Min), 1.0);
  const double step = size * 0.5 * seconds;
  const auto held = [&](int key) { return flyKeys_.count(key) > 0 ? 1.0 : 0.0; };
  camera_.Fly((held(Qt::Key_W) - held(Qt::Key_S)) * step, (held(Qt::Key_D) - held(Qt::Key_A)) * step,
              (held(Qt::Key_E) - held(Qt::Key_Q)) * step);
  update();
}

}  // namespace terravel
