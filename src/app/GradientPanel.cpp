#include "app/GradientPanel.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>

#include <utility>

#include "model/text/NumberText.h"
#include "render/GradientTable.h"

namespace terravel {

namespace {
constexpr int kPanelHeight = 29;
constexpr int kEditWidth = 64;
}  // namespace

TGradientPanel::TGradientPanel(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("GradientPanel"));
  setFixedHeight(kPanelHeight);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(4, 2, 4, 2);
  layout->setSpacing(4);

  minZ_ = AddUnitEdit(QStringLiteral("M&inZ:"), TUnitField::MinZ,
                      QStringLiteral("Z value that corresponds to blue color."));
  gradient_ = new QLabel(this);
  gradient_->setObjectName(QStringLiteral("GradientImage"));
  gradient_->setPixmap(QPixmap::fromImage(GradientImage()));
  gradient_->setScaledContents(true);
  gradient_->setMinimumWidth(16);
  gradient_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  gradient_->setToolTip(QStringLiteral(
      "Color gradient between MinZ and MaxZ: MinZ value appears in blue, MaxZ in red and values in "
      "between are interpolated accordingly."));
  layout->addWidget(gradient_, 1);
  maxZ_ = AddUnitEdit(QStringLiteral("M&axZ:"), TUnitField::MaxZ,
                      QStringLiteral("Z value that corresponds to red color."));
  // Alt+P opens the Project menu; the field takes G.
  pgInc_ = AddUnitEdit(QStringLiteral("P&gInc:"), TUnitField::PgInc,
                       QStringLiteral("Node Z coordinate increment/decrement on PageUp/PageDown."));

  showZ_ = new QCheckBox(QStringLiteral("&Show Z"), this);
  showZ_->setObjectName(QStringLiteral("ShowZCheckBox"));
  showZ_->setToolTip(QStringLiteral("Show Z coordinates of all nodes."));
  showZ_->setChecked(true);
  layout->addWidget(showZ_);
  connect(showZ_, &QCheckBox::clicked, this, &TGradientPanel::ShowZClicked);
}

QLineEdit* TGradientPanel::AddUnitEdit(const QString& label, TUnitField field, const QString& hint) {
  auto* caption = new QLabel(label, this);
  auto* edit = new QLineEdit(this);
  caption->setBuddy(edit);
  edit->setFixedWidth(kEditWidth);
  edit->setToolTip(hint);
  static const char* const kNames[] = {"MinZEdit", "MaxZEdit", "PgIncEdit"};
  edit->setObjectName(QString::fromLatin1(kNames[static_cast<int>(field)]));
  layout()->addWidget(caption);
  layout()->addWidget(edit);
  // textEdited comes from the user only, never from setText.
  connect(edit, &QLineEdit::textEdited, this, [this, field, edit](const QString& text) {
    QLineEdit* const outer = std::exchange(typing_, edit);
    emit UnitEdited(field, text);
    typing_ = outer;
  });
  return edit;
}

QLineEdit* TGradientPanel::Edit(TUnitField field) const {
  switch (field) {
    case TUnitField::MinZ:
      return minZ_;
    case TUnitField::MaxZ:
      return maxZ_;
    case TUnitField::PgInc:
      return pgInc_;
  }
  return minZ_;
}

void TGradientPanel::ShowUnit(TUnitField field, float value) {
  QLineEdit* edit = Edit(field);
  if (edit == typing_) return;
  edit->setText(QString::fromLocal8Bit(FormatGeneral(value)));
  edit->selectAll();
}

void TGradientPanel::SetShowZ(bool checked) {
  showZ_->setChecked(checked);
}

}  // namespace terravel
