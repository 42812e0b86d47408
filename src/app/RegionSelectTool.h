#pragma once
// The region selection mode of the top view. While it is on, a left-button drag draws a rectangle
// (a lasso with Shift held at the press) and its release selects the nodes and polygons inside as
// one "Select Region" step; Ctrl adds them to the selection. Escape leaves the mode. The right
// button pans and opens the popup as always.
#include <QObject>
#include <QPoint>
#include <QPolygon>

#include <functional>

class QAction;
class QShortcut;
class QWidget;

namespace terravel {

class TEditor;

class TRegionSelectTool : public QObject {
 public:
  // The action is the mode's checkable menu item; afterSelect runs after each selection step.
  TRegionSelectTool(TEditor& editor, QWidget* viewport, QAction* mode, std::function<void()> afterSelect);

  bool Active() const;
  void SetActive(bool active);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Finish(Qt::KeyboardModifiers modifiers);

  TEditor& editor_;
  QWidget* viewport_;
  QAction* mode_;
  std::function<void()> afterSelect_;
  QWidget* outline_;
  QShortcut* escape_ = nullptr;
  bool drawing_ = false;
  bool lasso_ = false;
  QPolygon points_;  // the rectangle's two corners, or the lasso's points
};

}  // namespace terravel
