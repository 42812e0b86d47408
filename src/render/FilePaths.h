#pragma once
// File names between Qt and the model. The model opens files by the bytes of their names, as the
// file system stores them; Qt holds names as text. These two convert with the file system's own
// encoding (QFile::encodeName), which is not the user's code page for document texts.
#include <QFile>
#include <QString>

#include <string>

namespace terravel {

inline std::string FilePath(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

inline QString QtFilePath(const std::string& path) {
  return QFile::decodeName(QByteArray::fromStdString(path));
}

}  // namespace terravel
