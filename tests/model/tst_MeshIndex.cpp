// The document's mesh index follows every action, undo and redo: what it answers then is what an
// index built from scratch answers, every polygon lies in its plan cells, and a change of heights
// or an added polygon rebuilds nothing.
#include <QTest>

#include <algorithm>
#include <span>
#include <vector>

#include "model/actions/Requests.h"
#include "model/editor/Editor.h"
#include "model/project/NewProject.h"
#include "model/topology/MeshIndex.h"
#include "support/TestRegistry.h"

using namespace terravel;

namespace {

enum class TStep { AddPolygon, AddNode, Remove, Rewire, Flip, MoveZ, MoveX, MoveXWithin };

std::vector<int> Of(std::span<const int> span) {
  return {span.begin(), span.end()};
}

// Every answer of the two, node by node; the plan-view grid around every node.
void CompareIndices(const TEditor& editor, const TMeshIndex& fresh) {
  const TMeshIndex& kept = editor.Index;
  for (int i = 0; i < editor.Nodes.Count(); ++i) {
    QCOMPARE(Of(kept.PolygonsOf(i)), Of(fresh.PolygonsOf(i)));
    QCOMPARE(Of(kept.NeighboursOf(i)), Of(fresh.NeighboursOf(i)));
    QCOMPARE(kept.OnBorder(i), fresh.OnBorder(i));
    const T3DCoord& node = editor.Nodes[i];
    const std::vector<int> near = kept.NodesNear(node.X, node.Y, 1);
    QVERIFY2(std::find(near.begin(), near.end(), i) != near.end(), "a node is missing from its cell");
    QCOMPARE(near, fresh.NodesNear(node.X, node.Y, 1));
  }
  // A point inside each polygon, near each corner and in the middle: the plan cell under it holds it.
  for (int p = 0; p < editor.Polygons.Count(); ++p) {
    const TPoly& polygon = editor.Polygons[p];
    const T3DCoord* c[3] = {&editor.Nodes[polygon.Node1], &editor.Nodes[polygon.Node2], &editor.Nodes[polygon.Node3]};
    const double mx = (c[0]->X + c[1]->X + c[2]->X) / 3.0, my = (c[0]->Y + c[1]->Y + c[2]->Y) / 3.0;
    for (int k = 0; k < 4; ++k) {
      const double x = k < 3 ? (mx + c[k]->X) / 2 : mx, y = k < 3 ? (my + c[k]->Y) / 2 : my;
      bool found = false;
      kept.WalkPlan(x, y, 0, 0, [&](std::span<const int> cell, double) {
        found = std::find(cell.begin(), cell.end(), p) != cell.end();
        return false;
      });
      QVERIFY2(found, qPrintable(QStringLiteral("polygon %1 is not in the cell under %2,%3").arg(p).arg(x).arg(y)));
    }
  }
}

}  // namespace

Q_DECLARE_METATYPE(TStep)

class TestMeshIndex : public QObject {
  Q_OBJECT
 private slots:
  void followsActionsUndoAndRedo_data() {
    QTest::addColumn<TStep>("step");
    QTest::addColumn<bool>("builds");      // the action makes the index build anew
    QTest::addColumn<bool>("planBuilds");  // and the plan grid of polygons
    QTest::newRow("add polygon") << TStep::AddPolygon << false << false;
    QTest::newRow("add node") << TStep::AddNode << true << true;
    QTest::newRow("remove node") << TStep::Remove << true << true;
    QTest::newRow("rewire") << TStep::Rewire << true << true;
    QTest::newRow("flip") << TStep::Flip << true << true;
    QTest::newRow("Z only") << TStep::MoveZ << false << false;
    QTest::newRow("move in X, out of the grid") << TStep::MoveX << false << true;
    QTest::newRow("move in X, within it") << TStep::MoveXWithin << false << false;
  }
  void followsActionsUndoAndRedo() {
    QFETCH(TStep, step);
    QFETCH(bool, builds);
    QFETCH(bool, planBuilds);
    TEditor editor;
    NewMesh(editor, 4);  // 5 x 5 nodes
    const int middle = 12;
    CompareIndices(editor, TMeshIndex(editor.Nodes, editor.Polygons));
    const long long before = editor.Index.Builds(), planBefore = editor.Index.PlanBuilds();
    switch (step) {
      case TStep::AddPolygon: {  // across the mesh, on a border side
        TPoly polygon;
        polygon.Node1 = 0, polygon.Node2 = 5, polygon.Node3 = 24;
        DoAddPolygon(editor, polygon);
        break;
      }
      case TStep::AddNode: {
        T3DCoord node;
        node.X = node.Y = 100;
        DoAddNode(editor, node);
        break;
      }
      case TStep::Remove:
        DoSelectNode(editor, middle, true);
        DoRemove(editor);
        break;
      case TStep::Rewire:
        DoSelectPoly(editor, 0, true);
        DoSetPolyNode(editor, 2, middle);
        break;
      case TStep::Flip:
        DoSelectPoly(editor, 3, true);
        DoFlipPolygons(editor);
        break;
      case TStep::MoveZ:
        DoSelectNode(editor, middle, true);
        DoChangeNodeZ(editor, 64);
        break;
      case TStep::MoveX:
        DoSelectNode(editor, middle, true);
        DoSetNodeCoord(editor, TNodeAxis::X, 5000);
        break;
      case TStep::MoveXWithin:
        DoSelectNode(editor, middle, true);
        DoSetNodeCoord(editor, TNodeAxis::X, 200);
        break;
    }
    CompareIndices(editor, TMeshIndex(editor.Nodes, editor.Polygons));
    QCOMPARE(editor.Index.Builds() > before, builds);
    QCOMPARE(editor.Index.PlanBuilds() > planBefore, planBuilds);
    editor.History.UndoLast();
    CompareIndices(editor, TMeshIndex(editor.Nodes, editor.Polygons));
    editor.History.RedoLast();
    CompareIndices(editor, TMeshIndex(editor.Nodes, editor.Polygons));
  }
};

TERRAVEL_TEST(TestMeshIndex)
#include "tst_MeshIndex.moc"
