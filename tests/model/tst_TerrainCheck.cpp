// The terrain check: each kind of fault that cuts or holes UnrealEd's BSP is found, and a clean
// mesh gives nothing.
#include <QTest>

#include <algorithm>

#include "model/editor/Editor.h"
#include "model/project/NewProject.h"
#include "model/reports/TerrainCheck.h"
#include "support/TestRegistry.h"

using namespace terravel;

Q_DECLARE_METATYPE(terravel::TTerrainProblemKind)

namespace {

// Nodes 0..3 of a square of 256 (0,0), (256,0), (0,256), (256,256), and a fifth node placed by the row.
void Square(TEditor& editor, float x, float y) {
  for (int i = 0; i < 4; ++i) editor.Nodes.NewNode("", "", float(256 * (i % 2)), float(256 * (i / 2)), 0);
  editor.Nodes.NewNode("", "", x, y, 0);
}

}  // namespace

class TestTerrainCheck : public QObject {
  Q_OBJECT
 private slots:
  void findsEachKind_data() {
    QTest::addColumn<QList<int>>("corners");  // triangles, three corners each
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<TTerrainProblemKind>("kind");
    QTest::addColumn<QList<int>>("polygons");  // what the problem names
    QTest::newRow("sliver") << QList<int>{0, 2, 1, 0, 1, 4} << 128.f << 0.001f << TTerrainProblemKind::Sliver
                            << QList<int>{1};
    QTest::newRow("T-junction") << QList<int>{0, 2, 1, 2, 3, 4, 4, 3, 1} << 128.f << 128.f
                                << TTerrainProblemKind::TJunction << QList<int>{0};
    QTest::newRow("edge of three") << QList<int>{0, 2, 1, 1, 3, 0, 4, 0, 1} << 128.f << -128.f
                                   << TTerrainProblemKind::CrowdedEdge << QList<int>{0, 1, 2};
    QTest::newRow("overlap") << QList<int>{0, 2, 1, 0, 4, 1} << 128.f << 100.f << TTerrainProblemKind::Overlap
                             << QList<int>{0, 1};
    QTest::newRow("ground and sky") << QList<int>{0, 2, 1, 0, 1, 4} << 128.f << 300.f
                                    << TTerrainProblemKind::MixedEdge << QList<int>{0, 1};
    QTest::newRow("off the grid") << QList<int>{0, 2, 1, 1, 2, 4} << 256.5f << 256.f
                                  << TTerrainProblemKind::OffGrid << QList<int>{};
  }
  void findsEachKind() {
    QFETCH(QList<int>, corners);
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(TTerrainProblemKind, kind);
    QFETCH(QList<int>, polygons);
    TEditor editor;
    Square(editor, x, y);
    for (qsizetype i = 0; i + 2 < corners.size(); i += 3)
      editor.Polygons.NewPolygon(corners[i], corners[i + 1], corners[i + 2], "GenEarth.Grass", "", "");
    const TTerrainCheck check = CheckTerrain(editor.Nodes, editor.Polygons, 1);
    const auto found = std::find_if(check.Problems.begin(), check.Problems.end(),
                                    [kind](const TTerrainProblem& problem) { return problem.Kind == kind; });
    QVERIFY2(found != check.Problems.end(), TerrainCheckLines(check).front().c_str());
    QCOMPARE(QList<int>(found->Polygons.begin(), found->Polygons.end()), polygons);
    SelectProblem(editor, *found);
    QCOMPARE(editor.State.SelectedPolygonCount(), int(polygons.size()));
  }

  void aCleanMeshHasNoProblems() {
    TEditor editor;
    NewMesh(editor, 16);
    const TTerrainCheck check = CheckTerrain(editor.Nodes, editor.Polygons, 1);
    QVERIFY(check.Problems.empty());
    QCOMPARE(check.Brushes, std::size_t(4));
    QCOMPARE(TerrainCheckLines(check).front(), std::string("No problems found."));
  }
};

TERRAVEL_TEST(TestTerrainCheck)
#include "tst_TerrainCheck.moc"
