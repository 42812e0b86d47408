#include "app/DataPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace terravel {

QStringList DataFolderCandidates(const QString& programFolder, const QString& name) {
  const QDir program(programFolder);
  return {
      // Beside the program: the build tree, and a copy unpacked anywhere.
      QDir::cleanPath(program.filePath(name)),
      // Installed under a prefix: <prefix>/bin/terravel and <prefix>/share/terravel/<name>.
      QDir::cleanPath(program.filePath(QStringLiteral("../share/terravel/") + name)),
  };
}

QString DataFolder(const QString& programFolder, const QString& name) {
  const QStringList candidates = DataFolderCandidates(programFolder, name);
  for (const QString& folder : candidates) {
    if (QFileInfo(folder).isDir()) return folder;
  }
  // None there: where it belongs, in the installed data when the program is installed.
  const bool installed = QFileInfo(QFileInfo(candidates.constLast()).path()).isDir();
  return installed ? candidates.constLast() : candidates.constFirst();
}

QString DataFolder(const QString& name) {
  return DataFolder(QCoreApplication::applicationDirPath(), name);
}

}  // namespace terravel
