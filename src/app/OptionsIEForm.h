#pragma once
// The options of an import or export: the scale factor and, for imports, whether to start from an
// empty project. Created once and kept, so the chooser hands it the values for every use.
#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace terravel {

class TOptionsIEForm : public QDialog {
  Q_OBJECT
 public:
  TOptionsIEForm();

  // What the window shows on opening; Scale follows the field, ImportIntoEmpty is stored by OK.
  float Scale = 1.0f;
  bool ShowEmptyOption = false;
  bool ImportIntoEmpty = true;

  // Shows the window modally; true when closed with OK.
  bool Execute();

  // The scale as the field shows it: fixed with four decimals, at least six characters wide.
  static QString ScaleText(float scale);

  QLineEdit* ScaleEdit() const { return scaleEdit_; }
  QCheckBox* EmptyCheck() const { return emptyCheck_; }
  QPushButton* OkButton() const { return okButton_; }
  QPushButton* CancelButton() const { return cancelButton_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Reads the field into Scale and shows it again; on a bad number tells the user, puts the focus
  // back into the field and returns false.
  bool TakeScale();
  void OkClick();

  QLineEdit* scaleEdit_ = nullptr;
  QCheckBox* emptyCheck_ = nullptr;
  QPushButton* okButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  bool takePending_ = false;  // the field was left and its conversion is still to come
};

}  // namespace terravel
