#pragma once
// The strip below the tool bar: the MinZ, MaxZ and PgInc edit boxes around the stretched colour
// gradient, and the "Show Z" check box. It reports what the user types; the main window turns
// that into actions and writes values back without it counting as typing.
#include <QWidget>

#include "model/history/ChangeSet.h"

class QCheckBox;
class QLabel;
class QLineEdit;

namespace terravel {

class TGradientPanel : public QWidget {
  Q_OBJECT
 public:
  explicit TGradientPanel(QWidget* parent = nullptr);

  QLineEdit* Edit(TUnitField field) const;
  QCheckBox* ShowZCheckBox() const { return showZ_; }

  // Writes the value in the general format and selects the whole text; no UnitEdited follows.
  // The box the user is typing into keeps the text: it is what asked for the value.
  void ShowUnit(TUnitField field, float value);
  // Sets the check box; no ShowZClicked follows.
  void SetShowZ(bool checked);

 signals:
  // The user changed the text of an edit box (every keystroke).
  void UnitEdited(terravel::TUnitField field, const QString& text);
  void ShowZClicked(bool checked);

 private:
  QLineEdit* AddUnitEdit(const QString& label, TUnitField field, const QString& hint);

  QLineEdit* minZ_ = nullptr;
  QLineEdit* maxZ_ = nullptr;
  QLineEdit* pgInc_ = nullptr;
  QLabel* gradient_ = nullptr;
  QCheckBox* showZ_ = nullptr;
  QLineEdit* typing_ = nullptr;  // while its UnitEdited runs
};

}  // namespace terravel
