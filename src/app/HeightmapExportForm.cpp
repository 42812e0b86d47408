#include "app/HeightmapExportForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>

#include "app/DialogButtons.h"
#include "app/UserDialogs.h"
#include "model/text/NumberText.h"

namespace terravel {

THeightmapExportForm::THeightmapExportForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("HeightmapExportForm"));
  setWindowTitle(QStringLiteral("Heightmap Export"));
  setModal(true);

  pixelEdit_ = new QLineEdit(this);
  sizeCheck_ = new QCheckBox(QStringLiteral("&Width and height instead:"), this);
  widthSpin_ = new QSpinBox(this);
  heightSpin_ = new QSpinBox(this);
  for (QSpinBox* spin : {widthSpin_, heightSpin_}) {
    spin->setRange(2, kMaxHeightmapSide);
    spin->setValue(513);
    connect(sizeCheck_, &QCheckBox::toggled, spin, &QWidget::setEnabled);
  }
  connect(sizeCheck_, &QCheckBox::toggled, pixelEdit_, [this](bool size) { pixelEdit_->setEnabled(!size); });
  rangeCombo_ = new QComboBox(this);
  rangeCombo_->addItem(QStringLiteral("MinZ to MaxZ of the project"));
  rangeCombo_->addItem(QStringLiteral("Lowest to highest ground"));

  const TOkCancelRow buttons = MakeOkCancelRow(this);
  okButton_ = buttons.Ok;
  cancelButton_ = buttons.Cancel;
  connect(okButton_, &QPushButton::clicked, this, [this] {
    if (TakeFields()) accept();
  });

  auto* size = new QHBoxLayout;
  size->addWidget(widthSpin_);
  size->addWidget(heightSpin_);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("&Size of a pixel:"), pixelEdit_);
  form->addRow(sizeCheck_, size);
  form->addRow(QStringLiteral("Black to &white:"), rangeCombo_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addStretch(1);
  layout->addLayout(buttons.Row);
}

bool THeightmapExportForm::Execute(float defaultPixelSize, int terrainWidth, int terrainHeight) {
  pixelEdit_->setText(QString::fromStdString(FormatGeneral(Options.PixelSize > 0 ? Options.PixelSize : defaultPixelSize)));
  const bool bySize = Options.Width > 0;
  sizeCheck_->setChecked(bySize);
  pixelEdit_->setEnabled(!bySize);
  widthSpin_->setEnabled(bySize);
  heightSpin_->setEnabled(bySize);
  widthSpin_->setValue(bySize ? Options.Width : terrainWidth);
  heightSpin_->setValue(bySize ? Options.Height : terrainHeight);
  rangeCombo_->setCurrentIndex(Options.Range == THeightRange::Terrain ? 1 : 0);
  pixelEdit_->setFocus();
  return exec() == QDialog::Accepted;
}

bool THeightmapExportForm::TakeFields() {
  const bool bySize = sizeCheck_->isChecked();
  double pixel = 0;
  if (!bySize && (!TryParseNumber(pixelEdit_->text().toStdString(), pixel) || !std::isfinite(float(pixel)) ||
                  pixel <= 0)) {
    UserDialogs().Message(this, QStringLiteral("Error"), QStringLiteral("Invalid input."), QMessageBox::Critical,
                          QMessageBox::Ok);
    pixelEdit_->setFocus();
    pixelEdit_->selectAll();
    return false;
  }
  Options.PixelSize = bySize ? 0 : float(pixel);
  Options.Width = bySize ? widthSpin_->value() : 0;
  Options.Height = bySize ? heightSpin_->value() : 0;
  Options.Range = rangeCombo_->currentIndex() == 1 ? THeightRange::Terrain : THeightRange::Project;
  return true;
}

}  // namespace terravel
