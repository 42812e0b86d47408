#include "app/OptionsIEForm.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/DialogButtons.h"
#include "app/UserDialogs.h"
#include "model/text/NumberText.h"

namespace terravel {

TOptionsIEForm::TOptionsIEForm() : QDialog(nullptr) {
  setObjectName(QStringLiteral("OptionsIEForm"));
  setWindowTitle(QStringLiteral("Options"));
  setModal(true);

  scaleEdit_ = new QLineEdit(this);
  scaleEdit_->setObjectName(QStringLiteral("ScaleEdit"));
  scaleEdit_->installEventFilter(this);
  auto* label = new QLabel(QStringLiteral("&Scale factor (X/Y):"), this);
  label->setBuddy(scaleEdit_);
  emptyCheck_ = new QCheckBox(QStringLiteral("&Import into empty project"), this);
  emptyCheck_->setObjectName(QStringLiteral("ImportIntoEmptyCheck"));

  const TOkCancelRow buttons = MakeOkCancelRow(this);
  okButton_ = buttons.Ok;
  cancelButton_ = buttons.Cancel;
  connect(okButton_, &QPushButton::clicked, this, &TOptionsIEForm::OkClick);

  auto* fields = new QHBoxLayout;
  fields->addWidget(label);
  fields->addWidget(scaleEdit_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addWidget(emptyCheck_);
  layout->addStretch(1);
  layout->addLayout(buttons.Row);
}

QString TOptionsIEForm::ScaleText(float scale) {
  return QString::fromStdString(FormatFixed(scale, 4)).rightJustified(6, QLatin1Char(' '));
}

bool TOptionsIEForm::Execute() {
  takePending_ = false;
  scaleEdit_->setText(ScaleText(Scale));
  emptyCheck_->setVisible(ShowEmptyOption);
  emptyCheck_->setChecked(ImportIntoEmpty);
  scaleEdit_->setFocus();
  return exec() == QDialog::Accepted;
}

bool TOptionsIEForm::TakeScale() {
  double value = 0;
  if (!TryParseNumber(scaleEdit_->text().toStdString(), value)) {
    UserDialogs().Message(this, QStringLiteral("Error"), QStringLiteral("Invalid input."),
                          QMessageBox::Critical, QMessageBox::Ok);
    scaleEdit_->setFocus();
    return false;
  }
  Scale = static_cast<float>(value);
  scaleEdit_->setText(ScaleText(Scale));
  return true;
}

// A factor typed but not yet converted (Enter in the field, or a click on OK that came before the
// conversion of leaving the field) counts as if the field had been left.
void TOptionsIEForm::OkClick() {
  takePending_ = false;
  if (scaleEdit_->text() != ScaleText(Scale) && !TakeScale()) return;
  ImportIntoEmpty = emptyCheck_->isChecked();
  accept();
}

bool TOptionsIEForm::eventFilter(QObject* watched, QEvent* event) {
  // Only a move to another control of this window converts: not the window losing the
  // activation, nor the message box that a bad number brings up.
  if (watched == scaleEdit_ && event->type() == QEvent::FocusOut && isVisible()) {
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    // The focus is still moving; the conversion (which may put it back) follows once it has.
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
      takePending_ = true;
      QMetaObject::invokeMethod(
          this,
          [this] {
            if (!takePending_ || !isVisible()) return;
            takePending_ = false;
            TakeScale();
          },
          Qt::QueuedConnection);
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace terravel
