// The node and polygon lists: automatic names, detaching and re-inserting with corner upkeep.
#include <QTest>

#include <stdexcept>
#include <type_traits>

#include "model/document/CornerMaintenance.h"
#include "model/document/RedrawSuspension.h"
#include "model/editor/Editor.h"
#include "support/RecordingHost.h"
#include "support/TestRegistry.h"

using namespace terravel;

namespace {

std::vector<int> Corners(const TEditor& editor) {
  std::vector<int> corners;
  for (const TPoly& p : editor.Polygons) corners.insert(corners.end(), {p.Node1, p.Node2, p.Node3});
  return corners;
}

// A host whose picture after a suspension fails.
class TFailingResumeHost : public test::TRecordingHost {
 public:
  void ResumeRedraw() override {
    TRecordingHost::ResumeRedraw();
    throw std::runtime_error("resume");
  }
};

void AddNodes(TEditor& editor, int count) {
  for (int i = 0; i < count; ++i) editor.Nodes.NewNode("", "", float(i), 0, 0);
}

}  // namespace

class TestDocument : public QObject {
  Q_OBJECT
 private slots:
  void automaticNamesTakeTheSmallestFreeNumber() {
    TEditor editor;
    QCOMPARE(editor.Nodes[editor.Nodes.NewNode("", "", 0, 0, 0)].Name, std::string("Node1"));
    QCOMPARE(editor.Nodes[editor.Nodes.NewNode("", "", 0, 0, 0)].Name, std::string("Node2"));
    editor.Nodes.DetachNode(0);
    QCOMPARE(editor.Nodes[editor.Nodes.NewNode("", "", 0, 0, 0)].Name, std::string("Node1"));
    // Node1 and Node2 taken: Node3 next, unless a lower-case node3 blocks it.
    editor.Nodes.NewNode("", "node3", 0, 0, 0);
    QCOMPARE(editor.Nodes[editor.Nodes.NewNode("", "", 0, 0, 0)].Name, std::string("Node4"));
  }

  void nodesAndPolygonsShareOneNameSpace() {
    TEditor editor;
    editor.Nodes.NewNode("", "Polygon1", 0, 0, 0);
    editor.Nodes.NewNode("", "Node01", 0, 0, 0);  // leading zeros block nothing
    const int p = editor.Polygons.NewPolygon(0, 0, 0, "", "", "");
    QCOMPARE(editor.Polygons[p].Name, std::string("Polygon2"));
    QCOMPARE(editor.Nodes[editor.Nodes.NewNode("", "", 0, 0, 0)].Name, std::string("Node1"));
    // A given name stays even when taken.
    QCOMPARE(editor.Nodes[editor.Nodes.NewNode("", "Node1", 0, 0, 0)].Name, std::string("Node1"));
    // Renaming frees the old number.
    editor.Polygons.SetName(p, "Ground");
    QCOMPARE(editor.Polygons[editor.Polygons.NewPolygon(0, 0, 0, "", "", "")].Name, std::string("Polygon2"));
  }

  // A name with a big number given early, and then so many automatic ones that their numbers
  // reach it: the name keeps its number taken, and frees it when it goes.
  void aBigNumberGivenEarlyStaysTaken() {
    TEditor editor;
    editor.Nodes.NewNode("", "node100000", 0, 0, 0);
    AddNodes(editor, 99999);
    QCOMPARE(editor.Nodes[editor.Nodes.NewNode("", "", 0, 0, 0)].Name, std::string("Node100001"));
    editor.Nodes.SetName(0, "Hill");
    QCOMPARE(editor.Nodes[editor.Nodes.NewNode("", "", 0, 0, 0)].Name, std::string("Node100000"));
  }

  void nodeAtAndNewRecordsDefaults() {
    TEditor editor;
    editor.Nodes.NewNode("g", "", 3, 4, 5);
    QVERIFY(editor.Nodes.NodeAt(-1) == nullptr);
    QVERIFY(editor.Nodes.NodeAt(1) == nullptr);
    const T3DCoord& n = *editor.Nodes.NodeAt(0);
    QCOMPARE(n.BaseX, 3.0f);
    QCOMPARE(n.BaseY, 4.0f);
    QVERIFY(!n.Selected);
    const TPoly& p = editor.Polygons[editor.Polygons.NewPolygon(0, 0, 0, "T", "", "")];
    QCOMPARE(p.Color, -1);
    QVERIFY(!p.Selected);
    QVERIFY(editor.Polygons.PolygonAt(1) == nullptr);
  }

  void removingAndReinsertingNodesKeepsCorners() {
    TEditor editor;
    AddNodes(editor, 6);
    editor.Polygons.NewPolygon(0, 4, 5, "", "", "");
    T3DCoord removed = DetachNodeFixingCorners(editor.Nodes, editor.Polygons, 3);
    QCOMPARE(Corners(editor), (std::vector<int>{0, 3, 4}));
    InsertNodeFixingCorners(editor.Nodes, editor.Polygons, 3, std::move(removed));
    QCOMPARE(Corners(editor), (std::vector<int>{0, 4, 5}));
    QCOMPARE(editor.Nodes[3].X, 3.0f);
    QVERIFY_THROWS_EXCEPTION(EAssertionFailure, DetachNodeFixingCorners(editor.Nodes, editor.Polygons, 4));
  }

  void bulkRemovalMatchesOneByOne() {
    TEditor editor;
    AddNodes(editor, 8);
    editor.Polygons.NewPolygon(1, 6, 7, "", "", "");
    editor.Polygons.NewPolygon(0, 3, 4, "", "", "");
    auto taken = DetachNodesFixingCorners(editor.Nodes, editor.Polygons, {2, 5});
    QCOMPARE(Corners(editor), (std::vector<int>{1, 4, 5, 0, 2, 3}));
    QCOMPARE(editor.Nodes.Count(), 6);
    QCOMPARE(taken[1].X, 5.0f);
    InsertNodesFixingCorners(editor.Nodes, editor.Polygons, {2, 5}, std::move(taken));
    QCOMPARE(Corners(editor), (std::vector<int>{1, 6, 7, 0, 3, 4}));
    for (int i = 0; i < 8; ++i) QCOMPARE(editor.Nodes[i].X, float(i));
    QVERIFY_THROWS_EXCEPTION(EAssertionFailure, DetachNodesFixingCorners(editor.Nodes, editor.Polygons, {6}));
    QCOMPARE(editor.Nodes.Count(), 8);
  }

  // The picture that ends a suspension is drawn once. Its failure reaches the caller at the end of
  // the work; after an earlier error that error is the one reported.
  void redrawSuspensionResumesOnce_data() {
    QTest::addColumn<bool>("workFails");
    QTest::newRow("work done") << false;
    QTest::newRow("work failed") << true;
  }
  void redrawSuspensionResumesOnce() {
    static_assert(std::is_nothrow_destructible_v<TRedrawSuspension>);
    QFETCH(bool, workFails);
    TFailingResumeHost host;
    std::string error;
    try {
      TRedrawSuspension suspension(host);
      if (workFails) throw std::invalid_argument("work");
      suspension.Resume();
    } catch (const std::exception& e) {
      error = e.what();
    }
    QCOMPARE(error, std::string(workFails ? "work" : "resume"));
    QCOMPARE(host.Joined(), std::string("suspend, resume"));
  }
};

TERRAVEL_TEST(TestDocument)
#include "tst_Document.moc"
