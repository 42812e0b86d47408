#pragma once
// The import/export format chooser: the user picks one of the exchange formats, then a file and
// the options of the format (a scale factor, or those of a heightmap import or export); the
// chooser runs the reader and puts what it read into the project, or runs the writer. One
// chooser lives for the whole run, so the scale factors and the last export are remembered
// until the program ends (they are not saved).
#include <QDialog>
#include <QString>
#include <QStringList>

#include <optional>

#include "model/formats/FormatTable.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace terravel {

class TEditor;
class THost;
class TProjectLifecycle;
class TOptionsIEForm;
class THeightmapOptionsForm;
class TAxesExportForm;
class THeightmapExportForm;
class TMapExportForm;

class TFormatIEForm : public QDialog {
  Q_OBJECT
 public:
  // The project is asked before an import into a new project replaces it; the options window
  // asks for a scale factor; the log lines of an import go to the host.
  TFormatIEForm(TEditor& editor, THost& host, TProjectLifecycle& project, TOptionsIEForm& options);

  // Opens the chooser modally for import; true when it closed after a finished import.
  bool ShowForImport();
  // Opens the chooser modally for export.
  void ShowForExport();
  // Repeats the last XYZ or Unreal text export without asking; before any, opens the chooser.
  void ExportAgain();
  bool HasLastExport() const { return LastExportFormat.has_value(); }
  // Whether a file's extension names a format that imports (.txt, .t3d); heightmaps do not count.
  static bool CanImport(const QString& path);
  // Imports the file as the chooser does once a file is picked: the warning of the format, the
  // options, the save question for an import into a new project. True when the import finished.
  bool ImportFile(const QString& path);

  bool ImportMode = false;
  QString ImportFileName;
  float ImportScale = 1.0f;
  QString LastExportFileName;
  std::optional<TExchangeFormat> LastExportFormat;  // none before the first export it repeats
  float ExportScale = 1.0f;
  QStringList Descriptions;
  QStringList ExportDescriptions;

  // The file dialog filter ("Name|pattern") of a format.
  static QString FilterOf(const TExchangeFormatInfo& format);
  // The Export command's hint, naming the pattern of every format that exports:
  // "Export into *.txt, *.t3d, *.tvt, or *.obj."
  static QString ExportHint();

  QListWidget* FormatList() const { return formatList_; }
  QLabel* DescriptionLabel() const { return descriptionLabel_; }
  QPushButton* ActionButton() const { return actionButton_; }
  QPushButton* CloseButton() const { return closeButton_; }
  THeightmapOptionsForm* HeightmapOptions() const { return heightmapOptions_; }
  THeightmapExportForm* HeightmapExport() const { return heightmapExport_; }
  TMapExportForm* MapExport() const { return mapExport_; }
  TAxesExportForm* AxesExport() const { return axesExport_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Prepare();
  void SelectionChanged();
  // The action button: runs the import or export of the selected format; an error is shown and
  // the chooser stays open.
  void ActionClick();
  void Import(const TExchangeFormatInfo& format);
  void WarnBeforeImport(const TExchangeFormatInfo& format);
  bool ImportFrom(const TExchangeFormatInfo& format, const QString& path);
  // The heightmap's own options, a progress window that can cancel, then the import.
  bool ImportHeightmapFrom(const TExchangeFormatInfo& format, const QString& path);
  void Export(const TExchangeFormatInfo& format);
  // The writer's log lines, then "Wrote valley.glb: 3 meshes, 8,192 triangles" in the log and
  // the status bar.
  void Report(const TExchangeFormatInfo& format, const QString& path, const TExport& written);
  // The options window with the given values; the scale is updated only when it is confirmed.
  bool RunOptions(bool showEmptyOption, float& scale, bool& importIntoEmpty);

  TEditor& editor_;
  THost& host_;
  TProjectLifecycle& project_;
  TOptionsIEForm& options_;
  THeightmapOptionsForm* heightmapOptions_ = nullptr;
  THeightmapExportForm* heightmapExport_ = nullptr;
  TMapExportForm* mapExport_ = nullptr;
  TAxesExportForm* axesExport_ = nullptr;
  QString lastExportFolder_;
  QListWidget* formatList_ = nullptr;
  QLabel* descriptionLabel_ = nullptr;
  QPushButton* actionButton_ = nullptr;
  QPushButton* closeButton_ = nullptr;
};

}  // namespace terravel
