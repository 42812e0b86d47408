#include "app/BrushPanel.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>

namespace terravel {

TBrushPanel::TBrushPanel(QWidget* parent)
    : QDockWidget(QStringLiteral("Sculpt brush"), parent),
      mode_(new QComboBox),
      radius_(new QDoubleSpinBox),
      strength_(new QDoubleSpinBox),
      falloff_(new QComboBox) {
  setObjectName(QStringLiteral("BrushPanel"));
  auto* body = new QWidget(this);
  auto* form = new QFormLayout(body);
  mode_->setObjectName(QStringLiteral("BrushMode"));
  mode_->addItems({QStringLiteral("Raise"), QStringLiteral("Lower"), QStringLiteral("Smooth"),
                   QStringLiteral("Flatten")});
  mode_->setToolTip(QStringLiteral("Hold Ctrl while stroking to lower instead of raise, or raise instead of lower."));
  radius_->setObjectName(QStringLiteral("BrushRadius"));
  radius_->setRange(kMinBrushRadius, kMaxBrushRadius);
  radius_->setDecimals(0);
  radius_->setToolTip(QStringLiteral("The reach of the brush in world units ([ smaller, ] larger)."));
  strength_->setObjectName(QStringLiteral("BrushStrength"));
  strength_->setRange(0, kMaxBrushStrength);
  strength_->setDecimals(1);
  strength_->setToolTip(
      QStringLiteral("About the height one pass of the brush's centre changes (Shift+[ weaker, Shift+] stronger)."));
  falloff_->setObjectName(QStringLiteral("BrushFalloff"));
  falloff_->addItems({QStringLiteral("Smooth"), QStringLiteral("Linear"), QStringLiteral("Constant")});
  form->addRow(QStringLiteral("&Mode:"), mode_);
  form->addRow(QStringLiteral("&Radius:"), radius_);
  form->addRow(QStringLiteral("&Strength (height a pass):"), strength_);
  form->addRow(QStringLiteral("&Falloff:"), falloff_);
  setWidget(body);
  ShowBrush(TSculptBrush());
  connect(mode_, &QComboBox::currentIndexChanged, this, &TBrushPanel::Edited);
  connect(falloff_, &QComboBox::currentIndexChanged, this, &TBrushPanel::Edited);
  connect(radius_, &QDoubleSpinBox::valueChanged, this, &TBrushPanel::Edited);
  connect(strength_, &QDoubleSpinBox::valueChanged, this, &TBrushPanel::Edited);
  connect(this, &QDockWidget::visibilityChanged, this, [this] { emit VisibilityChanged(isVisible()); });
  setFloating(true);
}

void TBrushPanel::showEvent(QShowEvent* event) {
  // Floating, it first stands at the top left of the main window, out of the way of the view's middle.
  if (!placed_ && isFloating() && parentWidget() != nullptr) {
    placed_ = true;
    adjustSize();
    move(parentWidget()->mapToGlobal(QPoint(24, 96)));
  }
  QDockWidget::showEvent(event);
}

void TBrushPanel::ShowBrush(const TSculptBrush& brush) {
  showing_ = true;
  mode_->setCurrentIndex(static_cast<int>(brush.Mode));
  radius_->setValue(brush.Radius);
  strength_->setValue(brush.Strength);
  falloff_->setCurrentIndex(static_cast<int>(brush.Falloff));
  showing_ = false;
}

TSculptBrush TBrushPanel::Brush() const {
  TSculptBrush brush;
  brush.Mode = TSculptMode(mode_->currentIndex());
  brush.Radius = static_cast<float>(radius_->value());
  brush.Strength = static_cast<float>(strength_->value());
  brush.Falloff = TFalloff(falloff_->currentIndex());
  return brush;
}

void TBrushPanel::Edited() {
  if (!showing_) emit BrushEdited(Brush());
}

}  // namespace terravel
