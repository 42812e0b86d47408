// Replacing a file: the new bytes take the old file's place with its permissions, a new file
// gets the usual ones, and no temporary file is left beside it. A link is written through, a pipe
// directly; reading refuses what never ends.
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

  // A device or a pipe never ends, and a file bigger than the machine's memory cannot be held:
  // each is refused by name before a byte is read.
  void readingRefusesWhatIsNoRegularFile_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("cause");
    QTest::newRow("endless device") << "device" << "not a regular file";
    QTest::newRow("named pipe") << "pipe" << "not a regular file";
    QTest::newRow("file of a terabyte") << "huge" << "1099511627776 bytes, more than the memory holds";
  }
  void readingRefusesWhatIsNoRegularFile() {
    QFETCH(QString, kind);
    QFETCH(QString, cause);
    test::TTempFolder folder;
    const std::string path = kind == "device" ? std::string("/dev/zero") : folder.Path(kind.toStdString());
    if (kind == "pipe") QCOMPARE(mkfifo(path.c_str(), 0600), 0);
    if (kind == "huge") {
      test::WriteWholeFile(path, "");
      if (truncate(path.c_str(), off_t{1} << 40) != 0) QSKIP("no sparse file of a terabyte here");
    }
    // The pipe has a writer, so a reader that waits for its end would wait for ever.
    const int writer = kind == "pipe" ? open(path.c_str(), O_RDWR) : -1;
    QString message;
    try {
      ReadFileBytes(path);
    } catch (const EFileError& error) {
      message = QString::fromUtf8(error.what());
    }
    if (writer >= 0) close(writer);
    QVERIFY2(message.contains(QString::fromStdString(path)) && message.contains(cause), qPrintable(message));
  }

  // A link is written through to its file (also one that does not exist yet) and stays a link;
  // a pipe is written into, not replaced.
  void writingGoesThroughLinksAndIntoPipes_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("link") << "link";
    QTest::newRow("link to a new file") << "dangling";
    QTest::newRow("named pipe") << "pipe";
  }
  void writingGoesThroughLinksAndIntoPipes() {
    QFETCH(QString, kind);
    test::TTempFolder folder;
    const std::string target = folder.Path("target.tvp"), named = folder.Path("named.tvp");
    int reader = -1;
    if (kind == "pipe") {
      QCOMPARE(mkfifo(named.c_str(), 0600), 0);
      reader = open(named.c_str(), O_RDONLY | O_NONBLOCK);
    } else {
      if (kind == "link") test::WriteWholeFile(target, "old");
      fs::create_symlink("target.tvp", named);
    }

    WriteFileAtomically(named, "new bytes");

    if (kind == "pipe") {
      QVERIFY(fs::is_fifo(fs::symlink_status(named)));
      char got[32] = {};
      QCOMPARE(read(reader, got, sizeof got), ssize_t(9));
      close(reader);
      QCOMPARE(std::string(got), std::string("new bytes"));
    } else {
      QVERIFY(fs::is_symlink(fs::symlink_status(named)));
      QCOMPARE(test::ReadWholeFile(target), std::string("new bytes"));
    }
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder.Path(""))) ++files;
    QCOMPARE(files, kind == "pipe" ? 1 : 2);
  }
};

TERRAVEL_TEST(TestFileIO)
#include "tst_FileIO.moc"
