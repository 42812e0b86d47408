// The format table: what a name on the command line and a file's extension stand for, and which
// formats each direction offers.
#include <QTest>

#include <functional>

#include "T3DTestMaps.h"
#include "model/editor/Editor.h"
#include "model/formats/FormatTable.h"
#include "support/RecordingHost.h"
#include "support/TempDir.h"
#include "support/TestRegistry.h"

using namespace terravel;
using namespace terravel::test;

namespace {

// A document that is not empty, so that shared nodes and appended indices show.
struct TDocument {
  TRecordingHost host;
  TEditor editor{&host};
  TDocument() {
    editor.Nodes.NewNode("g", "Peak", 0, 0, 64);
    editor.Nodes.NewNode("", "", 10, 0, 0);
    editor.Nodes.NewNode("", "", 0, 10, 0);
    editor.Polygons.NewPolygon(0, 1, 2, "Rock", "", "");
  }
};

// Everything of the document a reader's delta can change, one line per record.
QStringList Contents(const TEditor& editor) {
  QStringList lines;
  for (const T3DCoord& n : editor.Nodes)
    lines << QString("node %1 %2 %3 %4 %5").arg(n.Name.c_str()).arg(n.X).arg(n.Y).arg(n.Z).arg(n.Selected);
  for (const TPoly& p : editor.Polygons) {
    lines << QString("polygon %1 %2 %3 %4 %5 %6")
                 .arg(p.Node1).arg(p.Node2).arg(p.Node3).arg(p.Texture.c_str()).arg(p.Name.c_str()).arg(p.Selected);
  }
  for (int i = 0; i < editor.History.UndoCount(); ++i)
    lines << QString::fromStdString("history " + editor.History.UndoAt(i).Description());
  lines << QString("MinZ %1 MaxZ %2").arg(editor.Values.MinZ).arg(editor.Values.MaxZ);
  return lines;
}

}  // namespace

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
    QTest::newRow("name heightmap") << "heightmap" << true << heightmap << true << true;
    QTest::newRow("path .png") << "hills.PNG" << false << heightmap << true << true;
    QTest::newRow("path .r16") << "tile.r16" << false << heightmap << true << true;
    QTest::newRow("path .raw") << "tile.raw" << false << heightmap << true << true;
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

  // Through the table a reader leaves the document alone, and the windows hear nothing; its delta,
  // applied, puts the file in.
  void readThenApplyIsTheImport_data() {
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("X/Y/Z text") << "points.txt" << QByteArray("10\t20\t30\r\n; remark\r\n1.5\t2\r\n");
    QTest::newRow("Unreal text") << "level.t3d" << QByteArray::fromStdString(RealLookingMap());
    QTest::newRow("raw heightmap") << "tile.r16" << QByteArray("\x00\x00\xff\xff\x00\x80\x10\x00", 8);
  }
  void readThenApplyIsTheImport() {
    QFETCH(QString, fileName);
    QFETCH(QByteArray, bytes);
    TTempFolder folder;
    const std::string path = folder.Path(fileName.toStdString());
    WriteWholeFile(path, bytes.toStdString());
    const TExchangeFormatInfo* format = FindFormatByPath(path);
    QVERIFY(format != nullptr && format->Imports());

    TDocument table;
    const QStringList before = Contents(table.editor);
    TReadOptions options;
    options.Scale = 2;
    options.MinZ = table.editor.Values.MinZ;
    options.MaxZ = table.editor.Values.MaxZ;
    const TImport imported = format->Read(path, options);
    QCOMPARE(Contents(table.editor), before);
    QVERIFY(table.host.Calls.empty());
    ApplyImport(table.editor, imported);
    QVERIFY(Contents(table.editor) != before);
  }
};

TERRAVEL_TEST(TestFormatTable)
#include "tst_FormatTable.moc"
