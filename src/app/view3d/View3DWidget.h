#pragma once
// The 3-D view's drawing surface. It follows the document like the top view: each notification
// brings the mesh up to date at once (only what changed) and asks for one paint, which uploads
// the changes and draws. The mouse moves the camera and clicks select through the model's click
// rules; the right button held with W/A/S/D/Q/E flies.
#include <QElapsedTimer>
#include <QOpenGLWidget>
#include <QTimer>

#include <functional>
#include <set>

#include "app/DocumentHost.h"
#include "model/scene3d/Scene3D.h"
#include "render/Scene3DRenderer.h"

class QAction;

namespace terravel {

class TEditor;
struct TView3DSettings;

// What the view uses of the rest of the editor.
struct TView3DControls {
  QAction* ShowProperties = nullptr;   // a double click with a selection
  std::function<void()> AfterClick;    // the properties window follows the selection
  std::function<void(QPoint)> Popup;   // the top view's popup for the selection, at the screen point
};

class TView3DWidget : public QOpenGLWidget, public TDocumentView {
  Q_OBJECT
 public:
  // Multisampling smooths the edges; a renderer on the processor goes without it.
  TView3DWidget(TEditor& editor, TView3DControls controls, QWidget* parent = nullptr, bool multisample = true);
  ~TView3DWidget() override;

  // A change set rewrites what it names (the whole document when it says Everything).
  void Changed(const TChangeSet& changes) override;
  void SuspendRedraw() override;
  void ResumeRedraw() override;

  void FrameAll();
  void FrameSelection();
  void SetWireframe(bool on);
  void SetShowNodes(bool on);
  void SetExaggeration(double factor);
  double Exaggeration() const { return scene_.Mesh().Exaggeration(); }

  void LoadCamera(const TView3DSettings& settings);
  void StoreCamera(TView3DSettings& settings) const;

  const TCamera3D& Camera() const { return camera_; }
  const TScene3D& Scene() const { return scene_; }
  // What a click at the point would pick (the window test compares it with the top view).
  TPickHit PickAt(QPointF position) const;

 signals:
  // OpenGL did not start; the sentence says why.
  void Failed(const QString& why);
  // What the view leaves out (a node at no finite place), or empty.
  void NoteChanged(const QString& note);

 protected:
  void initializeGL() override;
  void resizeGL(int width, int height) override;
  void paintGL() override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  // Without a change set: compares the whole document with the buffers.
  void Sync(const TChangeSet* changes = nullptr);
  void Click(QPointF position, bool rightButton, Qt::KeyboardModifiers modifiers);
  void FlyStep();
  void Cleanup();
  TVec3 PointUnder(QPointF position) const;

  TEditor& editor_;
  TView3DControls controls_;
  TScene3D scene_;
  TCamera3D camera_;
  TScene3DRenderer renderer_;
  TScene3DStyle style_;
  bool ready_ = false;
  bool framed_ = false;
  bool synced_ = false;
  int suspended_ = 0;
  bool stale_ = true;
  // Changes taken from the document and not yet on the card.
  TMeshUpdate pending_;
  std::set<int> pendingVertices_;

  Qt::MouseButton dragButton_ = Qt::NoButton;
  bool shiftDrag_ = false;
  QPointF pressAt_;
  QPointF lastAt_;
  bool moved_ = false;
  std::set<int> flyKeys_;
  QTimer flyTimer_;
  QElapsedTimer flyClock_;
};

}  // namespace terravel
