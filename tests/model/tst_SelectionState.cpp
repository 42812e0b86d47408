// The selection counts the lists keep, and the status bar summary.
#include <QTest>

#include <functional>

#include "model/actions/Requests.h"
#include "model/editor/Editor.h"
#include "model/project/NewProject.h"
#include "support/RecordingHost.h"
#include "support/TestRegistry.h"

using namespace terravel;

namespace {

// Three nodes and two polygons over them.
void AddSmallDocument(TEditor& editor) {
  for (int i = 0; i < 3; ++i) editor.Nodes.NewNode("", "", float(i), float(i * i), 0);
  editor.Polygons.NewPolygon(0, 1, 2, "GenEarth.Grass", "", "");
  editor.Polygons.NewPolygon(2, 1, 0, "GenEarth.Rock", "", "");
}

template <typename List>
int FlagsSet(const List& list) {
  int count = 0;
  for (const auto& record : list) count += record.Selected ? 1 : 0;
  return count;
}

// Empty when the counts match the flags; otherwise what differs.
QString CountsMismatch(const TEditor& editor, const test::TRecordingHost&) {
  const int n = FlagsSet(editor.Nodes), p = FlagsSet(editor.Polygons);
  if (editor.Nodes.SelectedCount() != n || editor.Polygons.SelectedCount() != p)
    return QString("counts %1/%2, flags %3/%4")
        .arg(editor.Nodes.SelectedCount())
        .arg(editor.Polygons.SelectedCount())
        .arg(n)
        .arg(p);
  return {};
}

using TRequest = std::function<void(TEditor&)>;

}  // namespace

Q_DECLARE_METATYPE(TRequest)

class TestSelectionState : public QObject {
  Q_OBJECT
 private slots:
  void summaryTexts_data() {
    QTest::addColumn<int>("nodes");
    QTest::addColumn<int>("polygons");
    QTest::addColumn<QString>("text");
    QTest::newRow("nothing") << 0 << 0 << "No selection";
    QTest::newRow("one node") << 1 << 0 << "1 node selected";
    QTest::newRow("three nodes") << 3 << 0 << "3 nodes selected";
    QTest::newRow("one polygon") << 0 << 1 << "1 polygon selected";
    QTest::newRow("two polygons") << 0 << 2 << "2 polygons selected";
    QTest::newRow("both") << 1 << 1 << "2 objects selected";
  }
  void summaryTexts() {
    QFETCH(int, nodes);
    QFETCH(int, polygons);
    QFETCH(QString, text);
    test::TRecordingHost host;
    TEditor editor(&host);
    AddSmallDocument(editor);
    editor.Nodes.AssignSelected([&](int i, const T3DCoord&) { return i < nodes; });
    editor.Polygons.AssignSelected([&](int i, const TPoly&) { return i < polygons; });
    QCOMPARE(QString::fromStdString(editor.State.SelectionStatusText()), text);
    QCOMPARE(editor.State.SelectedNodeCount(), nodes);
    QCOMPARE(editor.State.SelectedPolygonCount(), polygons);
  }

  void missingRecordIsAnAssertionAndChangesNothing() {
    TEditor editor;
    AddSmallDocument(editor);
    editor.Polygons.SetAllSelected(true);
    try {
      editor.Polygons.SetSelected(2, false);
      QFAIL("no error");
    } catch (const EAssertionFailure& e) {
      QVERIFY(std::string(e.what()).starts_with("Assertion failure"));
      QVERIFY(std::string(e.what()).find("Buffers") != std::string::npos);
    }
    QCOMPARE(editor.State.SelectedPolygonCount(), 2);
  }

  // Whatever an action does to the records, the lists' counts follow the flags and the summary
  // shows them, after the action, its undo and its redo.
  void countsFollowTheFlagsThroughUndoAndRedo_data() {
    QTest::addColumn<TRequest>("request");
    QTest::newRow("select node") << TRequest([](TEditor& e) { DoSelectNode(e, 4, true); });
    QTest::newRow("deselect polygon") << TRequest([](TEditor& e) { DoSelectPoly(e, 1, false); });
    QTest::newRow("select all") << TRequest([](TEditor& e) { DoSelectAll(e, true, true); });
    QTest::newRow("select all nodes") << TRequest([](TEditor& e) { DoSelectAll(e, true, false); });
    QTest::newRow("select nothing") << TRequest([](TEditor& e) { DoSelectNothing(e); });
    QTest::newRow("select texture") << TRequest([](TEditor& e) { DoSelectTexture(e, "gen*"); });
    QTest::newRow("select polygon nodes") << TRequest([](TEditor& e) { DoSelectSelectedPolyNodes(e); });
    QTest::newRow("add node") << TRequest([](TEditor& e) { DoAddNode(e, T3DCoord{}); });
    QTest::newRow("add polygon") << TRequest([](TEditor& e) {
      TPoly polygon;
      polygon.Node2 = 4;
      polygon.Node3 = 8;
      DoAddPolygon(e, polygon);
    });
    QTest::newRow("remove") << TRequest([](TEditor& e) { DoRemove(e); });
    QTest::newRow("move nodes") << TRequest([](TEditor& e) { DoChangeNodeZ(e, 5); });
    QTest::newRow("rename polygons") << TRequest([](TEditor& e) { DoSetPolyName(e, "P"); });
  }
  void countsFollowTheFlagsThroughUndoAndRedo() {
    QFETCH(TRequest, request);
    test::TRecordingHost host;
    TEditor editor(&host);
    NewMesh(editor, 2);  // 9 nodes, 8 polygons
    editor.Nodes.AssignSelected([](int i, const T3DCoord&) { return i % 3 == 0; });
    editor.Polygons.AssignSelected([](int i, const TPoly&) { return i == 1 || i == 6; });
    request(editor);
    QCOMPARE(editor.History.UndoCount(), 1);
    QCOMPARE(CountsMismatch(editor, host), QString());
    editor.History.UndoLast();
    QCOMPARE(CountsMismatch(editor, host), QString());
    editor.History.RedoLast();
    QCOMPARE(CountsMismatch(editor, host), QString());
  }
};

TERRAVEL_TEST(TestSelectionState)
#include "tst_SelectionState.moc"
