// The shaping commands: smoothing heights, triangulating nodes and simplifying polygons, each one
// step in the history whose undo gives back the very same project file.
#include <QTest>

#include <cmath>
#include <string>

#include "ActionTestSupport.h"
#include "model/actions/Requests.h"
#include "model/project/NewProject.h"
#include "model/projectfile/ProjectFile.h"
#include "model/shaping/HeightSmoothing.h"
#include "support/TestRegistry.h"

using namespace terravel;
using namespace terravel::test;

namespace {

// The mesh of "New > Mesh" (n x n squares of 256 units, two triangles each, side n + 1 nodes).
int MeshNode(int n, int column, int row) {
  return column * (n + 1) + row;
}

// Undo gives back the file byte for byte, redo the file of the first run.
void CheckUndoRedo(TEditor& editor, const std::string& before) {
  const std::string after = WriteProjectBytes(editor);
  QVERIFY(after != before);
  editor.History.UndoLast();
  QVERIFY(WriteProjectBytes(editor) == before);
  editor.History.RedoLast();
  QVERIFY(WriteProjectBytes(editor) == after);
  editor.History.UndoLast();
}

}  // namespace

class TestShaping : public QObject {
  Q_OBJECT

 private slots:
  void smoothSpike_data() {
    QTest::addColumn<int>("passes");
    QTest::addColumn<float>("strength");
    QTest::addColumn<bool>("selectInside");
    QTest::newRow("one pass, everything") << 1 << 0.5f << false;
    QTest::newRow("ten passes, everything") << 10 << 1.0f << false;
    QTest::newRow("three passes, selection") << 3 << 0.25f << true;
  }
  void smoothSpike() {
    QFETCH(int, passes);
    QFETCH(float, strength);
    QFETCH(bool, selectInside);
    TActionFixture f;
    NewMesh(f.editor, 8);
    const int spike = MeshNode(8, 4, 4);
    f.editor.Nodes[spike].Z = 1000;
    if (selectInside) {
      // A 5 x 5 block around the spike: its outer ring is the selection's border.
      f.editor.Nodes.AssignSelected([](int i, const T3DCoord&) {
        const int column = i / 9, row = i % 9;
        return column >= 2 && column <= 6 && row >= 2 && row <= 6;
      });
      f.editor.Nodes[MeshNode(8, 2, 4)].Z = 300;  // on the selection's border
    }
    const std::string before = WriteProjectBytes(f.editor);
    std::vector<float> oldZ;
    for (const T3DCoord& node : f.editor.Nodes) oldZ.push_back(node.Z);

    TSmoothOptions options;
    options.Passes = passes;
    options.Strength = strength;
    QVERIFY(DoSmoothHeights(f.editor, options) > 0);
    QCOMPARE(f.editor.History.UndoCount(), 1);
    QVERIFY(QString::fromStdString(f.editor.History.UndoDescription()).startsWith("Smooth "));

    QVERIFY(f.editor.Nodes[spike].Z <= 1000 * (1 - strength / 2));
    QVERIFY(f.editor.Nodes[spike].Z > 0);
    for (int i = 0; i < f.editor.Nodes.Count(); ++i) {
      const int column = i / 9, row = i % 9;
      const bool outerBorder = column == 0 || column == 8 || row == 0 || row == 8;
      const bool selectionBorder = selectInside && (column <= 2 || column >= 6 || row <= 2 || row >= 6);
      const T3DCoord& node = f.editor.Nodes[i];
      if (outerBorder || selectionBorder) QCOMPARE(node.Z, oldZ[static_cast<std::size_t>(i)]);
      QVERIFY(node.Z >= 0 && node.Z <= 1000);
    }
    CheckUndoRedo(f.editor, before);
  }

  void smoothRefusesBadOptions_data() {
    QTest::addColumn<int>("passes");
    QTest::addColumn<float>("strength");
    QTest::newRow("no pass") << 0 << 0.5f;
    QTest::newRow("too many passes") << kMaxSmoothPasses + 1 << 0.5f;
    QTest::newRow("zero strength") << 1 << 0.0f;
    QTest::newRow("strength above one") << 1 << 1.5f;
    QTest::newRow("strength not a number") << 1 << NAN;
  }
  void smoothRefusesBadOptions() {
    QFETCH(int, passes);
    QFETCH(float, strength);
    TActionFixture f;
    NewMesh(f.editor, 2);
    f.editor.Nodes[4].Z = 50;
    const std::string before = WriteProjectBytes(f.editor);
    QVERIFY_THROWS_EXCEPTION(ETerravelError, DoSmoothHeights(f.editor, {passes, strength}));
    QCOMPARE(f.editor.History.UndoCount(), 0);
    QVERIFY(WriteProjectBytes(f.editor) == before);
  }
};

TERRAVEL_TEST(TestShaping)
#include "tst_Shaping.moc"
