#pragma once
// The options of a mesh export for other programs (Wavefront OBJ, glTF): Z up (Terravel's own
// axes) instead of Y up, and for glTF a scale on top of the metres. Kept by the chooser for the
// whole run, so the values chosen last are offered again.
#include <QDialog>

class QCheckBox;
class QDoubleSpinBox;
class QLabel;

namespace terravel {

class TAxesExportForm : public QDialog {
 public:
  explicit TAxesExportForm(QWidget* parent);

  bool ZUp = false;
  double Scale = 1;

  // Shows the window modally, the scale row only when asked for. True when closed with OK.
  bool Execute(bool withScale);

  QCheckBox* ZUpCheck() const { return zUp_; }
  QDoubleSpinBox* ScaleSpin() const { return scale_; }

 private:
  QCheckBox* zUp_ = nullptr;
  QLabel* scaleLabel_ = nullptr;
  QDoubleSpinBox* scale_ = nullptr;
};

}  // namespace terravel
