#include "app/FormatIEForm.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QProgressDialog>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <string>

#include "app/AxesExportForm.h"
#include "app/CommandGuard.h"
#include "app/FormatCaptions.h"
#include "app/HeightmapExportForm.h"
#include "app/HeightmapOptionsForm.h"
#include "app/MapExportForm.h"
#include "app/OptionsIEForm.h"
#include "app/ProjectLifecycle.h"
#include "app/UserDialogs.h"
#include "model/editor/Editor.h"
#include "model/formats/ExchangeFormat.h"
#include "model/formats/FormatTable.h"
#include "model/heightmap/HeightmapErrors.h"
#include "model/project/GradientRange.h"
#include "model/view/ViewTransform.h"
#include "render/FilePaths.h"
#include "render/HeightmapPicture.h"

namespace terravel {

namespace {

// The options of an export that asks for none: the scale remembered for formats that take one.
TWriteOptions WriteOptionsOf(const TExchangeFormatInfo& format, float scale) {
  TWriteOptions options;
  if (format.WriteOptions == TFormatOptions::Scale) options.Scale = scale;
  options.EncodeHeightmap = &EncodeHeightmapPng;
  return options;
}

// The Import and Export dialogs open in the last export's folder, else the project's.
void StartExchangeFolder(const QString& projectFile, const QString& lastExport) {
  ExchangeFolder() = !lastExport.isEmpty()       ? lastExport
                     : !projectFile.isEmpty()    ? QFileInfo(projectFile).absolutePath()
                                                 : QString();
}

// The nodes' extent in pixels of the size, a pixel on each corner; between 2 and the largest side.
QSize TerrainPixels(const TEditor& editor, float pixel) {
  float left = 0, right = 0, top = 0, bottom = 0;
  bool any = false;
  for (const T3DCoord& node : editor.Nodes) {
    if (!std::isfinite(node.X) || !std::isfinite(node.Y)) continue;
    left = any ? std::min(left, node.X) : node.X, right = any ? std::max(right, node.X) : node.X;
    top = any ? std::min(top, node.Y) : node.Y, bottom = any ? std::max(bottom, node.Y) : node.Y;
    any = true;
  }
  const auto side = [pixel](double extent) {
    return static_cast<int>(std::clamp(std::round(extent / pixel) + 1, 2.0, double(kMaxHeightmapSide)));
  };
  return any ? QSize(side(double(right) - left), side(double(bottom) - top)) : QSize(513, 513);
}

}  // namespace

TFormatIEForm::TFormatIEForm(TEditor& editor, THost& host, TProjectLifecycle& project, TOptionsIEForm& options)
    : QDialog(nullptr), editor_(editor), host_(host), project_(project), options_(options) {
  setObjectName(QStringLiteral("FormatIEForm"));
  setWindowTitle(QStringLiteral("Choose File Format"));
  setModal(true);

  formatList_ = new QListWidget(this);
  formatList_->setObjectName(QStringLiteral("FormatList"));
  formatList_->setSelectionMode(QAbstractItemView::SingleSelection);
  for (const TExchangeFormatInfo& format : ExchangeFormats()) {
    const TFormatCaption caption = FormatCaptionOf(format);
    formatList_->addItem(caption.Caption);
    Descriptions << caption.Description;
    ExportDescriptions << ExportDescriptionOf(format);
  }
  formatList_->installEventFilter(this);
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
  heightmapOptions_ = new THeightmapOptionsForm(this);
  heightmapExport_ = new THeightmapExportForm(this);
  mapExport_ = new TMapExportForm(this);
  axesExport_ = new TAxesExportForm(this);
  resize(420, 300);
  Prepare();
}

QString TFormatIEForm::FilterOf(const TExchangeFormatInfo& format) {
  return QStringLiteral("%1|%2").arg(FormatCaptionOf(format).Caption, QString::fromStdString(format.Pattern));
}

QString TFormatIEForm::ExportHint() {
  QStringList patterns;
  for (const TExchangeFormatInfo& format : ExchangeFormats()) {
    const QString pattern = QString::fromStdString(format.Pattern).replace(QLatin1Char(';'), QLatin1Char(' '));
    if (format.Exports() && !patterns.contains(pattern)) patterns << pattern;
  }
  const QString last = patterns.takeLast();
  return QStringLiteral("Export into %1, or %2. In UnrealEd the ground of a polygon list is the floor of a "
                        "subtracted brush: flip it, or export an Unreal map, for an added one.")
      .arg(patterns.join(QStringLiteral(", ")), last);
}

void TFormatIEForm::Prepare() {
  const auto formats = ExchangeFormats();
  for (int row = 0; row < formatList_->count(); ++row) {
    const TExchangeFormatInfo& format = formats[std::size_t(row)];
    formatList_->item(row)->setHidden(!format.OfferedBothWays && !(ImportMode ? format.Imports() : format.Exports()));
  }
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
    description = (ImportMode ? Descriptions : ExportDescriptions).value(formatList_->row(selected.constFirst()));
    description.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  }
  descriptionLabel_->setText(description);
}

