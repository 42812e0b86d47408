#pragma once
// The options of a heightmap import: the world size of a pixel, the Z of black and of white, the
// step, the triangle budget and the error bound, the seamless border, and whether to start from an
// empty project. Kept by the chooser for the whole run, so the values typed last are offered again.
#include <QDialog>

#include "model/heightmap/HeightmapErrors.h"
#include "model/heightmap/HeightmapImport.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace terravel {

class THeightmapOptionsForm : public QDialog {
  Q_OBJECT
 public:
  explicit THeightmapOptionsForm(QWidget* parent);

  // What the window shows on opening and, once closed with OK, what was typed. LowZ and HighZ
  // are always set on OK.
  THeightmapOptions Options;
  bool ImportIntoEmpty = true;

  // Shows the window modally for a picture of that size, with the project's MinZ and MaxZ as the
  // Z of black and white (0 and 4096 when the two are equal, which the window then says); true
  // when closed with OK.
  bool Execute(int width, int height, float minZ, float maxZ);

  QLineEdit* CellEdit() const { return cellEdit_; }
  QLineEdit* LowEdit() const { return lowEdit_; }
  QLineEdit* HighEdit() const { return highEdit_; }
  QCheckBox* BudgetCheck() const { return budgetCheck_; }
  QSpinBox* BudgetSpin() const { return budgetSpin_; }
  QCheckBox* ErrorCheck() const { return errorCheck_; }
  QLineEdit* ErrorEdit() const { return errorEdit_; }
  QCheckBox* SeamlessCheck() const { return seamlessCheck_; }
  QLabel* ZNote() const { return zNote_; }
  QCheckBox* EmptyCheck() const { return emptyCheck_; }
  QPushButton* OkButton() const { return okButton_; }

 private:
  // Reads the fields; on a bad number or a setting the picture cannot take, tells the user (naming
  // the field), puts the focus into that field and returns false.
  bool TakeFields();
  void Refuse(QWidget* field, const QString& text);
  QWidget* FieldOf(THeightmapField field) const;

  int width_ = 0;
  int height_ = 0;
  QLabel* sizeLabel_ = nullptr;
  QLineEdit* cellEdit_ = nullptr;
  QLineEdit* lowEdit_ = nullptr;
  QLineEdit* highEdit_ = nullptr;
  QSpinBox* stepSpin_ = nullptr;
  QCheckBox* budgetCheck_ = nullptr;
  QSpinBox* budgetSpin_ = nullptr;
  QCheckBox* errorCheck_ = nullptr;
  QLineEdit* errorEdit_ = nullptr;
  QCheckBox* seamlessCheck_ = nullptr;
  QLabel* zNote_ = nullptr;
  QCheckBox* emptyCheck_ = nullptr;
  QPushButton* okButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
};

}  // namespace terravel
