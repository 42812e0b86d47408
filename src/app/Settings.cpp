#include "app/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>

#include "app/DataPaths.h"
#include "render/FilePaths.h"
#include "model/core/Errors.h"
#include "model/text/NumberText.h"

namespace terravel {

namespace {

const char* const kOrganisation = "Quillstone Software";
const char* const kApplication = "Terravel";
const char* const kShowWelcome = "ShowWelcomeDialog";
const char* const kRecentGroup = "MRU";
const char* const kCount = "Count";

// A 32-bit integer value as the store keeps it (an INI file holds it as text).
bool ReadInteger(const QVariant& value, int& result) {
  if (!value.isValid() || value.typeId() == QMetaType::QStringList) return false;
  bool ok = false;
  result = value.toInt(&ok);
  return ok;
}

}  // namespace

void TSettings::ResetSettings() {
  ShowWelcomeDialog = true;
  RecentFiles.clear();
}

void TSettings::AddExamples() {
  AddExamples(QCoreApplication::applicationDirPath());
}

void TSettings::AddExamples(const QString& programFolder) {
  ShowWelcomeDialog = true;
  RecentFiles.clear();
  const QString folder = QDir::toNativeSeparators(DataFolder(programFolder, QStringLiteral("examples")));
  const QDir examples(folder, QStringLiteral("*.tvp"), QDir::Unsorted,
                      QDir::Files | QDir::Hidden | QDir::System);
  for (const QString& name : examples.entryList()) {
    RecentFiles.append(folder + QDir::separator() + name);
  }
}

void TSettings::LoadSettings() {
  ResetSettings();
  AddExamples();
  QSettings store(QString::fromLatin1(kOrganisation), QString::fromLatin1(kApplication));
  if (store.allKeys().isEmpty()) return;
  int show = 1;
  if (ReadInteger(store.value(QString::fromLatin1(kShowWelcome)), show)) ShowWelcomeDialog = show != 0;
  if (!store.childGroups().contains(QString::fromLatin1(kRecentGroup))) return;
  store.beginGroup(QString::fromLatin1(kRecentGroup));
  int count = 0;
  if (!ReadInteger(store.value(QString::fromLatin1(kCount)), count)) return;
  RecentFiles.clear();
  for (int i = 0; i < count; ++i) {
    const QVariant entry = store.value(QString::number(i));
    if (!entry.isValid()) {
      RecentFiles.append(QString());
      continue;
    }
    if (entry.typeId() != QMetaType::QString) return;
    RecentFiles.append(entry.toString());
  }
}

void TSettings::SaveSettings() const {
  QSettings store(QString::fromLatin1(kOrganisation), QString::fromLatin1(kApplication));
  store.setValue(QString::fromLatin1(kShowWelcome), ShowWelcomeDialog ? 1 : 0);
  store.beginGroup(QString::fromLatin1(kRecentGroup));
  store.remove(QString());
  store.setValue(QString::fromLatin1(kCount), static_cast<int>(RecentFiles.size()));
  for (qsizetype i = 0; i < RecentFiles.size(); ++i) store.setValue(QString::number(i), RecentFiles[i]);
  store.endGroup();
  store.sync();
  Require(store.status() == QSettings::NoError, modules::Settings,
          "the settings cannot be written to " + store.fileName().toStdString());
}

void TSettings::AddRecentFile(const QString& path, TFileNameCase nameCase) {
  const std::string wanted = FilePath(path);
  for (qsizetype i = 0; i < RecentFiles.size(); ++i) {
    const std::string entry = FilePath(RecentFiles[i]);
    if (nameCase == TFileNameCase::Exact ? entry == wanted : SameTextIgnoringCase(entry, wanted)) {
      RecentFiles.move(i, 0);
      return;
    }
  }
  RecentFiles.prepend(path);
}

}  // namespace terravel
