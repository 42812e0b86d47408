#include "app/HeightmapOptionsForm.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>

#include "app/DialogButtons.h"
#include "app/UserDialogs.h"
#include "model/text/NumberText.h"

namespace terravel {

namespace {

QString NumberField(float value) {
  return QString::fromStdString(FormatFixed(value, 2));
}

// The Z of black and white when the project's MinZ and MaxZ are equal and would make a flat terrain.
constexpr float kFlatLowZ = 0;
constexpr float kFlatHighZ = 4096;

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
  errorCheck_ = new QCheckBox(QStringLiteral("At most this e&rror (Z units):"), this);
  errorEdit_ = new QLineEdit(this);
  connect(errorCheck_, &QCheckBox::toggled, errorEdit_, &QWidget::setEnabled);
  seamlessCheck_ = new QCheckBox(QStringLiteral("Seam&less border (for tiles that must meet their neighbours)"), this);
  seamlessCheck_->setToolTip(
      QStringLiteral("Each side of the picture keeps its own points, so that tiles cut from one heightmap and built "
                     "with the same budget meet point for point. Leave it off for a single terrain: the border "
                     "points then compete with the inner ones and the terrain follows the picture closer."));
  zNote_ = new QLabel(this);
  zNote_->setWordWrap(true);
  zNote_->hide();
  emptyCheck_ = new QCheckBox(QStringLiteral("&Import into empty project"), this);

  const TOkCancelRow buttons = MakeOkCancelRow(this);
  okButton_ = buttons.Ok;
  cancelButton_ = buttons.Cancel;
  connect(okButton_, &QPushButton::clicked, this, [this] {
    if (TakeFields()) accept();
  });

  auto* form = new QFormLayout;
  form->addRow(sizeLabel_);
  form->addRow(QStringLiteral("&Size of a pixel:"), cellEdit_);
  form->addRow(QStringLiteral("Z of &black:"), lowEdit_);
  form->addRow(QStringLiteral("Z of &white:"), highEdit_);
  form->addRow(zNote_);
  form->addRow(QStringLiteral("S&tep (every Nth pixel):"), stepSpin_);
  form->addRow(budgetCheck_, budgetSpin_);
  form->addRow(errorCheck_, errorEdit_);
  form->addRow(seamlessCheck_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(emptyCheck_);
  layout->addStretch(1);
  layout->addLayout(buttons.Row);
}

bool THeightmapOptionsForm::Execute(int width, int height, float minZ, float maxZ) {
  sizeLabel_->setText(QStringLiteral("The picture has %1 x %2 pixels.").arg(width).arg(height));
  width_ = width;
  height_ = height;
  cellEdit_->setText(NumberField(Options.CellSize));
  // Equal MinZ and MaxZ would flatten the picture: offer a range, and say why.
  const bool flat = minZ == maxZ;
  lowEdit_->setText(NumberField(flat ? kFlatLowZ : minZ));
  highEdit_->setText(NumberField(flat ? kFlatHighZ : maxZ));
  zNote_->setText(QStringLiteral("The project's MinZ and MaxZ are both %1, so black and white start at %2 and %3.")
                      .arg(NumberField(minZ), NumberField(kFlatLowZ), NumberField(kFlatHighZ)));
  zNote_->setVisible(flat);
  stepSpin_->setValue(Options.Step);
  // A picture beyond the biggest regular mesh starts with a budget.
  const bool budget = Options.MaxTriangles.has_value() || double(width - 1) * (height - 1) > kMaxRegularSquares;
  budgetCheck_->setChecked(budget);
  budgetSpin_->setEnabled(budget);
  budgetSpin_->setValue(Options.MaxTriangles.value_or(5000));
  errorCheck_->setChecked(Options.MaxError.has_value());
  errorEdit_->setEnabled(Options.MaxError.has_value());
  errorEdit_->setText(NumberField(Options.MaxError.value_or(5)));
  seamlessCheck_->setChecked(Options.SeamlessBorder);
  emptyCheck_->setChecked(ImportIntoEmpty);
  cellEdit_->setFocus();
  return exec() == QDialog::Accepted;
}

void THeightmapOptionsForm::Refuse(QWidget* field, const QString& text) {
  UserDialogs().Message(this, QStringLiteral("Error"), text, QMessageBox::Critical, QMessageBox::Ok);
  field->setFocus();
  if (auto* edit = qobject_cast<QLineEdit*>(field)) edit->selectAll();
}

QWidget* THeightmapOptionsForm::FieldOf(THeightmapField field) const {
  switch (field) {
    case THeightmapField::CellSize:
      return cellEdit_;
    case THeightmapField::LowZ:
      return lowEdit_;
    case THeightmapField::HighZ:
      return highEdit_;
    case THeightmapField::Step:
      return stepSpin_;
    case THeightmapField::MaxTriangles:
      return budgetSpin_->isEnabled() ? static_cast<QWidget*>(budgetSpin_) : budgetCheck_;
    case THeightmapField::MaxError:
      break;
  }
  return errorEdit_;
}

bool THeightmapOptionsForm::TakeFields() {
  double values[4] = {};
  QLineEdit* const edits[4] = {cellEdit_, lowEdit_, highEdit_, errorEdit_};
  for (int i = 0; i < 4; ++i) {
    if (i == 3 && !errorCheck_->isChecked()) continue;
    if (!TryParseNumber(edits[i]->text().toStdString(), values[i]) || !std::isfinite(float(values[i])) ||
        (i == 0 && values[i] <= 0) || (i == 3 && values[i] < 0)) {
      Refuse(edits[i], QStringLiteral("Invalid input."));
      return false;
    }
  }
  THeightmapOptions options = Options;
  options.CellSize = float(values[0]);
  options.LowZ = float(values[1]);
  options.HighZ = float(values[2]);
  options.Step = stepSpin_->value();
  options.MaxTriangles.reset();
  if (budgetCheck_->isChecked()) options.MaxTriangles = budgetSpin_->value();
  options.MaxError.reset();
  if (errorCheck_->isChecked()) options.MaxError = float(values[3]);
  options.SeamlessBorder = seamlessCheck_->isChecked();
  // What the picture cannot take is refused here, naming this window's field.
  try {
    CheckHeightmapOptions(options, width_, height_, *options.LowZ, *options.HighZ);
  } catch (const EHeightmapOptionError& error) {
    QWidget* field = FieldOf(error.Field);
    // The field's own label (or check box) names it, as the window shows it.
    QString name;
    if (auto* box = qobject_cast<QCheckBox*>(field)) name = box->text();
    if (auto* form = qobject_cast<QFormLayout*>(layout()->itemAt(0)->layout()); form != nullptr && name.isEmpty()) {
      if (auto* label = qobject_cast<QLabel*>(form->labelForField(field))) name = label->text();
      if (auto* box = qobject_cast<QCheckBox*>(form->labelForField(field))) name = box->text();
    }
    name.remove(QLatin1Char('&'));
    if (name.endsWith(QLatin1Char(':'))) name.chop(1);
    Refuse(field, QStringLiteral("%1: %2").arg(name, QString::fromStdString(error.what())));
    return false;
  }
  Options = options;
  ImportIntoEmpty = emptyCheck_->isChecked();
  return true;
}

}  // namespace terravel
