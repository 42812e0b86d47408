#include "app/FormatIEForm.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <string>

#include "app/CommandGuard.h"
#include "app/ProjectLifecycle.h"
#include "model/editor/Editor.h"
#include "app/OptionsIEForm.h"
#include "app/UserDialogs.h"
#include "model/formats/ProjectTextExport.h"
#include "model/formats/UnrealTextExport.h"
#include "model/formats/UnrealTextImport.h"
#include "model/formats/XYZText.h"

namespace terravel {

namespace {

struct TFormatInfo {
  const char* Entry;
  const char* Description;
  const char* Pattern;
  const char* Extension;
};

const TFormatInfo kFormats[] = {
    {"X, Y, Z, Tab-separated (*.txt)",
     "Description:\rImports/exports a coordinate text file, in which the X, Y and Z coordinates are "
     "separated by "
     "tabs in a single line. Scale factor adjustable.",
     "*.txt", "txt"},
    {"Unreal Text (*.t3d)",
     "Description:\rUnreal Text format. This file type can be used to exchange data between Terravel and "
     "UnrealEd.",
     "*.t3d", "t3d"},
    {"Terravel Text (*.tvt)",
     "Description:\rImports/exports a TVP project as a text file, which can be edited with a text editor.",
     "*.tvt", "tvt"},
};
constexpr int kFormatCount = 3;

const char* const kUnrealImportWarning =
    "This feature is experimental. Current restrictions:\r"
    "- Only supports *.t3d files exported via File -> Export in UnrealEd.\r"
    "- Import might take some time even for decently sized brushes.\r"
    "- Polygons with more than three vertices are split during import.\r"
    "- Relative position of multiple brushes to each other might not be kept.\r"
    "- No preservation of texture panning/scale.\r"
    "- No support for unapplied rotation/scale of brushes (invoke \"Transform Permanently\" in UnrealEd "
    "before "
    "exporting).";

std::string FilePath(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

}  // namespace

TFormatIEForm::TFormatIEForm(TEditor& editor, TProjectLifecycle& project)
    : QDialog(nullptr), editor_(editor), project_(project) {
  setObjectName(QStringLiteral("FormatIEForm"));
  setWindowTitle(QStringLiteral("Choose File Format"));
  setModal(true);

  formatList_ = new QListWidget(this);
  formatList_->setObjectName(QStringLiteral("FormatList"));
  formatList_->setSelectionMode(QAbstractItemView::SingleSelection);
  for (const TFormatInfo& format : kFormats) {
    formatList_->addItem(QString::fromLatin1(format.Entry));
    Descriptions << QString::fromLatin1(format.Description);
  }
  descriptionLabel_ = new QLabel(this);
  descriptionLabel_->setObjectName(QStringLiteral("DescriptionLabel"));
  descriptionLabel_->setWordWrap(true);
  descriptionLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  descriptionLabel_->setMinimumHeight(80);
  actionButton_ = new QPushButton(this);
  actionButton_->setObjectName(QStringLiteral("ActionButton"));
  actionButton_->setDefault(true);
  closeButton_ = new QPushButton(QStringLiteral("&Close"), this);
  closeButton_->setObjectName(QStringLiteral("CloseButton"));

  connect(formatList_, &QListWidget::itemSelectionChanged, this, &TFormatIEForm::SelectionChanged);
  connect(formatList_, &QListWidget::itemDoubleClicked, this, [this] {
    if (actionButton_->isEnabled()) ActionClick();
  });
  connect(actionButton_, &QPushButton::clicked, this, &TFormatIEForm::ActionClick);
  connect(closeButton_, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(actionButton_);
  buttons->addWidget(closeButton_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(formatList_, 1);
  layout->addWidget(descriptionLabel_);
  layout->addLayout(buttons);
  resize(420, 300);
  Prepare();
}

QString TFormatIEForm::FilterOf(int format) {
  return QStringLiteral("%1|%2").arg(QString::fromLatin1(kFormats[format].Entry),
                                     QString::fromLatin1(kFormats[format].Pattern));
}

QString TFormatIEForm::ExtensionOf(int format) {
  return QString::fromLatin1(kFormats[format].Extension);
}

void TFormatIEForm::Prepare() {
  formatList_->clearSelection();
  formatList_->setCurrentRow(-1);
  SelectionChanged();
  const QString verb = ImportMode ? QStringLiteral("Import") : QStringLiteral("Export");
  setWindowTitle(QStringLiteral("%1 - Choose File Format").arg(verb));
  actionButton_->setText(QStringLiteral("&%1...").arg(verb));
  formatList_->setFocus();
}

void TFormatIEForm::SelectionChanged() {
  const QList<QListWidgetItem*> selected = formatList_->selectedItems();
  actionButton_->setEnabled(!selected.isEmpty());
  QString description;
  if (!selected.isEmpty()) {
    description = Descriptions.value(formatList_->row(selected.constFirst()));
    description.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  }
  descriptionLabel_->setText(description);
}

bool TFormatIEForm::ShowForImport() {
  ImportMode = true;
  Prepare();
  return exec() == QDialog::Accepted;
}

void TFormatIEForm::ShowForExport() {
  ImportMode = false;
  Prepare();
  exec();
}

void TFormatIEForm::ExportAgain() {
  ImportMode = false;
  switch (LastExportFormat) {
    case kXYZExport:
      ExportXYZText(editor_, FilePath(LastExportFileName), ExportScale);
      break;
    case kUnrealExport:
      ExportUnrealText(editor_, FilePath(LastExportFileName));
      break;
    default:
      ShowForExport();
  }
}

void TFormatIEForm::ActionClick() {
  const QList<QListWidgetItem*> selected = formatList_->selectedItems();
  if (selected.isEmpty()) return;
  const int format = formatList_->row(selected.constFirst());
  if (format < 0 || format >= kFormatCount) return;
  RunCommand(this, [&] { ImportMode ? Import(format) : Export(format); });
}

bool TFormatIEForm::RunOptions(bool showEmptyOption, float& scale, bool& importIntoEmpty) {
  if (options_ == nullptr) return false;
  options_->ShowEmptyOption = showEmptyOption;
  options_->Scale = scale;
  options_->ImportIntoEmpty = importIntoEmpty;
  if (!options_->Execute()) return false;
  scale = options_->Scale;
  importIntoEmpty = options_->ImportIntoEmpty;
  return true;
}

int TFormatIEForm::ImportFormatOf(const QString& path) {
  const QString suffix = QFileInfo(path).suffix();
  for (const int format : {kXYZText, kUnrealText}) {
    if (suffix.compare(ExtensionOf(format), Qt::CaseInsensitive) == 0) return format;
  }
  return -1;
}

bool TFormatIEForm::ImportFile(const QString& path) {
  const int format = ImportFormatOf(path);
  if (format < 0) return false;
  ImportMode = true;
  WarnBeforeImport(format);
  return ImportFrom(format, path);
}

void TFormatIEForm::WarnBeforeImport(int format) {
  if (format == kUnrealText) {
    UserDialogs().Message(this, QStringLiteral("Warning"), QString::fromLatin1(kUnrealImportWarning),
                          QMessageBox::Warning, QMessageBox::Ok);
  }
}

void TFormatIEForm::Import(int format) {
  if (format == kProjectText) {
    NotYetImplemented(this, QStringLiteral("Import Terravel Text"));
    return;
  }
  WarnBeforeImport(format);
  const QString path = UserDialogs().ExchangeFileName(this, true, FilterOf(format), ExtensionOf(format));
  if (path.isEmpty()) return;
  if (ImportFrom(format, path)) accept();
}

bool TFormatIEForm::ImportFrom(int format, const QString& path) {
  float scale = ImportScale;
  bool intoEmpty = true;  // ticked again on every import
  if (!RunOptions(true, scale, intoEmpty)) return false;
  if (intoEmpty) {
    if (project_.ConfirmDiscard()) return false;
    project_.NewProject(false);
  }
  ImportFileName = path;
  ImportScale = scale;
  bool finished = true;
  if (format == kXYZText) {
    ImportXYZText(editor_, FilePath(ImportFileName), ImportScale);
  } else {
    finished = ImportUnrealText(editor_, FilePath(ImportFileName), ImportScale);
  }
  return finished;
}

void TFormatIEForm::Export(int format) {
  const QString path = UserDialogs().ExchangeFileName(this, false, FilterOf(format), ExtensionOf(format));
  if (path.isEmpty()) return;
  switch (format) {
    case kXYZText: {
      float scale = ExportScale;
      bool unused = false;
      if (!RunOptions(false, scale, unused)) return;
      LastExportFileName = path;
      LastExportFormat = kXYZExport;
      ExportScale = scale;
      ExportXYZText(editor_, FilePath(path), ExportScale);
      break;
    }
    case kUnrealText:
      LastExportFileName = path;
      LastExportFormat = kUnrealExport;
      ExportUnrealText(editor_, FilePath(path));
      break;
    default:
      ExportProjectText(editor_, FilePath(path));
  }
}

}  // namespace terravel
