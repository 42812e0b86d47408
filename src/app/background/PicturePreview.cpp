#include "app/background/PicturePreview.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

#include "render/BackgroundPicture.h"

namespace terravel {

TPicturePreview::TPicturePreview(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("PreviewArea"));
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setFixedSize(375, 250);
}

void TPicturePreview::LoadFile(const QString& fileName) {
  if (fileName.isEmpty() || !QFileInfo(fileName).isFile()) return;
  QImageReader reader(fileName);
  // The preview refuses what the viewport would refuse, before decoding it.
  reader.setAllocationLimit(static_cast<int>(kLargestPictureBytes / (1024 * 1024)));
  const QImage picture = reader.read();
  if (picture.isNull()) return;
  picture_ = picture;
  update();
}

QRect TPicturePreview::PictureRect() const {
  const QRect area = contentsRect();
  if (picture_.width() > area.width() || picture_.height() > area.height()) return area;
  QRect placed(QPoint(0, 0), picture_.size());
  placed.moveCenter(area.center());
  return placed;
}

void TPicturePreview::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  if (picture_.isNull()) return;
  QPainter painter(this);
  painter.drawImage(PictureRect(), picture_);
}

}  // namespace terravel
