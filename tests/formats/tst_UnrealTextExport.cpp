// The Unreal text writer: the polygon list UnrealEd reads, byte for byte.
#include <QTest>

#include <cfloat>
#include <limits>

#include "FormatTestText.h"
#include "model/core/Errors.h"
#include "model/editor/Editor.h"
#include "model/formats/UnrealTextExport.h"
#include "model/text/NumberText.h"
#include "support/TempDir.h"
#include "support/TestRegistry.h"

using namespace terravel;
using terravel::test::FileText;

namespace {

// The worked example: one grass polygon over three nodes.
void AddExamplePolygon(TEditor& editor) {
  editor.Nodes.NewNode("", "", 0, -256, 0);
  editor.Nodes.NewNode("", "", 128.5f, 256, -64);
  editor.Nodes.NewNode("", "", -256, 256, 1024);
  editor.Polygons.NewPolygon(0, 1, 2, "GenEarth.Grass", "", "");
}

const char* const kExample = R"(Begin PolyList
   Begin Polygon Texture=GenEarth.Grass
      Vertex   +0.000000000000,-256.000000000000,+0.000000000000
      Vertex   +128.500000000000,+256.000000000000,-64.000000000000
      Vertex   -256.000000000000,+256.000000000000,+1024.000000000000
   End Polygon
End PolyList
)";

}  // namespace

class TestUnrealTextExport : public QObject {
  Q_OBJECT
 private slots:
  void cleanup() { SetDecimalSeparator('.'); }

  void workedExampleWhateverTheSeparator_data() {
    QTest::addColumn<char>("separator");
    QTest::newRow("point") << '.';
    QTest::newRow("comma") << ',';
    QTest::newRow("semicolon") << ';';
  }
  void workedExampleWhateverTheSeparator() {
    QFETCH(char, separator);
    SetDecimalSeparator(separator);
    TEditor editor;
    AddExamplePolygon(editor);
    QCOMPARE(UnrealTextOf(editor), FileText(kExample));
  }

  void vertexNumbers_data() {
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("stored tenth") << 0.1f << "+0.100000001490";
    QTest::newRow("negative zero") << -0.0f << "+0.000000000000";
    QTest::newRow("tiny negative") << -1e-20f << "-0.000000000000";
    QTest::newRow("half of the last digit, to even") << 0x1p-13f << "+0.000122070312";
    QTest::newRow("large") << 3e7f << "+30000000.000000000000";
    QTest::newRow("largest") << -FLT_MAX << "-340282346638528859811704183484516925440.000000000000";
  }
  void vertexNumbers() {
    QFETCH(float, value);
    QFETCH(QString, text);
    SetDecimalSeparator(',');
    TEditor editor;
    editor.Nodes.NewNode("", "", value, value, value);
    editor.Polygons.NewPolygon(0, 0, 0, "", "", "");
    const std::string vertex =
        "      Vertex   " + text.toStdString() + "," + text.toStdString() + "," + text.toStdString() + "\r\n";
    const std::string expected = "Begin PolyList\r\n   Begin Polygon Texture=\r\n" + vertex + vertex +
                                 vertex + "   End Polygon\r\nEnd PolyList\r\n";
    QCOMPARE(UnrealTextOf(editor), expected);
  }

  void nodesWithoutPolygonsGiveTheBareList() {
    TEditor editor;
    editor.Nodes.NewNode("", "", 1, 2, 3);
    QCOMPARE(UnrealTextOf(editor), std::string("Begin PolyList\r\nEnd PolyList\r\n"));
  }

  void polygonsInListOrderCornersInNodeOrder() {
    TEditor editor;
    editor.Nodes.NewNode("", "", 1, 0, 0);
    editor.Nodes.NewNode("", "", 2, 0, 0);
    editor.Nodes.NewNode("", "", 3, 0, 0);
    editor.Polygons.NewPolygon(0, 2, 1, "A B", "", "");  // texture with a space, shared nodes
    editor.Polygons.NewPolygon(1, 0, 2, "", "", "");
    editor.Polygons.SetSelected(0, true);
    QCOMPARE(UnrealTextOf(editor), FileText(R"(Begin PolyList
   Begin Polygon Texture=A B
      Vertex   +1.000000000000,+0.000000000000,+0.000000000000
      Vertex   +3.000000000000,+0.000000000000,+0.000000000000
      Vertex   +2.000000000000,+0.000000000000,+0.000000000000
   End Polygon
   Begin Polygon Texture=
      Vertex   +2.000000000000,+0.000000000000,+0.000000000000
      Vertex   +1.000000000000,+0.000000000000,+0.000000000000
      Vertex   +3.000000000000,+0.000000000000,+0.000000000000
   End Polygon
End PolyList
)"));
  }

  void exportWritesTheFileAndKeepsTheOldOneOnFailure() {
    test::TTempFolder folder;
    TEditor editor;
    AddExamplePolygon(editor);
    const std::string path = folder.Path("terrain.t3d");
    test::WriteWholeFile(path, "old");
    ExportUnrealText(editor, path);
    QCOMPARE(test::ReadWholeFile(path), FileText(kExample));

    QVERIFY_THROWS_EXCEPTION(EFileError, ExportUnrealText(editor, folder.Path("missing/terrain.t3d")));
    // A damaged document stops the export before anything replaces the file.
    editor.Polygons.NewPolygon(0, 1, 7, "", "", "");
    QVERIFY_THROWS_EXCEPTION(EAssertionFailure, ExportUnrealText(editor, path));
    QCOMPARE(test::ReadWholeFile(path), FileText(kExample));
  }

  // UnrealEd reads no "nan" or "inf": a node that holds one refuses the export, by name.
  void nonFiniteCoordinatesRefuseTheExport_data() {
    QTest::addColumn<int>("axis");
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("message");
    QTest::newRow("NaN X") << 0 << std::numeric_limits<float>::quiet_NaN()
                           << "Cannot export: the X coordinate of node 2 (Corner) is not a finite number.";
    QTest::newRow("+inf Y") << 1 << std::numeric_limits<float>::infinity()
                            << "Cannot export: the Y coordinate of node 2 (Corner) is not a finite number.";
    QTest::newRow("-inf Z") << 2 << -std::numeric_limits<float>::infinity()
                            << "Cannot export: the Z coordinate of node 2 (Corner) is not a finite number.";
  }
  void nonFiniteCoordinatesRefuseTheExport() {
    QFETCH(int, axis);
    QFETCH(float, value);
    QFETCH(QString, message);
    test::TTempFolder folder;
    const std::string path = folder.Path("terrain.t3d");
    test::WriteWholeFile(path, "old");
    TEditor editor;
    AddExamplePolygon(editor);
    editor.Nodes.SetName(2, "Corner");
    float* coordinates[] = {&editor.Nodes[2].X, &editor.Nodes[2].Y, &editor.Nodes[2].Z};
    *coordinates[axis] = value;
    for (const bool toFile : {false, true}) {
      try {
        if (toFile) {
          ExportUnrealText(editor, path);
        } else {
          UnrealTextOf(editor);
        }
        QFAIL("exported");
      } catch (const ETerravelError& error) {
        QCOMPARE(QString(error.what()), message);
      }
    }
    QCOMPARE(test::ReadWholeFile(path), std::string("old"));
  }
};

TERRAVEL_TEST(TestUnrealTextExport)
#include "tst_UnrealTextExport.moc"
