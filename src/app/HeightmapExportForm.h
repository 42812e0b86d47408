#pragma once
// The options of a heightmap export: the world size of a pixel or the picture's width and height,
// and which Z range becomes black to white. Kept by the chooser for the whole run, so the values
// chosen last are offered again.
#include <QDialog>

#include "model/heightmap/HeightmapExport.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace terravel {

class THeightmapExportForm : public QDialog {
  Q_OBJECT
 public:
  explicit THeightmapExportForm(QWidget* parent);

  // What the window shows on opening and, once closed with OK, what was chosen: a pixel size, or
  // (Width and Height above 0) a size in pixels.
  THeightmapExportOptions Options;

  // Shows the window modally; the pixel size starts at the given one until the user chose
  // another, and the width and height at the terrain's size in pixels of that size until the
  // user chose a size. True when closed with OK.
  bool Execute(float defaultPixelSize, int terrainWidth = 513, int terrainHeight = 513);

  QLineEdit* PixelEdit() const { return pixelEdit_; }
  QComboBox* RangeCombo() const { return rangeCombo_; }
  QPushButton* OkButton() const { return okButton_; }

 private:
  // Reads the fields; on a bad pixel size tells the user, puts the focus there and returns false.
  bool TakeFields();

  QLineEdit* pixelEdit_ = nullptr;
  QCheckBox* sizeCheck_ = nullptr;
  QSpinBox* widthSpin_ = nullptr;
  QSpinBox* heightSpin_ = nullptr;
  QComboBox* rangeCombo_ = nullptr;
  QPushButton* okButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
};

}  // namespace terravel
