#pragma once
// The background image window: which picture lies under the mesh, where its centre lies in the
// world and how many world units one of its pixels covers. It keeps the last accepted values
// for the whole run, so that they come back after the picture was cleared.
#include <QDialog>

class QLineEdit;
class QPushButton;

namespace terravel {

class TPicturePreview;
class TViewportRenderer;

// The window's values as last accepted with OK.
struct TBackgroundValues {
  QString FileName;
  float OriginX = 0;
  float OriginY = 0;
  float ScaleW = 1;
  float ScaleH = 1;
};

// The browse dialog's filter: the picture kinds below that this platform's decoders read,
// as "Name|patterns" pairs, led by all of them together and closed by "All files".
QString BackgroundImageFilter(const QList<QByteArray>& readableFormats);

class TBackgroundImageForm : public QDialog {
  Q_OBJECT
 public:
  explicit TBackgroundImageForm(TViewportRenderer& renderer, QWidget* parent = nullptr);

  const TBackgroundValues& Values() const { return values_; }

  QLineEdit* FileEdit() const { return fileEdit_; }
  QLineEdit* OriginXEdit() const { return xEdit_; }
  QLineEdit* OriginYEdit() const { return yEdit_; }
  QLineEdit* ScaleWEdit() const { return wEdit_; }
  QLineEdit* ScaleHEdit() const { return hEdit_; }
  QPushButton* OkButton() const { return okButton_; }
  QPushButton* CancelButton() const { return cancelButton_; }
  TPicturePreview* Preview() const { return preview_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BrowseClick();
  void OkClick();
  // Tells the user why OK was refused; the field, when given, gets the focus with its text selected.
  void Refuse(const char* text, QLineEdit* field);

  TViewportRenderer& renderer_;
  TBackgroundValues values_;
  QLineEdit* fileEdit_ = nullptr;
  QLineEdit* xEdit_ = nullptr;
  QLineEdit* yEdit_ = nullptr;
  QLineEdit* wEdit_ = nullptr;
  QLineEdit* hEdit_ = nullptr;
  QPushButton* browseButton_ = nullptr;
  QPushButton* okButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  TPicturePreview* preview_ = nullptr;
};

}  // namespace terravel
