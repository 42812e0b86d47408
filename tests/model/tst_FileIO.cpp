// Replacing a file: the new bytes take the old file's place with its permissions, a new file
// gets the usual ones, and no temporary file is left beside it.
#include <QTest>

#include <filesystem>

#include "model/core/Errors.h"
#include "model/core/FileIO.h"
#include "support/TempDir.h"
#include "support/TestRegistry.h"

using namespace terravel;
namespace fs = std::filesystem;

class TestFileIO : public QObject {
  Q_OBJECT
 private slots:
  void replacementKeepsPermissions_data() {
    QTest::addColumn<bool>("exists");
    QTest::addColumn<int>("mode");
    QTest::newRow("owner only") << true << 0600;
    QTest::newRow("read-only for all") << true << 0444;
    QTest::newRow("new file") << false << 0;
  }
  void replacementKeepsPermissions() {
    QFETCH(bool, exists);
    QFETCH(int, mode);
    test::TTempFolder folder;
    const std::string path = folder.Path("a.tvp");
    fs::perms expected = fs::perms::owner_read | fs::perms::owner_write;
    if (exists) {
      test::WriteWholeFile(path, "old");
      fs::permissions(path, fs::perms(mode));
      expected = fs::perms(mode);
    } else {
      // What any new file of this process gets.
      test::WriteWholeFile(folder.Path("plain"), "");
      expected = fs::status(folder.Path("plain")).permissions();
      fs::remove(folder.Path("plain"));
    }

    WriteFileAtomically(path, "new bytes");

    QCOMPARE(ReadFileBytes(path), std::string("new bytes"));
    QCOMPARE(int(fs::status(path).permissions()), int(expected));
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder.Path(""))) ++files;
    QCOMPARE(files, 1);
  }

  void uncommittedFileLeavesTheOldOne() {
    test::TTempFolder folder;
    const std::string path = folder.Path("a.tvp");
    test::WriteWholeFile(path, "old");
    {
      TAtomicFile file(path);
      file.Write("half");
    }
    QCOMPARE(ReadFileBytes(path), std::string("old"));
    QVERIFY_THROWS_EXCEPTION(EFileError, ReadFileBytes(folder.Path("")));
  }
};

TERRAVEL_TEST(TestFileIO)
#include "tst_FileIO.moc"
