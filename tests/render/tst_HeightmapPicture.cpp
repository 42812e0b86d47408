// Reading heightmap pictures: 16-bit precision, colour converted with a note, damaged files refused.
#include <QImage>
#include <QTest>

#include "model/heightmap/HeightmapErrors.h"
#include "render/HeightmapPicture.h"
#include "support/TempDir.h"
#include "support/TestRegistry.h"

using namespace terravel;

class TestHeightmapPicture : public QObject {
  Q_OBJECT
  test::TTempFolder folder_;

 private slots:
  void sixteenBitsStayApart() {
    QImage picture(3, 2, QImage::Format_Grayscale16);
    picture.fill(0);
    // Two values an 8-bit picture would round together.
    reinterpret_cast<quint16*>(picture.scanLine(0))[1] = 30000;
    reinterpret_cast<quint16*>(picture.scanLine(0))[2] = 30001;
    reinterpret_cast<quint16*>(picture.scanLine(1))[0] = 65535;
    const std::string path = folder_.Path("deep.png");
    QVERIFY(picture.save(QString::fromStdString(path)));
    std::string note;
    const THeightGrid grid = ReadHeightmapFile(path, note);
    QVERIFY(note.empty());
    QCOMPARE(grid.Width, 3);
    QCOMPARE(grid.Height, 2);
    QCOMPARE(grid.At(1, 0), 30000.0f / 65535.0f);
    QCOMPARE(grid.At(2, 0), 30001.0f / 65535.0f);
    QCOMPARE(grid.At(0, 1), 1.0f);
  }

  void colourIsConvertedWithANote() {
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.fill(QColor(255, 0, 0));
    picture.setPixel(1, 1, qRgb(255, 255, 255));
    const std::string path = folder_.Path("colour.png");
    QVERIFY(picture.save(QString::fromStdString(path)));
    std::string note;
    const THeightGrid grid = ReadHeightmapFile(path, note);
    QVERIFY(QString::fromStdString(note).contains("converted to greyscale"));
    QCOMPARE(grid.At(1, 1), 1.0f);
    QVERIFY2(grid.At(0, 0) > 0.1f && grid.At(0, 0) < 0.9f, qPrintable(QString::number(grid.At(0, 0))));
  }

  void damagedFilesAreRefused_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("keep");  // bytes of a good PNG kept
    QTest::newRow("truncated PNG") << "cut.png" << 60;
    QTest::newRow("raw not square") << "odd.r16" << 6;
  }
  void damagedFilesAreRefused() {
    QFETCH(QString, name);
    QFETCH(int, keep);
    QImage picture(16, 16, QImage::Format_Grayscale8);
    picture.fill(100);
    const std::string good = folder_.Path("good.png");
    QVERIFY(picture.save(QString::fromStdString(good)));
    const std::string bytes = test::ReadWholeFile(good).substr(0, std::size_t(keep));
    const std::string path = folder_.Path(name.toStdString());
    test::WriteWholeFile(path, bytes);
    std::string note;
    QVERIFY_THROWS_EXCEPTION(EHeightmapError, ReadHeightmapFile(path, note));
  }
};

TERRAVEL_TEST(TestHeightmapPicture)
#include "tst_HeightmapPicture.moc"
