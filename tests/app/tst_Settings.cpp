// The settings store: defaults, the round trip, the recent-files list and its clean-up.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "AppTestSupport.h"
#include "app/Settings.h"
#include "app/WebPage.h"
#include "support/TestRegistry.h"

using namespace terravel;
using namespace terravel::test;

Q_DECLARE_METATYPE(terravel::TFileNameCase)

namespace {

QSettings Store() {
  return QSettings(QStringLiteral("Quillstone Software"), QStringLiteral("Terravel"));
}

QStringList Paths(int count, const char* prefix) {
  QStringList paths;
  for (int i = 0; i < count; ++i)
    paths.append(QStringLiteral("/maps/%1%2.tvp").arg(QLatin1String(prefix)).arg(i));
  return paths;
}

// The examples beside the test program (none, unless a test puts some there).
QStringList Examples() {
  TSettings settings;
  settings.AddExamples();
  return settings.RecentFiles;
}

}  // namespace

class TestSettings : public QObject {
  Q_OBJECT
 private slots:
  void init() { ClearSettingsStore(); }

  void roundTripAndStaleEntries() {
    TSettings eight;
    eight.ShowWelcomeDialog = false;
    eight.RecentFiles = Paths(8, "old");
    eight.SaveSettings();
    TSettings five;
    five.ShowWelcomeDialog = false;
    five.RecentFiles = Paths(5, "new");
    five.SaveSettings();

    QSettings store = Store();
    store.beginGroup(QStringLiteral("MRU"));
    QStringList keys = store.childKeys();
    keys.sort();
    QCOMPARE(keys, (QStringList{"0", "1", "2", "3", "4", "Count"}));
    store.endGroup();

    TSettings loaded;
    loaded.LoadSettings();
    QCOMPARE(loaded.ShowWelcomeDialog, false);
    QCOMPARE(loaded.RecentFiles, five.RecentFiles);
  }

  // What LoadSettings makes of a store that is missing parts or holds bad values.
  void loadFallsBackQuietly_data() {
    QTest::addColumn<QStringList>("entries");  // key=value lines written to the store; "-" writes nothing
    QTest::addColumn<bool>("showWelcome");
    QTest::addColumn<QStringList>("recentFiles");  // "examples" stands for the example list
    QTest::newRow("no store") << QStringList{"-"} << true << QStringList{"examples"};
    QTest::newRow("no MRU") << QStringList{"ShowWelcomeDialog=0"} << false << QStringList{"examples"};
    QTest::newRow("unreadable switch")
        << QStringList{"ShowWelcomeDialog=yes", "MRU/Count=0"} << true << QStringList{};
    QTest::newRow("count not a number")
        << QStringList{"MRU/Count=many", "MRU/0=/a.tvp"} << true << QStringList{"examples"};
    QTest::newRow("missing entry") << QStringList{"MRU/Count=3", "MRU/0=/a.tvp", "MRU/2=/c.tvp"} << true
                                   << QStringList{"/a.tvp", "", "/c.tvp"};
    QTest::newRow("entry not a text")
        << QStringList{"MRU/Count=3", "MRU/0=/a.tvp", "MRU/1=@list"} << true << QStringList{"/a.tvp"};
  }
  void loadFallsBackQuietly() {
    QFETCH(QStringList, entries);
    QFETCH(bool, showWelcome);
    QFETCH(QStringList, recentFiles);
    {
      QSettings store = Store();
      for (const QString& entry : entries) {
        if (entry == "-") continue;
        const QString key = entry.section('=', 0, 0), value = entry.section('=', 1);
        if (value == "@list") {
          store.setValue(key, QStringList{"/b.tvp", "/b2.tvp"});
        } else {
          store.setValue(key, value);
        }
      }
    }
    if (recentFiles == QStringList{"examples"}) recentFiles = Examples();
    TSettings settings;
    settings.ShowWelcomeDialog = !showWelcome;
    settings.LoadSettings();
    QCOMPARE(settings.ShowWelcomeDialog, showWelcome);
    QCOMPARE(settings.RecentFiles, recentFiles);
  }

