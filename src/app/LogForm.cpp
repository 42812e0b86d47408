#include "app/LogForm.h"

#include <QHideEvent>
#include <QPlainTextEdit>
#include <QShowEvent>
#include <QVBoxLayout>

namespace terravel {

namespace {
const char* const kRule = "----------------------------------------";  // 40 hyphens
}

TLogForm::TLogForm(QWidget* parent) : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint) {
  setWindowTitle(QStringLiteral("Terravel Log"));
  resize(480, 300);
  memo_ = new QPlainTextEdit(this);
  memo_->setReadOnly(true);
  memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
  memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(memo_);
  for (const char* line : {kRule, "Terravel", "Version 0.7", kRule, kRule})
    AppendLine(QString::fromLatin1(line));
}

void TLogForm::AppendLine(const QString& line) {
  memo_->appendPlainText(line);
}

QString TLogForm::Text() const {
  return memo_->toPlainText();
}

void TLogForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!event->spontaneous()) emit VisibilityChanged(true);
}

void TLogForm::hideEvent(QHideEvent* event) {
  // Minimising hides spontaneously; only a real show or hide moves the check mark.
  QWidget::hideEvent(event);
  if (!event->spontaneous()) emit VisibilityChanged(false);
}

}  // namespace terravel
