#include "app/UserDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace terravel {

namespace {

const char* const kProjectFilter = "Terravel projects (*.tvp);;All files (*.*)";

QMessageBox::StandardButton ShowMessageBox(QWidget* parent, const QString& caption, const QString& text,
                                           QMessageBox::Icon icon, QMessageBox::StandardButtons buttons) {
  QString shown = text;
  shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  QMessageBox box(icon, caption, shown, buttons, parent);
  return QMessageBox::StandardButton(box.exec());
}

QString AskOpenProjectName(QWidget* parent) {
  QFileDialog dialog(parent, QStringLiteral("Open Project"), QDir::currentPath(),
                     QString::fromLatin1(kProjectFilter));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(QStringLiteral("tvp"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

QString AskSaveProjectName(QWidget* parent, const QString& currentName) {
  QFileDialog dialog(parent, QStringLiteral("Save Project As"), QDir::currentPath(),
                     QString::fromLatin1(kProjectFilter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(QStringLiteral("tvp"));
  if (!currentName.isEmpty()) dialog.selectFile(currentName);
  while (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
    const QString chosen = dialog.selectedFiles().constFirst();
    const QFileInfo info(chosen);
    if (info.exists() && !info.isWritable()) {
      ShowInformation(parent, QStringLiteral("%1\rThe file is read-only.").arg(chosen));
      continue;
    }
    return chosen;
  }
  return {};
}

QString AskExchangeFileName(QWidget* parent, bool forImport, const QString& filter,
                            const QString& extension) {
  QFileDialog dialog(parent, forImport ? QStringLiteral("Import") : QStringLiteral("Export"),
                     ExchangeFolder().isEmpty() ? QDir::currentPath() : ExchangeFolder(), QtFileFilter(filter));
  dialog.setAcceptMode(forImport ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  // Saving needs an existing folder, which the dialog's own checks give.
  dialog.setFileMode(forImport ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dialog.setDefaultSuffix(extension);
  while (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
    const QString chosen = dialog.selectedFiles().constFirst();
    const QFileInfo info(chosen);
    if (!forImport && info.exists() && !info.isWritable()) {
      ShowInformation(parent, QStringLiteral("%1\rThe file is read-only.").arg(chosen));
      continue;
    }
    return chosen;
  }
  return {};
}

QString AskBackgroundFileName(QWidget* parent, const QString& startName, const QString& filter) {
  QFileDialog dialog(parent, QStringLiteral("Browse for Background Image"), QDir::currentPath(),
                     QtFileFilter(filter));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  if (!startName.isEmpty()) dialog.selectFile(startName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

}  // namespace

QString QtFileFilter(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString& name = parts[i];
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    // Qt reads the patterns from the name's last parentheses; a name showing them already is kept.
    filters << (name.endsWith(QStringLiteral("(%1)").arg(patterns))
                    ? name
                    : QStringLiteral("%1 (%2)").arg(name, patterns));
  }
  return filters.join(QStringLiteral(";;"));
}

TUserDialogs StandardUserDialogs() {
  return {ShowMessageBox, AskOpenProjectName, AskSaveProjectName, AskExchangeFileName, AskBackgroundFileName};
}

TUserDialogs& UserDialogs() {
  static TUserDialogs dialogs = StandardUserDialogs();
  return dialogs;
}

QWidget* AskingWindow(QWidget* fallback) {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  QWidget* active = QApplication::activeWindow();
  if (active != nullptr && !active->windowFlags().testFlag(Qt::Popup)) return active;
  return fallback;
}

void ShowInformation(QWidget* parent, const QString& text) {
  UserDialogs().Message(parent, QStringLiteral("Information"), text, QMessageBox::Information,
                        QMessageBox::Ok);
}

void NotYetImplemented(QWidget* parent, const QString& feature) {
  ShowInformation(
      parent,
      QStringLiteral("Not yet implemented:\r\r%1\r\rNeed this feature? Please contact the author via e-mail!")
          .arg(feature));
}

QString& ExchangeFolder() {
  static QString folder;
  return folder;
}

}  // namespace terravel
