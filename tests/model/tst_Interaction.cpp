// The viewport's rules, without a window: what a click selects, how a drag moves the selected
// nodes and commits, and an add-polygon command that meets an existing polygon.
#include <QTest>

#include "ActionTestSupport.h"
#include "model/actions/Requests.h"
#include "model/interaction/AddCommands.h"
#include "model/interaction/ClickSelection.h"
#include "model/interaction/NodeDrag.h"
#include "model/projectfile/ProjectFile.h"
#include "support/SelectionText.h"
#include "support/TestRegistry.h"

using namespace terravel;
using namespace terravel::test;

namespace {

// Four nodes on a square and one polygon over three of them.
void MakeSquare(TEditor& editor) {
  editor.Nodes.NewNode("", "", 0, 0, 0);
  editor.Nodes.NewNode("", "", 64, 0, 0);
  editor.Nodes.NewNode("", "", 64, 64, 0);
  editor.Nodes.NewNode("", "", 0, 64, 0);
  editor.Polygons.NewPolygon(0, 1, 2, "", "", "");
}

}  // namespace

class TestInteraction : public QObject {
  Q_OBJECT
 private slots:
  void clickSelects_data() {
    QTest::addColumn<QString>("hit");
    QTest::addColumn<bool>("right");
    QTest::addColumn<bool>("ctrl");
    QTest::addColumn<QString>("expected");
    // Before each click: n0 and p0 are selected.
    QTest::newRow("left on an unselected node") << "n1" << false << false << "n1";
    QTest::newRow("left on a selected node keeps all") << "n0" << false << false << "n0 p0";
    QTest::newRow("ctrl adds") << "n1" << false << true << "n0 n1 p0";
    QTest::newRow("ctrl removes") << "p0" << false << true << "n0";
    QTest::newRow("right adds") << "n3" << true << false << "n0 n3 p0";
    QTest::newRow("right on a selected one keeps it") << "p0" << true << false << "n0 p0";
    QTest::newRow("ctrl right removes") << "n0" << true << true << "p0";
    QTest::newRow("nothing clears") << "bg" << false << false << "";
    QTest::newRow("a stale index changes nothing") << "n9" << false << false << "n0 p0";
  }
  void clickSelects() {
    QFETCH(QString, hit);
    QFETCH(bool, right);
    QFETCH(bool, ctrl);
    QFETCH(QString, expected);
    TActionFixture f;
    MakeSquare(f.editor);
    DoSelectNode(f.editor, 0, true);
    DoSelectPoly(f.editor, 0, true);
    TPickHit target;
    if (hit != QLatin1String("bg")) {
      target.Kind = hit.startsWith(QLatin1Char('n')) ? TPickKind::Node : TPickKind::Polygon;
      target.Index = hit.mid(1).toInt();
    }
    SelectByClick(f.editor, target, right, ctrl);
    QCOMPARE(SelectionText(f.editor), expected);
  }

  // Every move of a drag is an action of one transaction: the windows hear each, the release
  // commits one "Move Node" step, and a cancel gives the project back byte for byte, unmodified.
  void dragIsOneStep_data() {
    QTest::addColumn<bool>("cancel");
    QTest::newRow("release") << false;
    QTest::newRow("cancel") << true;
  }
  void dragIsOneStep() {
    QFETCH(bool, cancel);
    TActionFixture f;
    MakeSquare(f.editor);
    f.editor.View.Zoom = 2;
    f.editor.SnapToGrid = false;
    DoSelectNode(f.editor, 1, true);
    f.editor.MarkSaved();
    const std::string before = WriteProjectBytes(f.editor);
    const int entries = f.editor.History.UndoCount();
    f.Calls();

    QVERIFY(DragSelectedNodes(f.editor, 10, -4));
    QVERIFY(DragSelectedNodes(f.editor, 10, -4));
    QCOMPARE(f.host.Published.size(), std::size_t(2));
    QCOMPARE(f.host.Published[1].MovedNodes, std::vector<int>{1});  // only the selected node
    QCOMPARE(f.Calls(), QStringLiteral("changes moved history modified, changes moved history modified"));
    QCOMPARE(f.editor.Nodes[1].X, 74.0f);
    QCOMPARE(f.editor.Nodes[1].Y, -4.0f);
    QCOMPARE(f.editor.Nodes[0].X, 0.0f);
    // A step too small to change a float moves nothing and tells nobody.
    QVERIFY(!DragSelectedNodes(f.editor, 1e-9f, 0));
    QCOMPARE(f.Calls(), QStringLiteral("changes history"));
    if (cancel) {
      CancelDrag(f.editor);
      QVERIFY(WriteProjectBytes(f.editor) == before);
      QVERIFY(!f.editor.Modified());
      QCOMPARE(f.editor.History.UndoCount(), entries);
      return;
    }
    EndDrag(f.editor);
    QCOMPARE(f.editor.History.UndoCount(), entries + 1);
    QCOMPARE(UndoText(f.editor), QStringLiteral("Move Node"));
    const std::string after = WriteProjectBytes(f.editor);
    f.editor.History.UndoLast();
    QVERIFY(WriteProjectBytes(f.editor) == before);
    f.editor.History.RedoLast();
    QVERIFY(WriteProjectBytes(f.editor) == after);
    // Without selected nodes a drag that only panned records nothing.
    DoSelectNothing(f.editor);
    const int count = f.editor.History.UndoCount();
    EndDrag(f.editor);
    QCOMPARE(f.editor.History.UndoCount(), count);
  }

  void existingPolygonBecomesTheSelectionWithoutAStep() {
    TActionFixture f;
    MakeSquare(f.editor);
    DoSelectNode(f.editor, 0, true);
    DoSelectNode(f.editor, 1, true);
    DoSelectNode(f.editor, 2, true);
    const int entries = f.editor.History.UndoCount();
    f.Calls();
    QCOMPARE(AddPolygon(f.editor, TPolygonKind::Ground, TPolygonSource::SelectionOrPoint, {}),
             TAddPolygonOutcome::SelectedExists);
    QCOMPARE(SelectionText(f.editor), QStringLiteral("p0"));
    QCOMPARE(f.editor.History.UndoCount(), entries + 1);  // only the Select Nothing
    QVERIFY(f.Calls().endsWith(QStringLiteral(", changes selection")));
  }
};

TERRAVEL_TEST(TestInteraction)
#include "tst_Interaction.moc"
