#pragma once
// The per-user settings: the welcome-screen switch, the recent project files (most recent
// first), the 3-D view and the sculpt brush. They live in QSettings under "Quillstone Software" / "Terravel".
#include <QString>
#include <QtGlobal>
#include <QStringList>

#include "model/shaping/SculptBrush.h"

namespace terravel {

// How the file system compares file names: Windows and macOS take TEX.tvp and tex.tvp for one
// file, Linux for two.
enum class TFileNameCase { Exact, Ignored };
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
inline constexpr TFileNameCase kFileNameCase = TFileNameCase::Ignored;
#else
inline constexpr TFileNameCase kFileNameCase = TFileNameCase::Exact;
#endif

// The 3-D view's dock and camera as the user left them.
struct TView3DSettings {
  bool Visible = false;
  int Area = 2;  // Qt::RightDockWidgetArea
  bool Floating = false;
  int Width = 0;  // of the docked view; 0: Qt's choice
  bool HasCamera = false;  // false: the view frames the terrain when it first shows
  double Azimuth = 30;
  double Elevation = 45;
  double Distance = 1000;
  double FocusX = 0;
  double FocusY = 0;
  double FocusZ = 0;
  double Exaggeration = 1;
  bool Wireframe = false;
};

class TSettings {
 public:
  bool ShowWelcomeDialog = true;
  QStringList RecentFiles;
  TView3DSettings View3D;
  TSculptBrush Brush;  // within the brush panel's ranges

  // Welcome screen on, no recent files.
  void ResetSettings();
  // Welcome screen on, and the recent files become every *.tvp in the "examples" folder of the
  // program (or of a program in programFolder): beside it, or installed in ../share/terravel.
  void AddExamples();
  void AddExamples(const QString& programFolder);
  // The defaults with the examples, then whatever the store holds. Missing or unreadable values
  // keep the defaults; a broken recent-files list keeps what was read before the break.
  void LoadSettings();
  // Writes both values; stale recent-file entries are removed. An unwritable store is an internal
  // error (Settings).
  void SaveSettings() const;
  // Moves an entry that names the same file to the top, keeping its spelling, or puts the path at
  // the top. Names match exactly, or ignoring letter case where the file system does. The list is
  // never shortened.
  void AddRecentFile(const QString& path, TFileNameCase nameCase = kFileNameCase);
};

}  // namespace terravel
