// The project text writer: header, node blocks, three empty lines, polygon blocks.
#include <QTest>

#include "FormatTestText.h"
#include "model/core/Errors.h"
#include "model/editor/Editor.h"
#include "model/formats/ProjectTextExport.h"
#include "model/project/NewProject.h"
#include "model/text/NumberText.h"
#include "support/TempDir.h"
#include "support/TestRegistry.h"

using namespace terravel;
using terravel::test::FileText;

namespace {

const char* const kHeader = R"(TVT

; Terravel Portable Project
; Version 0.7

)";

}  // namespace

class TestProjectTextExport : public QObject {
  Q_OBJECT
 private slots:
  void cleanup() { SetDecimalSeparator('.'); }

  void emptyProjectIsEightLines() {
    TEditor editor;
    QCOMPARE(ProjectTextOf(editor), FileText(R"(TVT

; Terravel Portable Project
; Version 0.7




)"));
  }

  void nodeBlockUsesTheUserSeparator_data() {
    QTest::addColumn<char>("separator");
    QTest::addColumn<QString>("x");
    QTest::addColumn<QString>("y");
    QTest::addColumn<QString>("z");
    QTest::newRow("point") << '.' << "+128.000000000000"
                           << "-64.500000000000"
                           << "+0.000000000000";
    QTest::newRow("comma") << ',' << "+128,000000000000"
                           << "-64,500000000000"
                           << "+0,000000000000";
  }
  void nodeBlockUsesTheUserSeparator() {
    QFETCH(char, separator);
    QFETCH(QString, x);
    QFETCH(QString, y);
    QFETCH(QString, z);
    SetDecimalSeparator(separator);
    TEditor editor;
    editor.Nodes.NewNode("", "", 128, -64.5f, 0);
    const std::string expected =
        std::string(kHeader) + "Begin Node\t\t; Node #1\n\tGroup\t\n\tName\tNode1\n\tX\t" + x.toStdString() +
        "\n\tY\t" + y.toStdString() + "\n\tZ\t" + z.toStdString() + "\nEnd Node\n\n\n\n";
    QCOMPARE(ProjectTextOf(editor), FileText(expected));
  }

  void wholeProject() {
    TEditor editor;
    NewProject(editor, true);  // Node1..Node3 and Polygon1 over them
    editor.Nodes.NewNode("Rim", "A\tB", -5, 5, -0.0f);
    editor.Polygons.NewPolygon(3, 2, 1, "", "Sky", "");
    editor.Polygons[1].Color = 65280;
    editor.Polygons.NewPolygon(0, 3, 2, "Stone", "", "Red");
    editor.Polygons[2].Color = 255;
    QCOMPARE(ProjectTextOf(editor), FileText(std::string(kHeader) + R"(Begin Node\t\t; Node #1
\tGroup\t
\tName\tNode1
\tX\t+0.000000000000
\tY\t-256.000000000000
\tZ\t+0.000000000000
End Node
Begin Node\t\t; Node #2
\tGroup\t
\tName\tNode2
\tX\t-256.000000000000
\tY\t+256.000000000000
\tZ\t+1024.000000000000
End Node
Begin Node\t\t; Node #3
\tGroup\t
\tName\tNode3
\tX\t+256.000000000000
\tY\t+256.000000000000
\tZ\t+512.000000000000
End Node
Begin Node\t\t; Node #4
\tGroup\tRim
\tName\tA\tB
\tX\t-5.000000000000
\tY\t+5.000000000000
\tZ\t+0.000000000000
End Node



Begin Polygon\t\t; Polygon #1
\tGroup\t
\tName\tPolygon1
\tNode1\t0
\tNode2\t1
\tNode3\t2
\tColor\tFFFFFFFF
\tTexture\tGenEarth.Grass
End Polygon
Begin Polygon\t\t; Polygon #2
\tGroup\tSky
\tName\tPolygon2
\tNode1\t3
\tNode2\t2
\tNode3\t1
\tColor\t00FF00
\tTexture\t
End Polygon
Begin Polygon\t\t; Polygon #3
\tGroup\t
\tName\tRed
\tNode1\t0
\tNode2\t3
\tNode3\t2
\tColor\t0000FF
\tTexture\tStone
End Polygon
)"));
  }

  void exportWritesTheFile() {
    test::TTempFolder folder;
    TEditor editor;
    NewProject(editor, true);
    const std::string path = folder.Path("terrain.tvt");
    ExportProjectText(editor, path);
    QCOMPARE(test::ReadWholeFile(path), ProjectTextOf(editor));
    QVERIFY_THROWS_EXCEPTION(EFileError, ExportProjectText(editor, folder.Path("missing/terrain.tvt")));
    QCOMPARE(test::ReadWholeFile(path), ProjectTextOf(editor));
  }
};

TERRAVEL_TEST(TestProjectTextExport)
#include "tst_ProjectTextExport.moc"