bool TFormatIEForm::eventFilter(QObject* watched, QEvent* event) {
  // Taking the focus makes the first entry current without selecting it, so Down would move past
  // it and Home would stay put. While nothing is selected the keys start as from no entry at all.
  if (watched == formatList_ && event->type() == QEvent::KeyPress && formatList_->selectedItems().isEmpty()) {
    switch (static_cast<QKeyEvent*>(event)->key()) {
      case Qt::Key_Down:
      case Qt::Key_Up:
      case Qt::Key_Home:
      case Qt::Key_PageUp:
        formatList_->selectionModel()->clearCurrentIndex();
        break;
      default:
        break;
    }
  }
  return QDialog::eventFilter(watched, event);
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
  if (!LastExportFormat) {
    ShowForExport();
    return;
  }
  const TExchangeFormatInfo& format = FormatInfo(*LastExportFormat);
  TWriteOptions options = WriteOptionsOf(format, ExportScale);
  options.Map = mapExport_->Options;
  if (format.WriteOptions == TFormatOptions::Axes) {
    options.ZUp = axesExport_->ZUp;
    options.Scale = float(axesExport_->Scale);
  }
  Report(format, LastExportFileName, format.Write(editor_, FilePath(LastExportFileName), options));
}

void TFormatIEForm::ActionClick() {
  const QList<QListWidgetItem*> selected = formatList_->selectedItems();
  if (selected.isEmpty()) return;
  const int row = formatList_->row(selected.constFirst());
  const auto formats = ExchangeFormats();
  if (row < 0 || row >= int(formats.size())) return;
  const TExchangeFormatInfo& format = formats[std::size_t(row)];
  RunCommand(this, [&] { ImportMode ? Import(format) : Export(format); });
}

bool TFormatIEForm::RunOptions(bool showEmptyOption, float& scale, bool& importIntoEmpty) {
  options_.ShowEmptyOption = showEmptyOption;
  options_.Scale = scale;
  options_.ImportIntoEmpty = importIntoEmpty;
  if (!options_.Execute()) return false;
  scale = options_.Scale;
  importIntoEmpty = options_.ImportIntoEmpty;
  return true;
}

bool TFormatIEForm::CanImport(const QString& path) {
  const TExchangeFormatInfo* format = FindFormatByPath(FilePath(path));
  // A dropped picture may as well be meant as a background: heightmaps come through the chooser only.
  return format != nullptr && format->Imports() && format->ReadOptions != TFormatOptions::Heightmap;
}

bool TFormatIEForm::ImportFile(const QString& path) {
  const TExchangeFormatInfo* format = FindFormatByPath(FilePath(path));
  if (format == nullptr || !format->Imports()) return false;
  ImportMode = true;
  WarnBeforeImport(*format);
  return ImportFrom(*format, path);
}

void TFormatIEForm::WarnBeforeImport(const TExchangeFormatInfo& format) {
  const QString warning = FormatCaptionOf(format).ImportWarning;
  if (!warning.isEmpty()) {
    UserDialogs().Message(this, QStringLiteral("Warning"), warning, QMessageBox::Warning, QMessageBox::Ok);
  }
}

void TFormatIEForm::Import(const TExchangeFormatInfo& format) {
  if (!format.Imports()) {
    NotYetImplemented(this, QStringLiteral("Import %1").arg(FormatCaptionOf(format).Title));
    return;
  }
  WarnBeforeImport(format);
  const QString extension = QString::fromStdString(format.DefaultExtension());
  StartExchangeFolder(project_.FileName(), QString());
  const QString path = UserDialogs().ExchangeFileName(this, true, FilterOf(format), extension);
  if (path.isEmpty()) return;
  if (ImportFrom(format, path)) accept();
}

bool TFormatIEForm::ImportFrom(const TExchangeFormatInfo& format, const QString& path) {
  if (format.ReadOptions == TFormatOptions::Heightmap) return ImportHeightmapFrom(format, path);
  // The scale window: the scale, and whether to import into an empty project.
  float scale = ImportScale;
  bool intoEmpty = true;  // ticked again on every import
  if (!RunOptions(true, scale, intoEmpty)) return false;
  ImportFileName = path;
  ImportScale = scale;
  TReadOptions options;
  options.Scale = ImportScale;
  // The whole file is read before the project is replaced: a damaged file leaves it as it was.
  const TImport read = format.Read(FilePath(ImportFileName), options);
  if (intoEmpty) {
    if (project_.ConfirmDiscard()) return false;
    project_.NewProject(false);
  }
  ApplyImport(editor_, read);
  return true;
}

