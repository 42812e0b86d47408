// The remove action: selected nodes go with every polygon that uses them, undo puts the very same
// records back at their old places with their old corners.
#include <QTest>

#include "ActionTestSupport.h"
#include "model/actions/RemoveAction.h"
#include "model/actions/Requests.h"
#include "model/document/CornerMaintenance.h"
#include "model/project/NewProject.h"
#include "support/TestRegistry.h"

using namespace terravel;
using namespace terravel::test;

namespace {

// What identifies the document: names in order, positions, corners and selection flags.
struct TSnapshot {
  std::vector<std::string> nodes;
  std::vector<float> xs;
  std::vector<std::string> polygons;
  std::vector<int> corners;
  std::vector<bool> selected;
  bool operator==(const TSnapshot&) const = default;
};

TSnapshot Snapshot(const TEditor& editor) {
  TSnapshot s;
  for (const T3DCoord& n : editor.Nodes) {
    s.nodes.push_back(n.Name);
    s.xs.push_back(n.X);
    s.selected.push_back(n.Selected);
  }
  for (const TPoly& p : editor.Polygons) {
    s.polygons.push_back(p.Name);
    s.selected.push_back(p.Selected);
  }
  s.corners = Corners(editor);
  return s;
}

const TRemoveAction& LastRemove(const TEditor& editor) {
  return dynamic_cast<const TRemoveAction&>(editor.History.UndoAt(editor.History.UndoCount() - 1));
}

// The removal done record by record, the slow way, for comparison.
struct TOneByOne {
  std::vector<int> polygons;
  std::vector<int> nodes;
};

TOneByOne RemoveOneByOne(TEditor& editor) {
  TOneByOne removed;
  const auto selectedNode = [&](int j) { return editor.Nodes.NodeAt(j) && editor.Nodes.NodeAt(j)->Selected; };
  for (int i = 0; i < editor.Polygons.Count();) {
    const TPoly& p = editor.Polygons[i];
    if (p.Selected || selectedNode(p.Node1) || selectedNode(p.Node2) || selectedNode(p.Node3)) {
      removed.polygons.push_back(i);
      editor.Polygons.DetachPolygon(i);
    } else {
      ++i;
    }
  }
  for (int j = 0; j < editor.Nodes.Count();) {
    if (editor.Nodes[j].Selected) {
      removed.nodes.push_back(j);
      DetachNodeFixingCorners(editor.Nodes, editor.Polygons, j);
    } else {
      ++j;
    }
  }
  return removed;
}

// A 4 x 4 mesh (25 nodes, 32 polygons) with every node whose index is a multiple of nodeStep and
// every polygon whose index is a multiple of polygonStep selected (0: none).
void MakeMesh(TEditor& editor, int nodeStep, int polygonStep) {
  NewMesh(editor, 4);
  editor.Nodes.AssignSelected(
      [&](int j, const T3DCoord&) { return nodeStep > 0 && (j * 7 + 3) % nodeStep == 0; });
  editor.Polygons.AssignSelected(
      [&](int i, const TPoly&) { return polygonStep > 0 && (i * 5 + 1) % polygonStep == 0; });
}

}  // namespace

class TestRemoveAction : public QObject {
  Q_OBJECT
 private slots:
  void oneNodeUsedByThreePolygons_data() {
    QTest::addColumn<bool>("polygonSelected");
    QTest::addColumn<QString>("executeCalls");
    QTest::addColumn<QString>("undoCalls");
    QTest::newRow("node only")
        << false << "changes nodes polygons selection records mode 0 history modified"
        << "changes nodes polygons selection records mode 3 history modified";
    QTest::newRow("and one of its polygons")
        << true
        << "changes nodes polygons selection records mode 0 history modified"
        << "changes nodes polygons selection records mode 5 history modified";
  }
  void oneNodeUsedByThreePolygons() {
    QFETCH(bool, polygonSelected);
    QFETCH(QString, executeCalls);
    QFETCH(QString, undoCalls);
    TActionFixture f;
    AddNodes(f.editor, 6);
    f.editor.Polygons.NewPolygon(0, 1, 2, "", "", "");
    f.editor.Polygons.NewPolygon(0, 1, 3, "", "", "");
    f.editor.Polygons.NewPolygon(2, 3, 4, "", "", "");
    f.editor.Polygons.NewPolygon(1, 5, 2, "", "", "");
    SelectNodes(f.editor, {2});
    if (polygonSelected) SelectPolygons(f.editor, {2});
    f.Calls();
    const TSnapshot before = Snapshot(f.editor);

    DoRemove(f.editor);
    QCOMPARE(UndoText(f.editor), QString("Remove"));
    QCOMPARE(f.Calls(), executeCalls);
    QCOMPARE(NodeNames(f.editor), (std::vector<std::string>{"Node1", "Node2", "Node4", "Node5", "Node6"}));
    QCOMPARE(f.editor.Polygons.Count(), 1);
    QCOMPARE(f.editor.Polygons[0].Name, std::string("Polygon2"));
    QCOMPARE(Corners(f.editor), (std::vector<int>{0, 1, 2}));
    QCOMPARE(LastRemove(f.editor).PolygonIndices(), (std::vector<int>{0, 1, 1}));
    QCOMPARE(LastRemove(f.editor).NodeIndices(), (std::vector<int>{2}));
    QCOMPARE(f.editor.State.SelectedNodeCount(), 0);
    QCOMPARE(f.editor.State.SelectedPolygonCount(), 0);

    f.editor.History.UndoLast();
    QCOMPARE(f.Calls(), undoCalls);
    QVERIFY(Snapshot(f.editor) == before);
    QCOMPARE(f.editor.State.SelectedNodeCount(), 1);
    QCOMPARE(f.editor.State.SelectedPolygonCount(), polygonSelected ? 1 : 0);

    f.editor.History.RedoLast();
    QCOMPARE(f.Calls(), executeCalls);
    QCOMPARE(Corners(f.editor), (std::vector<int>{0, 1, 2}));
    QCOMPARE(LastRemove(f.editor).PolygonIndices(), (std::vector<int>{0, 1, 1}));
  }