  // A brush value out of the panel's range (a radius of 0 would refuse every stroke) keeps its default.
  void brushValuesAreChecked_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<float>("radius");
    QTest::addColumn<int>("mode");
    QTest::newRow("radius") << "Brush/Radius" << "40" << 40.f << 0;
    QTest::newRow("radius 0") << "Brush/Radius" << "0" << 512.f << 0;
    QTest::newRow("radius text") << "Brush/Radius" << "wide" << 512.f << 0;
    QTest::newRow("mode") << "Brush/Mode" << "3" << 512.f << 3;
    QTest::newRow("no such mode") << "Brush/Mode" << "4" << 512.f << 0;
  }
  void brushValuesAreChecked() {
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(float, radius);
    QFETCH(int, mode);
    Store().setValue(key, value);
    TSettings settings;
    settings.LoadSettings();
    QCOMPARE(settings.Brush.Radius, radius);
    QCOMPARE(static_cast<int>(settings.Brush.Mode), mode);
  }

  // Where the file system ignores letter case another spelling names the same file; on Linux
  // TEX.tvp and tex.tvp are two files and stay two entries.
  void addRecentFileMovesAMatchToTheTop_data() {
    QTest::addColumn<TFileNameCase>("nameCase");
    QTest::addColumn<QString>("added");
    QTest::addColumn<QStringList>("expected");
    const QStringList moved{"/maps/Dune.tvp", "/maps/a.tvp", "/maps/c.tvp"};
    QTest::newRow("ignoring case: another spelling moves the entry")
        << TFileNameCase::Ignored << "/MAPS/dune.TVP" << moved;
    QTest::newRow("exact: the same name moves the entry") << TFileNameCase::Exact << "/maps/Dune.tvp" << moved;
    QTest::newRow("exact: another spelling is another file")
        << TFileNameCase::Exact << "/maps/dune.tvp"
        << QStringList{"/maps/dune.tvp", "/maps/a.tvp", "/maps/Dune.tvp", "/maps/c.tvp"};
  }
  void addRecentFileMovesAMatchToTheTop() {
    QFETCH(TFileNameCase, nameCase);
    QFETCH(QString, added);
    QFETCH(QStringList, expected);
    TSettings settings;
    settings.RecentFiles = {"/maps/a.tvp", "/maps/Dune.tvp", "/maps/c.tvp"};
    settings.AddRecentFile(added, nameCase);
    QCOMPARE(settings.RecentFiles, expected);
    settings.AddRecentFile("/maps/new.tvp", nameCase);
    QCOMPARE(settings.RecentFiles.size(), expected.size() + 1);
    QCOMPARE(settings.RecentFiles.first(), QStringLiteral("/maps/new.tvp"));
  }

  void recentFilesOnLinuxTellLetterCaseApart() {
#ifdef Q_OS_LINUX
    TSettings settings;
    settings.RecentFiles = {"/maps/TEX.tvp"};
    settings.AddRecentFile("/maps/tex.tvp");
    QCOMPARE(settings.RecentFiles, (QStringList{"/maps/tex.tvp", "/maps/TEX.tvp"}));
#else
    QSKIP("file names ignore letter case here");
#endif
  }

  void examplesAreTheProjectFilesOfTheExamplesFolder() {
    QTemporaryDir parent;
    QDir(parent.path()).mkdir("examples");
    for (const char* name : {"Valley.tvp", "Ridge.tvp", "notes.txt"}) {
      QFile file(parent.path() + "/examples/" + name);
      QVERIFY(file.open(QIODevice::WriteOnly));
    }
    TSettings settings;
    settings.ShowWelcomeDialog = false;
    settings.RecentFiles = {"/old.tvp"};
    settings.AddExamples(parent.path());
    QVERIFY(settings.ShowWelcomeDialog);
    QStringList found = settings.RecentFiles;
    found.sort();
    QCOMPARE(found,
             (QStringList{parent.path() + "/examples/Ridge.tvp", parent.path() + "/examples/Valley.tvp"}));
  }

  // Installed, the program in <prefix>/bin finds them in <prefix>/share/terravel; a folder beside
  // the program (a build) comes first.
  void examplesOfAnInstalledProgram_data() {
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QString>("expected");
    QTest::newRow("installed") << QStringList{"share/terravel/examples"} << "share/terravel/examples/A.tvp";
    QTest::newRow("beside first") << QStringList{"share/terravel/examples", "bin/examples"}
                                  << "bin/examples/A.tvp";
  }
  void examplesOfAnInstalledProgram() {
    QFETCH(QStringList, folders);
    QFETCH(QString, expected);
    QTemporaryDir prefix;
    QVERIFY(QDir(prefix.path()).mkdir("bin"));
    for (const QString& folder : folders) {
      QVERIFY(QDir(prefix.path()).mkpath(folder));
      QFile file(prefix.path() + "/" + folder + "/A.tvp");
      QVERIFY(file.open(QIODevice::WriteOnly));
    }
    TSettings settings;
    settings.AddExamples(prefix.path() + "/bin");
    QCOMPARE(settings.RecentFiles, QStringList{prefix.path() + "/" + expected});
    // The manual is not there: its page is looked for where the installed data lies.
    QCOMPARE(ManualPage(prefix.path() + "/bin", 0),
             prefix.path() + "/share/terravel/guide/index.html");
  }
};

TERRAVEL_TEST(TestSettings)
#include "tst_Settings.moc"
