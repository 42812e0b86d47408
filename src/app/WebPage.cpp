#include "app/WebPage.h"

#include <QProcess>
#include <QStandardPaths>

#include "app/DataPaths.h"

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

}  // namespace terravel
