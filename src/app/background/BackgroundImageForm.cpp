#include "app/background/BackgroundImageForm.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>
#include <limits>

#include "app/CommandGuard.h"
#include "app/DialogButtons.h"
#include "app/UserDialogs.h"
#include "app/background/PicturePreview.h"
#include "model/text/NumberText.h"
#include "render/FilePaths.h"
#include "render/ViewportRenderer.h"

namespace terravel {

namespace {

const char* const kNoImage = "No valid background image has been specified.";
const char* const kBadOrigin = "The origin value is invalid. It must be a decimal value!";
// The text as the program has always shown it.
const char* const kBadScale = "The scale valus is invalid. It must be a non-zero decimal value!";

QString NumberText(float value) {
  return QString::fromStdString(FormatFixed(value, 6));
}

// The field as a single-precision number; false for text that is no number or does not fit.
bool ReadNumber(const QLineEdit* field, float& value) {
  double number = 0;
  if (!TryParseNumber(field->text().toStdString(), number)) return false;
  if (!std::isfinite(number) || std::fabs(number) > std::numeric_limits<float>::max()) return false;
  value = static_cast<float>(number);
  return true;
}

QLineEdit* NumberEdit(const char* name, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  return edit;
}

QLabel* Label(const char* text, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->setBuddy(buddy);
  return label;
}

}  // namespace

QString BackgroundImageFilter(const QList<QByteArray>& readableFormats) {
  struct TKind {
    const char* Name;
    QStringList Extensions;
  };
  const TKind kinds[] = {{"JPEG files", {"jpg", "jpeg"}}, {"PNG files", {"png"}}, {"Bitmaps", {"bmp"}}};
  QStringList all, pairs;
  for (const TKind& kind : kinds) {
    if (!readableFormats.contains(kind.Extensions.constFirst().toLatin1())) continue;
    QStringList patterns;
    for (const QString& extension : kind.Extensions) patterns << QStringLiteral("*.") + extension;
    const QString joined = patterns.join(QLatin1Char(';'));
    all << joined;
    pairs << QStringLiteral("%1 (%2)|%2").arg(QString::fromLatin1(kind.Name), joined);
  }
  QStringList filter;
  if (!all.isEmpty()) filter << QStringLiteral("All supported files (%1)|%1").arg(all.join(QLatin1Char(';')));
  filter << pairs << QStringLiteral("All files (*.*)|*.*");
  return filter.join(QLatin1Char('|'));
}

TBackgroundImageForm::TBackgroundImageForm(TViewportRenderer& renderer, QWidget* parent)
    : QDialog(parent), renderer_(renderer) {
  setObjectName(QStringLiteral("BackgroundImageForm"));
  setWindowTitle(QStringLiteral("Background Image"));
  setModal(true);

  auto* settings = new QGroupBox(QStringLiteral("Background image settings"), this);
  fileEdit_ = NumberEdit("FileEdit", settings);
  browseButton_ = new QPushButton(QStringLiteral("&Browse..."), settings);
  xEdit_ = NumberEdit("OriginXEdit", settings);
  yEdit_ = NumberEdit("OriginYEdit", settings);
  wEdit_ = NumberEdit("ScaleWEdit", settings);
  hEdit_ = NumberEdit("ScaleHEdit", settings);
  auto* grid = new QGridLayout(settings);
  grid->addWidget(Label("&Image file:", fileEdit_, settings), 0, 0);
  grid->addWidget(fileEdit_, 0, 1, 1, 4);
  grid->addWidget(browseButton_, 0, 5);
  grid->addWidget(Label("Origin:", nullptr, settings), 1, 0);
  grid->addWidget(Label("&X:", xEdit_, settings), 1, 1);
  grid->addWidget(xEdit_, 1, 2);
  grid->addWidget(Label("&Y:", yEdit_, settings), 1, 3);
  grid->addWidget(yEdit_, 1, 4);
  grid->addWidget(Label("&Scale:", wEdit_, settings), 2, 0);
  grid->addWidget(Label("&W:", wEdit_, settings), 2, 1);
  grid->addWidget(wEdit_, 2, 2);
  grid->addWidget(Label("&H:", hEdit_, settings), 2, 3);
  grid->addWidget(hEdit_, 2, 4);

  auto* previewGroup = new QGroupBox(QStringLiteral("Preview"), this);
  preview_ = new TPicturePreview(previewGroup);
  (new QVBoxLayout(previewGroup))->addWidget(preview_, 0, Qt::AlignCenter);

  const TOkCancelRow buttons = MakeOkCancelRow(this);
  okButton_ = buttons.Ok;
  cancelButton_ = buttons.Cancel;
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(settings);
  layout->addWidget(previewGroup);
  layout->addStretch(1);
  layout->addLayout(buttons.Row);
  setFixedSize(430, 475);

  connect(fileEdit_, &QLineEdit::textChanged, preview_, &TPicturePreview::LoadFile);
  connect(browseButton_, &QPushButton::clicked, this,
          [this] { RunCommand(this, [this] { BrowseClick(); }); });
  connect(okButton_, &QPushButton::clicked, this, [this] { RunCommand(this, [this] { OkClick(); }); });
}

void TBackgroundImageForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  fileEdit_->setText(values_.FileName);
  xEdit_->setText(NumberText(values_.OriginX));
  yEdit_->setText(NumberText(values_.OriginY));
  wEdit_->setText(NumberText(values_.ScaleW));
  hEdit_->setText(NumberText(values_.ScaleH));
  fileEdit_->setFocus();
}

void TBackgroundImageForm::BrowseClick() {
  const QString chosen = UserDialogs().BackgroundFileName(
      this, fileEdit_->text(), BackgroundImageFilter(QImageReader::supportedImageFormats()));
  if (!chosen.isEmpty()) fileEdit_->setText(QFileInfo(chosen).absoluteFilePath());
}

void TBackgroundImageForm::Refuse(const char* text, QLineEdit* field) {
  UserDialogs().Message(this, QStringLiteral("Information"), QString::fromLatin1(text), QMessageBox::Critical,
                        QMessageBox::Ok);
  if (field == nullptr) return;
  field->setFocus();
  field->selectAll();
}

void TBackgroundImageForm::OkClick() {
  const QString fileName = fileEdit_->text();
  if (!fileName.isEmpty() && !QFileInfo::exists(fileName)) return Refuse(kNoImage, nullptr);
  TBackgroundValues accepted{fileName};
  if (!ReadNumber(xEdit_, accepted.OriginX)) return Refuse(kBadOrigin, xEdit_);
  if (!ReadNumber(yEdit_, accepted.OriginY)) return Refuse(kBadOrigin, yEdit_);
  if (!ReadNumber(wEdit_, accepted.ScaleW) || accepted.ScaleW == 0) return Refuse(kBadScale, wEdit_);
  if (!ReadNumber(hEdit_, accepted.ScaleH) || accepted.ScaleH == 0) return Refuse(kBadScale, hEdit_);
  // A picture that cannot be decoded raises its error here, before anything changes: the
  // window stays open and the last picture with its placement stays under the mesh.
  renderer_.SetBackgroundImage(FilePath(fileName), accepted.OriginX, accepted.OriginY,
                               accepted.ScaleW, accepted.ScaleH);
  values_ = accepted;
  renderer_.Redraw(false);
  accept();
}

}  // namespace terravel
