#pragma once
// The "Sculpt brush" panel: the brush's mode, radius, strength and falloff, at hand beside the
// views while sculpting. It is a dock (floating at first) that shows when the sculpt mode comes on
// and can be closed; every change takes effect at once, for the next stroke. The [ and ] keys
// change the same values (TSculptTool); the panel shows what they set.
#include <QDockWidget>

#include "model/shaping/SculptBrush.h"

class QComboBox;
class QDoubleSpinBox;

namespace terravel {

class TBrushPanel : public QDockWidget {
  Q_OBJECT
 public:
  explicit TBrushPanel(QWidget* parent);

  // Shows the values without sending them back.
  void ShowBrush(const TSculptBrush& brush);
  TSculptBrush Brush() const;

 signals:
  // The user changed a value in the panel.
  void BrushEdited(const TSculptBrush& brush);
  void VisibilityChanged(bool visible);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Edited();

  QComboBox* mode_;
  QDoubleSpinBox* radius_;
  QDoubleSpinBox* strength_;
  QComboBox* falloff_;
  bool showing_ = false;  // ShowBrush is filling the fields
  bool placed_ = false;
};

}  // namespace terravel
