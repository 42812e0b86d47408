#pragma once
// The sculpt mode of the top view and the 3-D view. While it is on, a left-button stroke shapes
// the heights with the brush (live, as a node drag moves nodes) and its release records the
// stroke as one step in the history; the brush's radius is drawn at the pointer, as a circle in
// the top view and draped over the terrain in the 3-D view, where the dabs go where the pointer's
// ray meets the terrain (a press beside the terrain, or with Shift, moves the camera as always).
// Ctrl held inverts a raising or lowering brush. [ and ] make the radius smaller and larger, with
// Shift the strength, wherever the main window has the keyboard. Escape leaves the mode. The right
// button pans and opens the popup as always.
#include <QObject>
#include <QPointF>
#include <QPointer>

#include <functional>
#include <memory>

#include "model/shaping/SculptBrush.h"

class QAction;
class QKeyEvent;
class QMouseEvent;
class QShortcut;
class QWidget;

namespace terravel {

class TEditor;
class TView3DWidget;

class TSculptTool : public QObject {
 public:
  // The action is the mode's checkable menu item; the tool follows and sets its check mark.
  // view3d gives the 3-D view, or null before it is made and without OpenGL.
  TSculptTool(TEditor& editor, QWidget* viewport, QAction* mode, std::function<TView3DWidget*()> view3d);
  ~TSculptTool() override;

  const TSculptBrush& Brush() const { return brush_; }
  // Takes the brush for the next stroke, its radius and strength held within the panel's ranges.
  void SetBrush(const TSculptBrush& brush);
  // Told after the keys changed the brush.
  std::function<void(const TSculptBrush&)> BrushKeyed;

  bool Active() const;
  void SetActive(bool active);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Mouse(QWidget* surface, QEvent* event);
  // [ and ] with or without Shift, once no widget took them; true when handled.
  bool BrushKey(QObject* watched, const QKeyEvent& key);
  // The world point under the pointer: false off the terrain in the 3-D view.
  bool WorldPointAt(QWidget* surface, QPointF position, float& x, float& y) const;
  void Dab(QWidget* surface, const QMouseEvent& mouse);
  void Finish();
  // The 3-D view's circle layer, made when the view is first met in the mode.
  void Attach3D(TView3DWidget* view);
  void ShowCircles();

  TEditor& editor_;
  QWidget* viewport_;
  QAction* mode_;
  std::function<TView3DWidget*()> view3d_;
  TSculptBrush brush_;
  QWidget* circle_;
  QPointer<QWidget> circle3D_;
  QShortcut* escape_ = nullptr;
  std::unique_ptr<TSculptStroke> stroke_;
  QWidget* strokeSurface_ = nullptr;  // where the left button went down in the mode, until it is up
};

}  // namespace terravel
