// The format table: what a name on the command line and a file's extension stand for, and which
// formats each direction offers.
#include <QTest>

#include "model/formats/FormatTable.h"
#include "support/TestRegistry.h"

using namespace terravel;

class TestFormatTable : public QObject {
  Q_OBJECT
 private slots:
  void namesAndExtensions_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("byName");
    QTest::addColumn<int>("format");  // -1: none
    QTest::addColumn<bool>("imports");
    QTest::addColumn<bool>("exports");
    const int xyz = int(TExchangeFormat::XYZText), unreal = int(TExchangeFormat::UnrealText);
    const int project = int(TExchangeFormat::ProjectText);
    QTest::newRow("name txt") << "txt" << true << xyz << true << true;
    QTest::newRow("name t3d") << "t3d" << true << unreal << true << true;
    QTest::newRow("name tvt") << "tvt" << true << project << false << true;
    const int heightmap = int(TExchangeFormat::Heightmap), obj = int(TExchangeFormat::WavefrontOBJ);
    QTest::newRow("name heightmap") << "heightmap" << true << heightmap << true << false;
    QTest::newRow("path .png") << "hills.PNG" << false << heightmap << true << false;
    QTest::newRow("path .r16") << "tile.r16" << false << heightmap << true << false;
    QTest::newRow("path .raw") << "tile.raw" << false << heightmap << true << false;
    QTest::newRow("name obj") << "obj" << true << obj << false << true;
    QTest::newRow("path .obj") << "terrain.obj" << false << obj << false << true;
    QTest::newRow("names are exact") << "T3D" << true << -1 << false << false;
    QTest::newRow("the project file is no exchange format") << "tvp" << true << -1 << false << false;
    QTest::newRow("path .txt") << "/maps/points.txt" << false << xyz << true << true;
    QTest::newRow("path .T3D, any letter case") << "Valley.T3D" << false << unreal << true << true;
    QTest::newRow("path .tvt") << "a.b/out.tvt" << false << project << false << true;
    QTest::newRow("dot only in the folder") << "maps.t3d/valley" << false << -1 << false << false;
    QTest::newRow("unknown extension") << "x.doc" << false << -1 << false << false;
    QTest::newRow("empty extension") << "x." << false << -1 << false << false;
  }
  void namesAndExtensions() {
    QFETCH(QString, key);
    QFETCH(bool, byName);
    QFETCH(int, format);
    QFETCH(bool, imports);
    QFETCH(bool, exports);
    const std::string text = key.toStdString();
    const TExchangeFormatInfo* info = byName ? FindFormatByName(text) : FindFormatByPath(text);
    QCOMPARE(info == nullptr ? -1 : int(info->Format), format);
    if (info == nullptr) return;
    QCOMPARE(info, &FormatInfo(info->Format));
    // The chooser lists the formats in table order and finds each by its position.
    QCOMPARE(&ExchangeFormats()[std::size_t(format)], info);
    QCOMPARE(info->Imports(), imports);
    QCOMPARE(info->Exports(), exports);
    // Every extension names the format again, and the chooser's patterns list them all.
    std::string patterns;
    for (const std::string& extension : info->Extensions) {
      QCOMPARE(FindFormatByPath("f." + extension), info);
      patterns += (patterns.empty() ? "*." : ";*.") + extension;
    }
    QCOMPARE(info->Pattern, patterns);
  }
};

TERRAVEL_TEST(TestFormatTable)
#include "tst_FormatTable.moc"
