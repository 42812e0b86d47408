#include "app/HeightmapOptionsForm.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>

#include "app/UserDialogs.h"
#include "model/text/NumberText.h"

namespace terravel {

namespace {

QString NumberField(float value) {
  return QString::fromStdString(FormatFixed(value, 2));
}

}  // namespace

THeightmapOptionsForm::THeightmapOptionsForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("HeightmapOptionsForm"));
  setWindowTitle(QStringLiteral("Heightmap Options"));
  setModal(true);

  sizeLabel_ = new QLabel(this);
  cellEdit_ = new QLineEdit(this);
  lowEdit_ = new QLineEdit(this);
  highEdit_ = new QLineEdit(this);
  stepSpin_ = new QSpinBox(this);
  stepSpin_->setRange(1, 4096);
  budgetCheck_ = new QCheckBox(QStringLiteral("&At most this many triangles:"), this);
  budgetSpin_ = new QSpinBox(this);
  budgetSpin_->setRange(2, 10'000'000);
  budgetSpin_->setSingleStep(500);
  connect(budgetCheck_, &QCheckBox::toggled, budgetSpin_, &QWidget::setEnabled);
  emptyCheck_ = new QCheckBox(QStringLiteral("&Import into empty project"), this);

  okButton_ = new QPushButton(QStringLiteral("&OK"), this);
  okButton_->setDefault(true);
  cancelButton_ = new QPushButton(QStringLiteral("&Cancel"), this);
  connect(okButton_, &QPushButton::clicked, this, [this] {
    if (TakeFields()) accept();
  });
  connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);

  auto* form = new QFormLayout;
  form->addRow(sizeLabel_);
  form->addRow(QStringLiteral("&Size of a pixel:"), cellEdit_);
  form->addRow(QStringLiteral("Z of &black:"), lowEdit_);
  form->addRow(QStringLiteral("Z of &white:"), highEdit_);
  form->addRow(QStringLiteral("S&tep (every Nth pixel):"), stepSpin_);
  form->addRow(budgetCheck_, budgetSpin_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(okButton_);
  buttons->addWidget(cancelButton_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(emptyCheck_);
  layout->addStretch(1);
  layout->addLayout(buttons);
}

bool THeightmapOptionsForm::Execute(int width, int height, float minZ, float maxZ) {
  sizeLabel_->setText(QStringLiteral("The picture has %1 x %2 pixels.").arg(width).arg(height));
  cellEdit_->setText(NumberField(Options.CellSize));
  lowEdit_->setText(NumberField(minZ));
  highEdit_->setText(NumberField(maxZ));
  stepSpin_->setValue(Options.Step);
  // A picture beyond the biggest regular mesh starts with a budget.
  const bool budget = Options.MaxTriangles.has_value() || double(width - 1) * (height - 1) > kMaxRegularSquares;
  budgetCheck_->setChecked(budget);
  budgetSpin_->setEnabled(budget);
  budgetSpin_->setValue(Options.MaxTriangles.value_or(5000));
  emptyCheck_->setChecked(ImportIntoEmpty);
  cellEdit_->setFocus();
  return exec() == QDialog::Accepted;
}

bool THeightmapOptionsForm::TakeFields() {
  double values[3] = {};
  QLineEdit* const edits[3] = {cellEdit_, lowEdit_, highEdit_};
  for (int i = 0; i < 3; ++i) {
    if (!TryParseNumber(edits[i]->text().toStdString(), values[i]) || !std::isfinite(float(values[i])) ||
        (i == 0 && values[i] <= 0)) {
      UserDialogs().Message(this, QStringLiteral("Error"), QStringLiteral("Invalid input."), QMessageBox::Critical,
                            QMessageBox::Ok);
      edits[i]->setFocus();
      edits[i]->selectAll();
      return false;
    }
  }
  Options.CellSize = float(values[0]);
  Options.LowZ = float(values[1]);
  Options.HighZ = float(values[2]);
  Options.Step = stepSpin_->value();
  Options.MaxTriangles.reset();
  if (budgetCheck_->isChecked()) Options.MaxTriangles = budgetSpin_->value();
  ImportIntoEmpty = emptyCheck_->isChecked();
  return true;
}

}  // namespace terravel
