#pragma once
// The options of the Unreal map export: how the ground becomes closed brushes. Created once and
// kept, so that "Export again" repeats the export with the options last confirmed.
#include <QDialog>

#include "model/formats/MapExportOptions.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace terravel {

class TMapExportForm : public QDialog {
  Q_OBJECT
 public:
  explicit TMapExportForm(QWidget* parent);

  // Set by OK; what the window shows on opening.
  TMapExportOptions Options;

  // Shows the window modally; true when closed with OK and every field holds a fitting value.
  bool Execute();

  QComboBox* CsgBox() const { return csgBox_; }
  QLineEdit* CapEdit() const { return capEdit_; }
  QLineEdit* TileEdit() const { return tileEdit_; }
  QLineEdit* SnapEdit() const { return snapEdit_; }
  QCheckBox* RoomCheck() const { return roomCheck_; }
  QPushButton* OkButton() const { return okButton_; }

 private:
  void Show();
  // Reads the fields into Options; on a bad value tells the user, focuses the field and returns false.
  bool Take();

  QComboBox* csgBox_ = nullptr;
  QLineEdit* capEdit_ = nullptr;
  QLineEdit* tileEdit_ = nullptr;
  QSpinBox* maxPolygonsBox_ = nullptr;
  QLineEdit* snapEdit_ = nullptr;
  QCheckBox* forceCheck_ = nullptr;
  QLineEdit* sideTextureEdit_ = nullptr;
  QCheckBox* invisibleCheck_ = nullptr;
  QLineEdit* textureScaleEdit_ = nullptr;
  QCheckBox* roomCheck_ = nullptr;
  QPushButton* okButton_ = nullptr;
};

}  // namespace terravel
