#include "app/LogForm.h"

#include <QHideEvent>
#include <QPlainTextEdit>
#include <QShowEvent>
#include <QVBoxLayout>

#include "model/core/Version.h"

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
  const QString version = QStringLiteral("Version ") + QString::fromLatin1(kTerravelVersion);
  for (const QString& line : {QString::fromLatin1(kRule), QStringLiteral("Terravel"), version,
                              QString::fromLatin1(kRule), QString::fromLatin1(kRule)})
    AppendLine(line);
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
