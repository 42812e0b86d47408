#pragma once
// The preview of the background image window: the picture centred at its own size, or stretched
// over the whole area (proportions not kept) when it is wider or taller than the area.
#include <QFrame>
#include <QImage>

namespace terravel {

class TPicturePreview : public QFrame {
 public:
  explicit TPicturePreview(QWidget* parent = nullptr);

  // Loads the file when it exists; a file that cannot be read leaves the preview as it was.
  void LoadFile(const QString& fileName);
  const QImage& Picture() const { return picture_; }
  // Where the picture is drawn inside the area.
  QRect PictureRect() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
};

}  // namespace terravel
