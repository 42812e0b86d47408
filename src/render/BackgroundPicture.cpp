#include "render/BackgroundPicture.h"

#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "model/core/Errors.h"
#include "model/core/FileIO.h"
#include "model/editor/Editor.h"
#include "render/Colors.h"
#include "render/FilePaths.h"
#include "render/PngChunks.h"

namespace terravel {

namespace {

using Extended = long double;

bool TooLarge(QSize size) {
  return size.width() > kLargestPictureSide || size.height() > kLargestPictureSide ||
         qsizetype(size.width()) * size.height() * 4 > kLargestPictureBytes;
}

[[noreturn]] void Refuse(const std::string& fileName, const std::string& reason) {
  throw ETerravelError("The background image \"" + fileName + "\" cannot be used: " + reason);
}

std::string SizeText(QSize size) {
  return std::to_string(size.width()) + " x " + std::to_string(size.height()) + " pixels";
}

QImage LoadPicture(const std::string& fileName) {
  if (const std::string refusal = NotARegularFileText(fileName); !refusal.empty()) throw EFileError(refusal);
  if (const std::string damage = PngChunkDamage(fileName); !damage.empty()) Refuse(fileName, damage);
  QImageReader reader(QtFilePath(fileName));
  reader.setAllocationLimit(static_cast<int>(kLargestPictureBytes / (1024 * 1024)));
  if (!reader.canRead()) Refuse(fileName, reader.errorString().toStdString());
  const QSize announced = reader.size();
  if (announced.isValid() && TooLarge(announced)) {
    Refuse(fileName, "it is too large (" + SizeText(announced) + ")");
  }
  QImage picture = reader.read();
  if (picture.isNull()) Refuse(fileName, reader.errorString().toStdString());
  if (TooLarge(picture.size())) Refuse(fileName, "it is too large (" + SizeText(picture.size()) + ")");
  if (picture.hasAlphaChannel()) {
    // Drawn right after the viewport is cleared: lay transparent parts on its silver now.
    QImage flat(picture.size(), QImage::Format_RGB32);
    flat.fill(colors::kSilver);
    QPainter painter(&flat);
    painter.drawImage(0, 0, picture);
    painter.end();
    return flat;
  }
  return picture.convertToFormat(QImage::Format_RGB32);
}

// For each destination pixel first..last (inclusive), the source pixel that the stretch puts
// there: the one under the destination pixel's centre.
std::vector<int> SourceIndices(int first, int last, long long from, long long to, int sourceSize) {
  std::vector<int> indices;
  indices.reserve(static_cast<std::size_t>(last - first + 1));
  const double scale = double(sourceSize) / double(to - from);
  for (int i = first; i <= last; ++i) {
    const double source = std::floor((i + 0.5 - double(from)) * scale);
    indices.push_back(static_cast<int>(std::clamp(source, 0.0, double(sourceSize - 1))));
  }
  return indices;
}

}  // namespace

void TBackgroundPicture::SetBackgroundImage(const std::string& fileName, float originX, float originY,
                                            float scaleW, float scaleH) {
  // Decoded before anything changes, so that a refused file leaves the last picture in place.
  QImage loaded;
  if (!fileName.empty()) loaded = LoadPicture(fileName);
  picture_ = std::move(loaded);
  originX_ = originX;
  originY_ = originY;
  scaleW_ = scaleW;
  scaleH_ = scaleH;
}

TScreenRect TBackgroundPicture::ScreenRect(const TEditor& editor) const {
  const int pw = picture_.width(), ph = picture_.height();
  const auto left = static_cast<float>(Extended(originX_) - Extended(pw / 2) * scaleW_);
  const auto top = static_cast<float>(Extended(originY_) - Extended(ph / 2) * scaleH_);
  const auto right = static_cast<float>(Extended(originX_) + Extended(pw - pw / 2) * scaleW_);
  const auto bottom = static_cast<float>(Extended(originY_) + Extended(ph - ph / 2) * scaleH_);
  return {WorldToScreen(editor, left, top), WorldToScreen(editor, right, bottom)};
}

void TBackgroundPicture::Draw(TRaster& raster, const TEditor& editor) const {
  if (picture_.isNull()) return;
  const TScreenRect rect = ScreenRect(editor);
  const long long x0 = rect.TopLeft.X, x1 = rect.BottomRight.X;
  const long long y0 = rect.TopLeft.Y, y1 = rect.BottomRight.Y;
  if (x0 == x1 || y0 == y1) return;
  const int firstX = static_cast<int>(std::max<long long>(std::min(x0, x1), 0));
  const int lastX = static_cast<int>(std::min<long long>(std::max(x0, x1) - 1, raster.Width() - 1));
  const int firstY = static_cast<int>(std::max<long long>(std::min(y0, y1), 0));
  const int lastY = static_cast<int>(std::min<long long>(std::max(y0, y1) - 1, raster.Height() - 1));
  if (firstX > lastX || firstY > lastY) return;
  const std::vector<int> columns = SourceIndices(firstX, lastX, x0, x1, picture_.width());
  const std::vector<int> rows = SourceIndices(firstY, lastY, y0, y1, picture_.height());
  for (int y = firstY; y <= lastY; ++y) {
    const auto* source = reinterpret_cast<const QRgb*>(picture_.constScanLine(rows[std::size_t(y - firstY)]));
    QRgb* target = raster.Row(y) + firstX;
    for (std::size_t i = 0; i < columns.size(); ++i) target[i] = source[columns[i]];
  }
}

}  // namespace terravel