bool TFormatIEForm::ImportHeightmapFrom(const TExchangeFormatInfo& format, const QString& path) {
  // A picture that cannot be read is refused before anything is asked or changed.
  std::string note;
  const THeightGrid grid = ReadHeightmapFile(FilePath(path), note);
  if (!heightmapOptions_->Execute(grid.Width, grid.Height, editor_.Values.MinZ, editor_.Values.MaxZ)) return false;
  TReadOptions options;
  options.Heightmap = heightmapOptions_->Options;
  options.MinZ = editor_.Values.MinZ;
  options.MaxZ = editor_.Values.MaxZ;
  options.Picture = &grid;

  QProgressDialog progress(QStringLiteral("Building the terrain..."), QStringLiteral("&Cancel"), 0, 100, this);
  progress.setWindowTitle(QStringLiteral("Heightmap"));
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(400);
  options.Progress = [&progress](int done, int total) {
    progress.setMaximum(std::max(total, 1));
    progress.setValue(done);
    return !progress.wasCanceled();
  };
  TImport terrain;
  try {
    terrain = format.Read(FilePath(path), options);
  } catch (const EHeightmapCancelled&) {
    return false;
  }
  progress.reset();
  // Only a finished terrain replaces the project.
  if (heightmapOptions_->ImportIntoEmpty) {
    if (project_.ConfirmDiscard()) return false;
    project_.NewProject(false);
  }
  ImportFileName = path;
  if (!note.empty()) host_.Log("LOG: " + note);
  // Putting millions of records in takes a while too: the same window shows it and can stop it,
  // which takes the records out again.
  try {
    ApplyImport(editor_, terrain, options.Progress);
  } catch (const EHeightmapCancelled&) {
    return false;
  }
  if (heightmapOptions_->ImportIntoEmpty) {
    // The gradient spans the new terrain's heights, whatever black and white were mapped to.
    SetGradientToTerrain(editor_);
    ZoomToFit(editor_);
  }
  return true;
}

void TFormatIEForm::Export(const TExchangeFormatInfo& format) {
  if (!format.Exports()) {
    NotYetImplemented(this, QStringLiteral("Export %1").arg(FormatCaptionOf(format).Title));
    return;
  }
  const QString extension = QString::fromStdString(format.DefaultExtension());
  StartExchangeFolder(project_.FileName(), lastExportFolder_);
  const QString path = UserDialogs().ExchangeFileName(this, false, FilterOf(format), extension);
  if (path.isEmpty()) return;
  const bool scaled = format.WriteOptions == TFormatOptions::Scale;
  float scale = 1.0f;
  if (scaled) {
    scale = ExportScale;
    bool unused = false;
    if (!RunOptions(false, scale, unused)) return;
  }
  TWriteOptions options = WriteOptionsOf(format, scale);
  if (format.WriteOptions == TFormatOptions::Raster) {
    const std::int32_t grid = editor_.Values.GridX;
    const float pixel = grid > 0 ? float(grid) : 64.0f;
    const QSize size = TerrainPixels(editor_, pixel);
    if (!heightmapExport_->Execute(pixel, size.width(), size.height())) return;
    options.Heightmap = heightmapExport_->Options;
  }
  if (format.WriteOptions == TFormatOptions::Map) {
    if (!mapExport_->Execute()) return;
    options.Map = mapExport_->Options;
  }
  if (format.WriteOptions == TFormatOptions::Axes) {
    if (!axesExport_->Execute(format.Format == TExchangeFormat::Gltf)) return;
    options.ZUp = axesExport_->ZUp;
  }
  // Remembered before writing: a failed write is repeated by "Export again" as well.
  if (format.RepeatedByExportAgain) {
    LastExportFileName = path;
    LastExportFormat = format.Format;
  }
  if (scaled) ExportScale = scale;
  options.Scale = format.WriteOptions == TFormatOptions::Axes ? float(axesExport_->Scale) : scale;
  lastExportFolder_ = QFileInfo(path).absolutePath();
  Report(format, path, format.Write(editor_, FilePath(path), options));
}

void TFormatIEForm::Report(const TExchangeFormatInfo& format, const QString& path, const TExport& written) {
  for (const std::string& line : written.Log) host_.Log(line);
  const QString text = QStringLiteral("Wrote %1: %2").arg(QFileInfo(path).fileName(),
                                                          QString::fromStdString(WrittenText(format, editor_, written)));
  host_.Log("LOG: " + text.toStdString());
  if (auto* window = qobject_cast<QMainWindow*>(parentWidget())) window->statusBar()->showMessage(text, 10000);
}

}  // namespace terravel
