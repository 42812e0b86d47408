#include "render/HeightmapPicture.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>

#include <cstring>

#include "model/core/Errors.h"
#include "model/core/FileIO.h"
#include "model/heightmap/HeightmapErrors.h"
#include "model/heightmap/RawHeightmap.h"
#include "render/FilePaths.h"
#include "render/PngChunks.h"

namespace terravel {

THeightGrid ReadHeightmapFile(const std::string& path, std::string& note) {
  note.clear();
  if (IsRawHeightmapPath(path)) return ReadRawHeightmap(path);
  // A device or a pipe never ends: the picture reader would take all the memory there is.
  if (const std::string refusal = NotARegularFileText(path); !refusal.empty()) throw EFileError(refusal);
  if (const std::string damage = PngChunkDamage(path); !damage.empty())
    throw EHeightmapError("The heightmap " + path + " cannot be read: " + damage + ".");
  QImageReader reader(QtFilePath(path));
  QImage image = reader.read();
  if (image.isNull()) {
    throw EHeightmapError("The heightmap " + path + " cannot be read: " + reader.errorString().toLocal8Bit().toStdString() + ".");
  }
  const bool deep = image.format() == QImage::Format_Grayscale16 || image.depth() > 32;
  if (!image.allGray()) note = "The heightmap " + path + " is in colour; it was converted to greyscale.";
  image = image.convertToFormat(deep ? QImage::Format_Grayscale16 : QImage::Format_Grayscale8);
  if (image.width() < 2 || image.height() < 2) throw EHeightmapError("The heightmap must be at least 2 x 2 pixels.");

  THeightGrid grid;
  grid.Width = image.width();
  grid.Height = image.height();
  grid.Levels.resize(std::size_t(grid.Width) * std::size_t(grid.Height));
  float* level = grid.Levels.data();
  for (int y = 0; y < grid.Height; ++y) {
    if (deep) {
      const auto* line = reinterpret_cast<const quint16*>(image.constScanLine(y));
      for (int x = 0; x < grid.Width; ++x) *level++ = float(line[x]) / 65535.0f;
    } else {
      const uchar* line = image.constScanLine(y);
      for (int x = 0; x < grid.Width; ++x) *level++ = float(line[x]) / 255.0f;
    }
  }
  return grid;
}

std::string EncodeHeightmapPng(const THeightRaster& raster) {
  QImage image(raster.Width, raster.Height, QImage::Format_Grayscale16);
  if (image.isNull()) throw EHeightmapError("There is not enough memory for the heightmap picture.");
  for (int y = 0; y < raster.Height; ++y) {
    std::memcpy(image.scanLine(y), raster.Values.data() + std::size_t(y) * std::size_t(raster.Width),
                std::size_t(raster.Width) * sizeof(std::uint16_t));
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG")) throw EHeightmapError("The heightmap picture could not be encoded as PNG.");
  return bytes.toStdString();
}

}  // namespace terravel
