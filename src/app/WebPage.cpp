#include "app/WebPage.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "app/DataPaths.h"
#include "app/UserDialogs.h"

namespace terravel {

QString BrowserCommand() {
  if (QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty()) return {};
  return QStringLiteral("xdg-open %1");
}

QStringList WebPageCommandLine(const QString& browserCommand, const QString& url) {
  if (browserCommand.trimmed().isEmpty()) return {url};
  // Split first, so that a URL with spaces stays one argument.
  QStringList parts = QProcess::splitCommand(browserCommand);
  for (QString& part : parts) {
    const qsizetype at = part.indexOf(QStringLiteral("%1"));
    if (at >= 0) {
      part.replace(at, 2, url);
      break;
    }
  }
  return parts;
}

void OpenWebPage(const QString& url) {
  QStringList command = WebPageCommandLine(BrowserCommand(), url);
  if (command.isEmpty()) return;
  const QString program = command.takeFirst();
  QProcess::startDetached(program, command);
}

QString ManualPage(const QString& programFolder, int tag) {
  const QString anchor = tag == 0 ? QString() : QStringLiteral("#q%1").arg(tag);
  return QStringLiteral("%1/index.html%2").arg(DataFolder(programFolder, QStringLiteral("guide")), anchor);
}

QUrl ManualUrl(const QString& programFolder, int tag) {
  QUrl url = QUrl::fromLocalFile(ManualPage(programFolder, 0));
  if (tag != 0) url.setFragment(QStringLiteral("q%1").arg(tag));
  return url;
}

void OpenManual(QWidget* parent, const QString& programFolder, int tag) {
  const QString page = ManualPage(programFolder, 0);
  if (!QFileInfo(page).isFile()) {
    ShowInformation(
        parent,
        QStringLiteral("The manual cannot be found. It belongs beside the program, in:\r\r%1").arg(page));
    return;
  }
  OpenWebPage(ManualUrl(programFolder, tag).toString(QUrl::FullyEncoded));
}

}  // namespace terravel
