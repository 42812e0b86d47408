#include "app/URLLabel.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QUrl>

namespace terravel {

TURLLabel::TURLLabel(const QString& caption, QWidget* parent)
    : QLabel(caption, parent), normalFont_(font()), hoverFont_(QFont()) {
  setCursor(Qt::PointingHandCursor);
  setTextInteractionFlags(Qt::NoTextInteraction);
  setToolTip(Target());
}

void TURLLabel::SetURL(const QString& url) {
  url_ = url;
  setToolTip(Target());
}

void TURLLabel::SetHoverEnabled(bool enabled) {
  hoverEnabled_ = enabled;
  if (!enabled) EndHovering();
}

void TURLLabel::SetNormalFont(const QFont& font, const QColor& color) {
  normalFont_ = font;
  normalColor_ = color;
  if (!hover_) ShowLook(normalFont_, normalColor_);
}

void TURLLabel::SetHoverFont(const QFont& font, const QColor& color) {
  hoverFont_ = font;
  hoverColor_ = color;
  if (hover_) ShowLook(hoverFont_, hoverColor_);
}

void TURLLabel::ShowLook(const QFont& font, const QColor& color) {
  setFont(font);
  // A palette with no colour of its own inherits the parent's.
  QPalette colors;
  if (color.isValid()) colors.setColor(QPalette::WindowText, color);
  setPalette(colors);
}

void TURLLabel::EndHovering() {
  if (!hover_) return;
  emit EndHover();
  hover_ = false;
  ShowLook(normalFont_, normalColor_);
}

void TURLLabel::enterEvent(QEnterEvent* event) {
  QLabel::enterEvent(event);
  if (!hoverEnabled_) return;
  if (!hover_) emit StartHover();
  hover_ = true;
  ShowLook(hoverFont_, hoverColor_);
}

void TURLLabel::leaveEvent(QEvent* event) {
  QLabel::leaveEvent(event);
  EndHovering();
}

void TURLLabel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) pressed_ = true;
  QLabel::mousePressEvent(event);
}

void TURLLabel::mouseReleaseEvent(QMouseEvent* event) {
  QLabel::mouseReleaseEvent(event);
  if (event->button() != Qt::LeftButton || !pressed_) return;
  pressed_ = false;
  // Qt gives the pointer back when the last button goes up; a release away from the label is no click.
  if (!rect().contains(event->position().toPoint())) return;
  // As the desktop's default handler would open it; whether it opens is not examined.
  QDesktopServices::openUrl(QUrl::fromUserInput(Target()));
}

}  // namespace terravel
