#pragma once
// The per-user settings: the welcome-screen switch and the recent project files, most recent
// first. They live in QSettings under "Quillstone Software" / "Terravel".
#include <QString>
#include <QtGlobal>
#include <QStringList>

namespace terravel {

// How the file system compares file names: Windows and macOS take TEX.tvp and tex.tvp for one
// file, Linux for two.
enum class TFileNameCase { Exact, Ignored };
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
inline constexpr TFileNameCase kFileNameCase = TFileNameCase::Ignored;
#else
inline constexpr TFileNameCase kFileNameCase = TFileNameCase::Exact;
#endif

class TSettings {
 public:
  bool ShowWelcomeDialog = true;
  QStringList RecentFiles;

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
