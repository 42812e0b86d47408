#include "render/PngChunks.h"

#include <QFile>
#include <QtEndian>

#include <cstring>

#include "render/FilePaths.h"

namespace terravel {

std::string PngChunkDamage(const std::string& path) {
  QFile file(QtFilePath(path));
  if (!file.open(QIODevice::ReadOnly)) return {};
  const qint64 size = file.size();
  char signature[8];
  if (file.read(signature, 8) != 8 || std::memcmp(signature, "\x89PNG\r\n\x1a\n", 8) != 0) return {};
  // Each chunk: its length, its type, the data and a checksum.
  qint64 at = 8;
  while (at + 8 <= size) {
    uchar head[8];
    if (!file.seek(at) || file.read(reinterpret_cast<char*>(head), 8) != 8) break;
    const quint32 length = qFromBigEndian<quint32>(head);
    if (at + 12 + qint64(length) > size) {
      return "it is damaged: a chunk claims " + std::to_string(length) + " bytes, more than the file's " +
             std::to_string(size) + " bytes hold";
    }
    if (std::memcmp(head + 4, "IEND", 4) == 0) break;
    at += 12 + qint64(length);
  }
  return {};
}

}  // namespace terravel
