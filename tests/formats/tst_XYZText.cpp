// The XYZ coordinate text: writing with a scale, and reading lines into appended nodes.
#include <QTest>

#include <cmath>
#include <limits>
#include <random>

#include "model/core/Errors.h"
#include "model/editor/Editor.h"
#include "model/formats/XYZText.h"
#include "model/text/NumberText.h"
#include "support/RecordingHost.h"
#include "support/TempDir.h"
#include "support/TestRegistry.h"

using namespace terravel;

namespace {

// The imported nodes as "x y z" lines, for readable comparisons.
QString Coordinates(const TEditor& editor, int from = 0) {
  QStringList lines;
  for (int i = from; i < editor.Nodes.Count(); ++i) {
    const T3DCoord& n = editor.Nodes[i];
    lines << QString("%1 %2 %3").arg(double(n.X)).arg(double(n.Y)).arg(double(n.Z));
  }
  return lines.join('|');
}

// The text read and put in as the program does it (the reader, then ApplyImport); how many nodes
// it read.
int Import(TEditor& editor, std::string_view bytes, float scale) {
  const TImport import{XYZNodesOf(bytes, scale), {}, {}};
  ApplyImport(editor, import);
  return int(std::get<TAppendedMesh>(import.Delta).Nodes.size());
}

}  // namespace

class TestXYZText : public QObject {
  Q_OBJECT
 private slots:
  void cleanup() { SetDecimalSeparator('.'); }

  void exportTwoDecimalsWithAPoint_data() {
    QTest::addColumn<char>("separator");
    QTest::newRow("point") << '.';
    QTest::newRow("comma") << ',';
  }
  void exportTwoDecimalsWithAPoint() {
    QFETCH(char, separator);
    SetDecimalSeparator(separator);
    TEditor editor;
    QCOMPARE(XYZTextOf(editor, 1), std::string());
    editor.Nodes.NewNode("", "", 128, 256, -64);
    editor.Nodes.NewNode("", "", 24.69f, 2, -0.0f);
    QCOMPARE(XYZTextOf(editor, 0.5f), std::string("64.00\t128.00\t-32.00\r\n12.35\t1.00\t0.00\r\n"));
  }

