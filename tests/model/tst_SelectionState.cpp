// The selection counts and the status bar summary.
#include <QTest>

#include "model/editor/Editor.h"
#include "support/RecordingHost.h"
#include "support/TestRegistry.h"

using namespace terravel;

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
    editor.State.SetSelectedNodeCount(nodes);
    editor.State.SetSelectedPolygonCount(polygons);
    editor.State.UpdateSelectionStatus();
    QCOMPARE(QString::fromStdString(host.SelectionStatus), text);
  }

  void unchangedCountLeavesThePanelAlone() {
    test::TRecordingHost host;
    TEditor editor(&host);
    editor.State.SetSelectedNodeCount(2);
    host.Clear();
    editor.State.SetSelectedNodeCount(2);
    QVERIFY(host.Calls.empty());
  }

  void negativeCountIsAnAssertionAndChangesNothing() {
    TEditor editor;
    editor.State.SetSelectedPolygonCount(4);
    try {
      editor.State.SetSelectedPolygonCount(-1);
      QFAIL("no error");
    } catch (const EAssertionFailure& e) {
      QVERIFY(std::string(e.what()).starts_with("Assertion failure"));
      QVERIFY(std::string(e.what()).find("Buffers") != std::string::npos);
    }
    QCOMPARE(editor.State.SelectedPolygonCount(), 4);
  }
};

TERRAVEL_TEST(TestSelectionState)
#include "tst_SelectionState.moc"
