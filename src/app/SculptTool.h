#pragma once
// The sculpt mode of the top view. While it is on, a left-button stroke over the viewport shapes
// the heights with the brush (live, as a node drag moves nodes) and its release records the
// stroke as one step in the history; the brush's radius is drawn as a circle at the pointer.
// Escape leaves the mode. The right button pans and opens the popup as always.
#include <QObject>
#include <QPoint>

#include <memory>

#include "model/shaping/SculptBrush.h"

class QAction;
class QShortcut;
class QWidget;

namespace terravel {

class TEditor;

class TSculptTool : public QObject {
 public:
  // The action is the mode's checkable menu item; the tool follows and sets its check mark.
  TSculptTool(TEditor& editor, QWidget* viewport, QAction* mode);
  ~TSculptTool() override;

  TSculptBrush Brush;

  bool Active() const;
  void SetActive(bool active);
  // Asks for the brush's mode, radius, strength and falloff.
  void EditBrush(QWidget* window);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Dab(QPoint position);
  void Finish();

  TEditor& editor_;
  QWidget* viewport_;
  QAction* mode_;
  QWidget* circle_;
  QShortcut* escape_ = nullptr;
  std::unique_ptr<TSculptStroke> stroke_;
  bool held_ = false;  // the left button went down in the mode and is not up yet
};

}  // namespace terravel