  void import_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<char>("separator");
    QTest::addColumn<float>("scale");
    QTest::addColumn<QString>("nodes");
    QTest::newRow("three columns") << QByteArray("1\t2\t3\r\n-4.5\t5\t6\r\n") << '.' << 1.0f
                                   << "1 2 3|-4.5 5 6";
    QTest::newRow("two columns") << QByteArray("10\t20") << '.' << 1.0f << "10 20 0";
    QTest::newRow("letters") << QByteArray("abc\r\n") << '.' << 1.0f << "0 0 0";
    QTest::newRow("comments and blanks")
        << QByteArray("   ; remark\r\n   \r\n\r\n;x\r\n  7\t8\t9\r\n") << '.' << 1.0f << "7 8 9";
    QTest::newRow("leading tab kept") << QByteArray("\t5\t6") << '.' << 1.0f << "0 5 6";
    QTest::newRow("point, point user") << QByteArray("1.5") << '.' << 1.0f << "1.5 0 0";
    QTest::newRow("comma, point user") << QByteArray("1,5") << '.' << 1.0f << "0 0 0";
    QTest::newRow("point, comma user") << QByteArray("1.5") << ',' << 1.0f << "1.5 0 0";
    QTest::newRow("comma, comma user") << QByteArray("1,5") << ',' << 1.0f << "1.5 0 0";
    QTest::newRow("scale on all axes") << QByteArray("1\t2\t3") << '.' << 2.0f << "2 4 6";
    QTest::newRow("third column to the end") << QByteArray("1\t2\t3\t4") << '.' << 1.0f << "1 2 34";
    QTest::newRow("LF alone ends a line") << QByteArray("1\t2\t3\n4\t5\t6\n7\n") << '.' << 1.0f << "1 2 3|4 5 6|7 0 0";
    QTest::newRow("LF CR: the empty line between is skipped")
        << QByteArray("1\t2\t3\n\r4\t5\t6\n\r") << '.' << 1.0f << "1 2 3|4 5 6";
    QTest::newRow("CR alone ends a line") << QByteArray("1\r\r\n2\r3") << '.' << 1.0f << "1 0 0|2 0 0|3 0 0";
    QTest::newRow("Ctrl+Z ends the file")
        << QByteArray("1\t2\t3\r\n7\0324\t5\t6\r\n") << '.' << 1.0f << "1 2 3|7 0 0";
    QTest::newRow("spaces around numbers") << QByteArray("  1 \t 2\t3 ") << '.' << 1.0f << "1 2 3";
    QTest::newRow("exponent") << QByteArray("1e3") << '.' << 1.0f << "1000 0 0";
    QTest::newRow("largest single-precision number")
        << QByteArray("3.4028234e38\t-3.4028235e38") << '.' << 1.0f << "3.40282e+38 -3.40282e+38 0";
    QTest::newRow("empty file") << QByteArray() << '.' << 1.0f << "";
  }
  void import() {
    QFETCH(QByteArray, bytes);
    QFETCH(char, separator);
    QFETCH(float, scale);
    QFETCH(QString, nodes);
    SetDecimalSeparator(separator);
    TEditor editor;
    const int added = Import(editor, std::string_view(bytes.constData(), bytes.size()), scale);
    QCOMPARE(Coordinates(editor), nodes);
    QCOMPARE(added, editor.Nodes.Count());
  }

  // A value that times the scale is no single-precision number would become an infinite node:
  // the file is refused with the line, and nothing enters.
  void valuesBeyondSingleRangeRefuseTheFile_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<char>("separator");
    QTest::addColumn<float>("scale");
    QTest::addColumn<QString>("message");
    QTest::newRow("1e39") << QByteArray("1\t2\t3\r\n4\t1e39\t6\r\n") << '.' << 1.0f
                          << "Line 2: the coordinate 1e39 lies outside the single-precision range.";
    QTest::newRow("scaled beyond") << QByteArray("; big\n\n1e30\t0\t0\n") << '.' << 1e10f
                                   << "Line 3: the coordinate 1e30 lies outside the single-precision range.";
    QTest::newRow("comma user") << QByteArray("-4,5e38") << ',' << 1.0f
                                << "Line 1: the coordinate -4.5e38 lies outside the single-precision range.";
  }
  void valuesBeyondSingleRangeRefuseTheFile() {
    QFETCH(QByteArray, bytes);
    QFETCH(char, separator);
    QFETCH(float, scale);
    QFETCH(QString, message);
    SetDecimalSeparator(separator);
    TEditor editor;
    editor.Nodes.NewNode("", "", 1, 2, 3);
    try {
      Import(editor, std::string_view(bytes.constData(), bytes.size()), scale);
      QFAIL("imported");
    } catch (const EInvalidFileError& error) {
      QCOMPARE(QString(error.what()), message);
    }
    QCOMPARE(editor.Nodes.Count(), 1);
  }

  // "nan" and "inf" are no numbers for the programs that read the text: such a node refuses the
  // export, as does one that the scale carries beyond the single-precision range.
  void nonFiniteCoordinatesRefuseTheExport_data() {
    QTest::addColumn<float>("z");
    QTest::addColumn<float>("scale");
    QTest::addColumn<QString>("message");
    QTest::newRow("NaN") << std::numeric_limits<float>::quiet_NaN() << 1.0f
                         << "Cannot export: the Z coordinate of node 1 (Node2) is not a finite number.";
    QTest::newRow("infinity") << -std::numeric_limits<float>::infinity() << 1.0f
                              << "Cannot export: the Z coordinate of node 1 (Node2) is not a finite number.";
    QTest::newRow("scaled beyond") << 3e38f << 16.0f
                                   << "Cannot export: node 1 (Node2) times the scale 16 lies outside the "
                                      "single-precision range.";
  }
  void nonFiniteCoordinatesRefuseTheExport() {
    QFETCH(float, z);
    QFETCH(float, scale);
    QFETCH(QString, message);
    test::TTempFolder folder;
    const std::string path = folder.Path("points.txt");
    test::WriteWholeFile(path, "old");
    TEditor editor;
    editor.Nodes.NewNode("", "", 1, 2, 3);
    editor.Nodes.NewNode("", "", 4, 5, z);
    try {
      ExportXYZText(editor, path, scale);
      QFAIL("exported");
    } catch (const ETerravelError& error) {
      QCOMPARE(QString(error.what()), message);
    }
    QCOMPARE(test::ReadWholeFile(path), std::string("old"));
  }

  void importAppendsOutsideTheHistory() {
    test::TRecordingHost host;
    TEditor editor(&host);
    editor.Nodes.NewNode("", "", 0, 0, 0);  // Node1
    editor.Nodes.NewNode("", "Hill", 0, 0, 0);
    editor.Nodes.NewNode("", "Node3", 0, 0, 0);
    editor.Polygons.NewPolygon(0, 1, 2, "", "", "");
    editor.Values.MinZ = -5;
    editor.Values.MaxZ = 5;
    host.Clear();

    QCOMPARE(Import(editor, "1\t2\t3\r\n4\t5\t600\r\n", 1), 2);
    QCOMPARE(Coordinates(editor, 3), QString("1 2 3|4 5 600"));
    QCOMPARE(editor.Nodes[3].Name, std::string("Node2"));
    QCOMPARE(editor.Nodes[4].Name, std::string("Node4"));
    QVERIFY(editor.Nodes[4].Group.empty() && !editor.Nodes[4].Selected);
    QCOMPARE(editor.Nodes[4].BaseX, 4.0f);
    QCOMPARE(editor.Polygons.Count(), 1);
    QCOMPARE(editor.Values.MinZ, -5.0f);
    QCOMPARE(editor.Values.MaxZ, 5.0f);
    QCOMPARE(editor.History.UndoCount(), 0);
    // Outside the history, the import itself tells every window and the index once and marks the
    // project modified.
    QCOMPARE(QString::fromStdString(host.Joined()), QString("changes everything records modified"));
    QVERIFY(editor.Modified());
  }

  void roundTripThroughAFile_data() {
    QTest::addColumn<char>("separator");
    QTest::newRow("point") << '.';
    QTest::newRow("comma") << ',';
  }
  void roundTripThroughAFile() {
    QFETCH(char, separator);
    SetDecimalSeparator(separator);
    test::TTempFolder folder;
    const std::string path = folder.Path("points.txt");
    TEditor source;
    source.Nodes.NewNode("", "", 1.25f, -3.5f, 100);
    source.Nodes.NewNode("", "", -0.75f, 2048, 0.5f);
    ExportXYZText(source, path, 2);
    TEditor target;
    TReadOptions options;
    options.Scale = 0.5f;
    ApplyImport(target, ReadXYZText(path, options));
    QCOMPARE(Coordinates(target), Coordinates(source));
  }

  void filesThatCannotBeUsed() {
    test::TTempFolder folder;
    TEditor editor;
    editor.Nodes.NewNode("", "", 1, 2, 3);
    const std::string path = folder.Path("points.txt");
    test::WriteWholeFile(path, "old");
    QVERIFY_THROWS_EXCEPTION(EFileError, ExportXYZText(editor, folder.Path("missing/points.txt"), 1));
    QVERIFY_THROWS_EXCEPTION(EFileError, ReadXYZText(folder.Path("absent.txt"), {}));
    QCOMPARE(editor.Nodes.Count(), 1);
    QCOMPARE(test::ReadWholeFile(path), std::string("old"));
  }

  void garbageNeitherCrashesNorHangs() {
    std::mt19937 random(7);
    std::string garbage(1 << 20, '\0');
    for (char& c : garbage) {
      const unsigned byte = random() % 256;
      c = byte == 26 ? 'x' : static_cast<char>(byte);  // no Ctrl+Z: read it all
    }
    garbage += '\r' + std::string(4 << 20, '9');  // one very long last line
    TEditor editor;
    const int added = Import(editor, garbage, 1);
    QCOMPARE(added, editor.Nodes.Count());
    QVERIFY(added > 1000);
    for (const T3DCoord& node : editor.Nodes) QVERIFY(std::isfinite(node.X) && std::isfinite(node.Z));
    QCOMPARE(editor.Nodes[added - 1].X, 0.0f);  // far too large for a float
  }
};

TERRAVEL_TEST(TestXYZText)
#include "tst_XYZText.moc"