  void indicesAreTakenOneAfterTheOther() {
    TActionFixture f;
    AddNodes(f.editor, 8);
    f.editor.Polygons.NewPolygon(1, 6, 7, "", "", "");
    SelectNodes(f.editor, {2, 5});
    DoRemove(f.editor);
    QCOMPARE(LastRemove(f.editor).NodeIndices(), (std::vector<int>{2, 4}));
    QCOMPARE(LastRemove(f.editor).RemovedNodes()[1].Name, std::string("Node6"));
    QCOMPARE(Corners(f.editor), (std::vector<int>{1, 4, 5}));
    f.editor.History.UndoLast();
    QCOMPARE(Corners(f.editor), (std::vector<int>{1, 6, 7}));
    QCOMPARE(f.editor.Nodes[5].Name, std::string("Node6"));
    QCOMPARE(f.editor.State.SelectedNodeCount(), 2);
  }

  void selectedPolygonWithUnselectedNodes() {
    TActionFixture f;
    AddNodes(f.editor, 4);
    f.editor.Polygons.NewPolygon(0, 1, 2, "", "", "");
    f.editor.Polygons.NewPolygon(1, 2, 3, "", "", "");
    SelectPolygons(f.editor, {1});
    f.Calls();
    DoRemove(f.editor);
    QCOMPARE(f.editor.Nodes.Count(), 4);
    QCOMPARE(f.editor.Polygons.Count(), 1);
    QCOMPARE(Corners(f.editor), (std::vector<int>{0, 1, 2}));
    QVERIFY(LastRemove(f.editor).NodeIndices().empty());
    f.editor.History.UndoLast();
    QCOMPARE(f.Calls(),
             QString("changes nodes polygons selection records mode 0 history modified, "
                     "changes nodes polygons selection records mode 4 history modified"));
    QCOMPARE(Corners(f.editor), (std::vector<int>{0, 1, 2, 1, 2, 3}));
    QVERIFY(f.editor.Polygons[1].Selected);
  }

  // Nodes and polygons removed from all over the list, mixed: the same indices, lists and counts
  // as removing them one at a time, and the undo gives back exactly the document before.
  void interleavedRemovalMatchesOneByOne_data() {
    QTest::addColumn<int>("nodeStep");
    QTest::addColumn<int>("polygonStep");
    QTest::newRow("sparse") << 7 << 9;
    QTest::newRow("dense") << 2 << 3;
    QTest::newRow("nodes only") << 4 << 0;
    QTest::newRow("polygons only") << 0 << 2;
    QTest::newRow("everything") << 1 << 1;
  }
  void interleavedRemovalMatchesOneByOne() {
    QFETCH(int, nodeStep);
    QFETCH(int, polygonStep);
    TActionFixture f;
    MakeMesh(f.editor, nodeStep, polygonStep);
    TEditor reference;
    MakeMesh(reference, nodeStep, polygonStep);
    const TSnapshot before = Snapshot(f.editor);
    const int nodesSelected = f.editor.State.SelectedNodeCount();
    const int polygonsSelected = f.editor.State.SelectedPolygonCount();

    DoRemove(f.editor);
    const TOneByOne expected = RemoveOneByOne(reference);
    QCOMPARE(LastRemove(f.editor).PolygonIndices(), expected.polygons);
    QCOMPARE(LastRemove(f.editor).NodeIndices(), expected.nodes);
    QVERIFY(Snapshot(f.editor) == Snapshot(reference));

    f.editor.History.UndoLast();
    QVERIFY(Snapshot(f.editor) == before);
    QCOMPARE(f.editor.State.SelectedNodeCount(), nodesSelected);
    QCOMPARE(f.editor.State.SelectedPolygonCount(), polygonsSelected);

    f.editor.History.RedoLast();
    QVERIFY(Snapshot(f.editor) == Snapshot(reference));
    QCOMPARE(LastRemove(f.editor).NodeIndices(), expected.nodes);
  }

  void nothingSelectedRemovesNothing() {
    TActionFixture f;
    AddNodes(f.editor, 3);
    f.editor.Polygons.NewPolygon(0, 1, 2, "", "", "");
    f.Calls();
    DoRemove(f.editor);
    QCOMPARE(f.editor.History.UndoCount(), 0);
    QCOMPARE(f.Calls(), QString());
    TRemoveAction remove(f.editor);
    remove.Execute();
    QVERIFY(FailsWithActionsAssertion([&] { remove.Undo(); }));
  }
};

TERRAVEL_TEST(TestRemoveAction)
#include "tst_RemoveAction.moc"
