#include "app/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>

#include <cmath>
#include <optional>

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
const char* const kView3DGroup = "View3D";
const char* const kBrushGroup = "Brush";

// The 3-D view's values: whatever is missing or unreadable keeps its default.
void ReadView3D(QSettings& store, TView3DSettings& v) {
  store.beginGroup(QString::fromLatin1(kView3DGroup));
  const auto real = [&](const char* key, double& value) {
    bool ok = false;
    const double read = store.value(QString::fromLatin1(key)).toDouble(&ok);
    if (ok && std::isfinite(read)) value = read;
  };
  const auto flag = [&](const char* key, bool& value) {
    bool ok = false;
    const int read = store.value(QString::fromLatin1(key)).toInt(&ok);
    if (ok) value = read != 0;
  };
  flag("Visible", v.Visible);
  flag("Floating", v.Floating);
  flag("HasCamera", v.HasCamera);
  flag("Wireframe", v.Wireframe);
  double area = v.Area;
  real("Area", area);
  if (area == 1 || area == 2 || area == 4 || area == 8) v.Area = static_cast<int>(area);
  real("Azimuth", v.Azimuth);
  real("Elevation", v.Elevation);
  real("Distance", v.Distance);
  real("FocusX", v.FocusX);
  real("FocusY", v.FocusY);
  real("FocusZ", v.FocusZ);
  real("Exaggeration", v.Exaggeration);
  double width = 0;
  real("Width", width);
  if (width >= 0 && width <= 100000) v.Width = static_cast<int>(width);
  store.endGroup();
}

void WriteView3D(QSettings& store, const TView3DSettings& v) {
  store.beginGroup(QString::fromLatin1(kView3DGroup));
  store.setValue(QStringLiteral("Visible"), v.Visible ? 1 : 0);
  store.setValue(QStringLiteral("Area"), v.Area);
  store.setValue(QStringLiteral("Floating"), v.Floating ? 1 : 0);
  store.setValue(QStringLiteral("HasCamera"), v.HasCamera ? 1 : 0);
  store.setValue(QStringLiteral("Azimuth"), v.Azimuth);
  store.setValue(QStringLiteral("Elevation"), v.Elevation);
  store.setValue(QStringLiteral("Distance"), v.Distance);
  store.setValue(QStringLiteral("FocusX"), v.FocusX);
  store.setValue(QStringLiteral("FocusY"), v.FocusY);
  store.setValue(QStringLiteral("FocusZ"), v.FocusZ);
  store.setValue(QStringLiteral("Exaggeration"), v.Exaggeration);
  store.setValue(QStringLiteral("Wireframe"), v.Wireframe ? 1 : 0);
  store.setValue(QStringLiteral("Width"), v.Width);
  store.endGroup();
}

// The brush: a value missing, unreadable or out of its range keeps its default.
void ReadBrush(QSettings& store, TSculptBrush& brush) {
  store.beginGroup(QString::fromLatin1(kBrushGroup));
  const auto real = [&](const char* key, double low, double high) {
    bool ok = false;
    const double read = store.value(QString::fromLatin1(key)).toDouble(&ok);
    return ok && read >= low && read <= high ? std::optional<double>(read) : std::nullopt;
  };
  if (auto mode = real("Mode", 0, 3)) brush.Mode = TSculptMode(static_cast<int>(*mode));
  if (auto radius = real("Radius", kMinBrushRadius, kMaxBrushRadius)) brush.Radius = static_cast<float>(*radius);
  if (auto strength = real("Strength", 0, kMaxBrushStrength)) brush.Strength = static_cast<float>(*strength);
  if (auto falloff = real("Falloff", 0, 2)) brush.Falloff = TFalloff(static_cast<int>(*falloff));
  store.endGroup();
}

void WriteBrush(QSettings& store, const TSculptBrush& brush) {
  store.beginGroup(QString::fromLatin1(kBrushGroup));
  store.setValue(QStringLiteral("Mode"), static_cast<int>(brush.Mode));
  store.setValue(QStringLiteral("Radius"), brush.Radius);
  store.setValue(QStringLiteral("Strength"), brush.Strength);
  store.setValue(QStringLiteral("Falloff"), static_cast<int>(brush.Falloff));
  store.endGroup();
}

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
  View3D = TView3DSettings();
  Brush = TSculptBrush();
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
  ReadView3D(store, View3D);
  ReadBrush(store, Brush);
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
  WriteView3D(store, View3D);
  WriteBrush(store, Brush);
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
