#include "app/AxesExportForm.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>

#include "app/DialogButtons.h"

namespace terravel {

TAxesExportForm::TAxesExportForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("AxesExportForm"));
  setWindowTitle(QStringLiteral("Export Options"));
  setModal(true);
  zUp_ = new QCheckBox(QStringLiteral("&Z up (Terravel's axes; otherwise Y up)"), this);
  scale_ = new QDoubleSpinBox(this);
  scale_->setRange(0.0001, 10000);
  scale_->setDecimals(4);
  scaleLabel_ = new QLabel(QStringLiteral("&Scale (1: one Unreal unit is 1.905 cm):"), this);
  scaleLabel_->setBuddy(scale_);
  const TOkCancelRow buttons = MakeOkCancelRow(this);
  connect(buttons.Ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* form = new QFormLayout(this);
  form->addRow(zUp_);
  form->addRow(scaleLabel_, scale_);
  form->addRow(buttons.Row);
}

bool TAxesExportForm::Execute(bool withScale) {
  zUp_->setChecked(ZUp);
  scale_->setValue(Scale);
  scaleLabel_->setVisible(withScale);
  scale_->setVisible(withScale);
  if (exec() != QDialog::Accepted) return false;
  ZUp = zUp_->isChecked();
  if (withScale) Scale = scale_->value();
  return true;
}

}  // namespace terravel
