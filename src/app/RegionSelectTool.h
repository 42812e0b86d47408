#pragma once
// The region selection mode of the top view and the 3-D view. While it is on, a left-button drag
// draws a rectangle (a lasso with Shift held at the press) and its release selects the nodes and
// polygons inside as one "Select Region" step; Ctrl adds them to the selection. In 3-D a node is
// inside when the camera shows it inside, whatever lies in front of it. Escape leaves the mode.
// The right button pans (flies in 3-D) and opens the popup as always, the middle button pans the
// 3-D view.
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QPolygon>

#include <functional>

class QAction;
class QShortcut;
class QWidget;

namespace terravel {

class TEditor;
class TView3DWidget;

class TRegionSelectTool : public QObject {
 public:
  // The action is the mode's checkable menu item; afterSelect runs after each selection step.
  // view3d gives the 3-D view, or null before it is made and without OpenGL.
  TRegionSelectTool(TEditor& editor, QWidget* viewport, QAction* mode, std::function<void()> afterSelect,
                    std::function<TView3DWidget*()> view3d = {});

  bool Active() const;
  void SetActive(bool active);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Mouse(QWidget* surface, QEvent* event);
  void Finish(Qt::KeyboardModifiers modifiers);
  // The outline layer over the surface (the 3-D view's is made when first needed).
  QWidget* OutlineOver(QWidget* surface);

  TEditor& editor_;
  QWidget* viewport_;
  QAction* mode_;
  std::function<void()> afterSelect_;
  std::function<TView3DWidget*()> view3d_;
  QWidget* outline_;
  QPointer<QWidget> outline3D_;
  QShortcut* escape_ = nullptr;
  QWidget* surface_ = nullptr;  // where the region is being drawn, or null
  bool lasso_ = false;
  QPolygon points_;  // the rectangle's two corners, or the lasso's points
};

}  // namespace terravel
