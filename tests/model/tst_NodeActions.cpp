// Node actions: adding, renaming and regrouping, coordinates, moves, Z changes and snapping, each
// executed, undone and redone with its notifications.
#include <QTest>

#include <memory>

#include "ActionTestSupport.h"
#include "model/actions/NodeActions.h"
#include "model/actions/Requests.h"
#include "model/actions/StringActions.h"
#include "support/TestRegistry.h"

using namespace terravel;
using namespace terravel::test;

namespace {

const std::string kMoved = "changes moved history modified";
const std::string kFieldChanged = "changes record values history modified";

}  // namespace

class TestNodeActions : public QObject {
  Q_OBJECT
 private slots:
  void addNodeIsSelectedAndCounted() {
    TActionFixture f;
    AddNodes(f.editor, 2);
    SelectNodes(f.editor, {0});
    f.Calls();
    T3DCoord node;
    node.X = 10;
    node.Y = 20;
    node.Z = 5;
    node.BaseX = 99;  // the list sets the base from the position
    DoAddNode(f.editor, node);
    QCOMPARE(f.editor.Nodes.Count(), 3);
    const T3DCoord& added = f.editor.Nodes[2];
    QCOMPARE(added.Name, std::string("Node3"));
    QVERIFY(added.Selected);
    QCOMPARE(added.BaseX, 10.0f);
    QCOMPARE(f.editor.State.SelectedNodeCount(), 2);
    QCOMPARE(f.Calls(),
             QString("changes nodes selection records mode 3 history modified"));
    QCOMPARE(UndoText(f.editor), QString("Add Node"));

    f.editor.History.UndoLast();
    QCOMPARE(f.editor.Nodes.Count(), 2);
    QCOMPARE(f.editor.State.SelectedNodeCount(), 1);
    QCOMPARE(f.Calls(),
             QString("changes nodes selection records history modified"));

    f.editor.History.RedoLast();
    QCOMPARE(f.editor.Nodes.Count(), 3);
    QCOMPARE(f.editor.Nodes[2].Name, std::string("Node3"));
    QCOMPARE(f.editor.State.SelectedNodeCount(), 2);
    QCOMPARE(f.Calls(),
             QString("changes nodes selection records mode 3 history modified"));
  }

  void stringActions_data() {
    QTest::addColumn<bool>("group");
    QTest::addColumn<QString>("description");
    QTest::newRow("name") << false << "Set Node Name to Peak";
    QTest::newRow("group") << true << "Set Node Group to Peak";
  }
  void stringActions() {
    QFETCH(bool, group);
    QFETCH(QString, description);
    // A group change is one for the lists too.
    const std::string calls = group ? "changes records record values history modified" : kFieldChanged;
    TActionFixture f;
    AddNodes(f.editor, 4);
    f.editor.Nodes[1].Group = "a";
    f.editor.Nodes[2].Group = "b";
    SelectNodes(f.editor, {0, 1, 2});
    f.Calls();
    const auto field = [&](int i) { return group ? f.editor.Nodes[i].Group : f.editor.Nodes[i].Name; };
    const std::vector<std::string> before = {field(0), field(1), field(2), field(3)};

    group ? DoSetNodeGroup(f.editor, "Peak") : DoSetNodeName(f.editor, "Peak");
    QCOMPARE(f.editor.History.UndoCount(), 1);
    QCOMPARE(UndoText(f.editor), description);
    QCOMPARE(Describe(f.DoneChanges()), calls);
    for (int i = 0; i < 3; ++i) QCOMPARE(field(i), std::string("Peak"));
    QCOMPARE(field(3), before[3]);

    f.editor.History.UndoLast();
    QCOMPARE(Describe(f.UndoneChanges()), calls);
    for (int i = 0; i < 4; ++i) QCOMPARE(field(i), before[i]);

    f.editor.History.RedoLast();
    QCOMPARE(Describe(f.DoneChanges()), calls);
    for (int i = 0; i < 3; ++i) QCOMPARE(field(i), std::string("Peak"));
  }

  void renamingFreesAndTakesAutomaticNames() {
    TActionFixture f;
    AddNodes(f.editor, 2);
    SelectNodes(f.editor, {0});
    DoSetNodeName(f.editor, "Peak");
    QCOMPARE(f.editor.Nodes[f.editor.Nodes.NewNode("", "", 0, 0, 0)].Name, std::string("Node1"));
    f.editor.Nodes.DetachNode(2);
    f.editor.History.UndoLast();  // Node1 is taken again
    QCOMPARE(f.editor.Nodes[f.editor.Nodes.NewNode("", "", 0, 0, 0)].Name, std::string("Node3"));
  }

  void setNodeCoord_data() {
    QTest::addColumn<int>("axis");
    QTest::addColumn<float>("value");
    QTest::addColumn<bool>("snap");
    QTest::addColumn<int>("grid");
    QTest::addColumn<float>("expected");
    QTest::addColumn<QString>("description");
    QTest::newRow("x snapped down") << 1 << 23.0f << true << 16 << 16.0f << "Set Node X Coordinate to 16";
    QTest::newRow("x half to even up") << 1 << 24.0f << true << 16 << 32.0f << "Set Node X Coordinate to 32";
    QTest::newRow("x half to even down")
        << 1 << 40.0f << true << 16 << 32.0f << "Set Node X Coordinate to 32";
    QTest::newRow("y snapped") << 2 << -23.0f << true << 16 << -16.0f << "Set Node Y Coordinate to -16";
    QTest::newRow("z never snapped") << 3 << 23.0f << true << 16 << 23.0f << "Set Node Z Coordinate to 23";
    QTest::newRow("snap off") << 1 << 23.5f << false << 16 << 23.5f << "Set Node X Coordinate to 23.5";
    QTest::newRow("no grid") << 2 << 23.5f << true << 0 << 23.5f << "Set Node Y Coordinate to 23.5";
  }
  void setNodeCoord() {
    QFETCH(int, axis);
    QFETCH(float, value);
    QFETCH(bool, snap);
    QFETCH(int, grid);
    QFETCH(float, expected);
    QFETCH(QString, description);
    TActionFixture f;
    AddNodes(f.editor, 3);
    f.editor.Values.GridX = f.editor.Values.GridY = grid;
    f.editor.SnapToGrid = snap;
    SelectNodes(f.editor, {0, 2});
    f.Calls();
    const auto coordinate = [&](int i) -> float {
      const T3DCoord& n = f.editor.Nodes[i];
      return axis == 1 ? n.X : axis == 2 ? n.Y : n.Z;
    };
    const float old0 = coordinate(0), old1 = coordinate(1), old2 = coordinate(2);

    DoSetNodeCoord(f.editor, static_cast<TNodeAxis>(axis - 1), value);
    QCOMPARE(UndoText(f.editor), description);
    QCOMPARE(Describe(f.host.Published.back()), kMoved);
    QCOMPARE(f.DoneChanges().MovedNodes, (std::vector<int>{0, 2}));  // the selected nodes only
    QCOMPARE(coordinate(0), expected);
    QCOMPARE(coordinate(1), old1);
    QCOMPARE(coordinate(2), expected);
    for (const T3DCoord& n : f.editor.Nodes) QVERIFY(n.BaseX == n.X && n.BaseY == n.Y);

    f.editor.History.UndoLast();
    QCOMPARE(Describe(f.UndoneChanges()), kMoved);
    QCOMPARE(coordinate(0), old0);
    QCOMPARE(coordinate(2), old2);
    for (const T3DCoord& n : f.editor.Nodes) QVERIFY(n.BaseX == n.X && n.BaseY == n.Y);

    f.editor.History.RedoLast();
    QCOMPARE(coordinate(2), expected);
  }

  void numberTexts_data() {
    QTest::addColumn<char>("separator");
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("number");
    QTest::newRow("whole negative") << '.' << -64.0f << "64";
    QTest::newRow("fraction") << '.' << 0.5f << "0.5";
    QTest::newRow("fraction comma") << ',' << 0.5f << "0,5";
    QTest::newRow("five digits") << ',' << -1.23456f << "1,2346";
    QTest::newRow("six integer digits") << ',' << 123456.0f << "1,2346E5";
    QTest::newRow("tiny") << '.' << 0.00001f << "1E-5";
  }
  void numberTexts() {
    QFETCH(char, separator);
    QFETCH(float, value);
    QFETCH(QString, number);
    TSeparatorScope scope(separator);
    TEditor editor;
    const QString z = QString::fromStdString(TChangeNodeZAction(editor, value).Description());
    QCOMPARE(z, (value < 0 ? "Decrement Node Z by " : "Increment Node Z by ") + number);
    const QString coordinate =
        QString::fromStdString(TSetNodeCoordAction(editor, TNodeAxis::Z, value).Description());
    QCOMPARE(coordinate, "Set Node Z Coordinate to " + QString(value < 0 ? "-" : "") + number);
  }

  void moveNode_data() {
    QTest::addColumn<bool>("snap");
    QTest::addColumn<int>("grid");
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::newRow("snap on") << true << 64 << 128.0f << 64.0f;
    QTest::newRow("snap off") << false << 64 << 100.0f << 40.0f;
    QTest::newRow("snap on, no grid") << true << 0 << 100.0f << 40.0f;
  }
  void moveNode() {
    QFETCH(bool, snap);
    QFETCH(int, grid);
    QFETCH(float, x);
    QFETCH(float, y);
    TActionFixture f;
    AddNodes(f.editor, 3);  // node 1 at (1, 10), node 2 at (2, 20)
    f.editor.Values.GridX = f.editor.Values.GridY = grid;
    f.editor.SnapToGrid = snap;
    SelectNodes(f.editor, {1, 2});
    // The drag moved both nodes live; the bases still hold the start.
    f.editor.Nodes[1].X = 100;
    f.editor.Nodes[1].Y = 40;
    f.editor.Nodes[2].X = 2;  // dragged back where it started
    f.Calls();

    DoMoveNodes(f.editor);
    QCOMPARE(UndoText(f.editor), QString("Move Node"));
    QCOMPARE(Describe(f.DoneChanges()), kMoved);
    const T3DCoord& moved = f.editor.Nodes[1];
    QCOMPARE(moved.X, x);
    QCOMPARE(moved.Y, y);
    QVERIFY(moved.BaseX == moved.X && moved.BaseY == moved.Y);
    QCOMPARE(f.editor.Nodes[0].X, 0.0f);

    f.editor.History.UndoLast();
    QCOMPARE(Describe(f.UndoneChanges()), kMoved);
    QCOMPARE(moved.X, 1.0f);
    QCOMPARE(moved.Y, 10.0f);
    QCOMPARE(moved.BaseX, 1.0f);
    QCOMPARE(f.editor.Nodes[2].X, 2.0f);

    f.editor.History.RedoLast();
    QCOMPARE(Describe(f.DoneChanges()), kMoved);
    QCOMPARE(moved.X, x);
    QCOMPARE(moved.Y, y);
    QCOMPARE(moved.BaseY, y);
  }

  void redoOfAMoveSnapsUnderTheSwitchOfTheRedo() {
    TActionFixture f;
    AddNodes(f.editor, 1);
    SelectNodes(f.editor, {0});
    f.editor.SnapToGrid = false;
    f.editor.Nodes[0].X = 100;
    f.editor.Nodes[0].Y = 40;
    DoMoveNodes(f.editor);
    QCOMPARE(f.editor.Nodes[0].X, 100.0f);
    f.editor.History.UndoLast();
    f.editor.SnapToGrid = true;
    f.editor.History.RedoLast();
    QCOMPARE(f.editor.Nodes[0].X, 128.0f);
    QCOMPARE(f.editor.Nodes[0].Y, 64.0f);
    f.editor.History.UndoLast();
    QCOMPARE(f.editor.Nodes[0].X, 0.0f);
    QCOMPARE(f.editor.Nodes[0].Y, 0.0f);
  }

  void changeNodeZ() {
    TActionFixture f;
    AddNodes(f.editor, 3);  // Z 0, 100, 200
    SelectNodes(f.editor, {0, 2});
    f.Calls();
    DoChangeNodeZ(f.editor, 0);
    QCOMPARE(f.editor.History.UndoCount(), 0);
    DoChangeNodeZ(f.editor, -64);
    QCOMPARE(UndoText(f.editor), QString("Decrement Node Z by 64"));
    QCOMPARE(Describe(f.DoneChanges()), kMoved);
    QCOMPARE(f.editor.Nodes[0].Z, -64.0f);
    QCOMPARE(f.editor.Nodes[1].Z, 100.0f);
    QCOMPARE(f.editor.Nodes[2].Z, 136.0f);
    f.editor.History.UndoLast();
    QCOMPARE(Describe(f.UndoneChanges()), kMoved);
    QCOMPARE(f.editor.Nodes[0].Z, 0.0f);
    QCOMPARE(f.editor.Nodes[2].Z, 200.0f);
    f.editor.History.RedoLast();
    QCOMPARE(Describe(f.DoneChanges()), kMoved);
    QCOMPARE(f.editor.Nodes[2].Z, 136.0f);
  }

  void snapNodesXY_data() {
    QTest::addColumn<bool>("snapX");
    QTest::addColumn<bool>("snapY");
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<QString>("description");
    QTest::newRow("both") << true << true << 128.0f << 32.0f << "Snap Node X and Y to Grid";
    QTest::newRow("x") << true << false << 128.0f << 40.0f << "Snap Node X to Grid";
    QTest::newRow("y") << false << true << 100.0f << 32.0f << "Snap Node Y to Grid";
  }
  void snapNodesXY() {
    QFETCH(bool, snapX);
    QFETCH(bool, snapY);
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(QString, description);
    TActionFixture f;
    f.editor.Nodes.NewNode("", "", 100, 40, 0);
    f.editor.Values.GridX = 64;
    f.editor.Values.GridY = 16;   // 40 / 16 = 2.5 rounds to the even 2
    f.editor.SnapToGrid = false;  // the snap commands do not ask
    SelectNodes(f.editor, {0});
    f.Calls();
    DoSnapNodesXY(f.editor, snapX, snapY);
    QCOMPARE(UndoText(f.editor), description);
    QCOMPARE(Describe(f.DoneChanges()), kMoved);
    const T3DCoord& node = f.editor.Nodes[0];
    QCOMPARE(node.X, x);
    QCOMPARE(node.Y, y);
    QVERIFY(node.BaseX == x && node.BaseY == y);
    f.editor.History.UndoLast();
    QCOMPARE(Describe(f.UndoneChanges()), kMoved);
    QCOMPARE(node.X, 100.0f);
    QCOMPARE(node.Y, 40.0f);
    f.editor.History.RedoLast();
    QCOMPARE(node.X, x);
    QCOMPARE(node.Y, y);
  }

  void snapNodesZUsesGridX() {
    TActionFixture f;
    f.editor.Nodes.NewNode("", "", 0, 0, 96);
    f.editor.Nodes.NewNode("", "", 0, 0, -32);
    f.editor.Nodes.NewNode("", "", 0, 0, 33);
    f.editor.Values.GridX = 64;
    f.editor.Values.GridY = 1;
    SelectNodes(f.editor, {0, 1});
    f.Calls();
    DoSnapNodesZ(f.editor);
    QCOMPARE(UndoText(f.editor), QString("Snap Node Z to Grid"));
    QCOMPARE(Describe(f.DoneChanges()), kMoved);
    QCOMPARE(f.editor.Nodes[0].Z, 128.0f);
    QCOMPARE(f.editor.Nodes[1].Z, 0.0f);
    QCOMPARE(f.editor.Nodes[2].Z, 33.0f);
    f.editor.History.UndoLast();
    QCOMPARE(Describe(f.UndoneChanges()), kMoved);
    QCOMPARE(f.editor.Nodes[0].Z, 96.0f);
    QCOMPARE(f.editor.Nodes[1].Z, -32.0f);
    f.editor.History.RedoLast();
    QCOMPARE(f.editor.Nodes[0].Z, 128.0f);
  }

  void failingRequestsRecordNothing() {
    TActionFixture f;
    AddNodes(f.editor, 2);
    f.Calls();
    // Nothing selected.
    DoSetNodeName(f.editor, "x");
    DoSetNodeGroup(f.editor, "x");
    DoSetNodeCoord(f.editor, TNodeAxis::X, 5);
    DoMoveNodes(f.editor);
    DoChangeNodeZ(f.editor, 5);
    DoSnapNodesXY(f.editor, true, true);
    DoSnapNodesZ(f.editor);
    // A selection, but no delta, no axis or no grid.
    SelectNodes(f.editor, {1});
    f.Calls();
    DoChangeNodeZ(f.editor, 0);
    DoSnapNodesXY(f.editor, false, false);
    f.editor.Values.GridX = 0;
    DoSnapNodesXY(f.editor, true, false);
    DoSnapNodesXY(f.editor, true, true);
    DoSnapNodesZ(f.editor);
    f.editor.Values.GridX = 64;
    f.editor.Values.GridY = 0;
    DoSnapNodesXY(f.editor, false, true);
    QCOMPARE(f.editor.History.UndoCount(), 0);
    QCOMPARE(f.Calls(), QString());
    // The remaining axis still works.
    DoSnapNodesXY(f.editor, true, false);
    QCOMPARE(f.editor.History.UndoCount(), 1);
  }

  void brokenInvariantsAreActionsAssertions() {
    TEditor editor;
    AddNodes(editor, 1);  // nothing selected: the actions capture nothing
    QVERIFY(FailsWithActionsAssertion([&] { TSnapNodeXYToGridAction(editor, false, false); }));
    TMoveNodeAction move(editor);
    move.Execute();
    QVERIFY(FailsWithActionsAssertion([&] { move.Undo(); }));
    TChangeNodeZAction z(editor, 1);
    z.Execute();
    QVERIFY(FailsWithActionsAssertion([&] { z.Undo(); }));
    TSetNodeCoordAction coordinate(editor, TNodeAxis::X, 1);
    coordinate.Execute();
    QVERIFY(FailsWithActionsAssertion([&] { coordinate.Undo(); }));
    TSetNodeNameAction name(editor, "x");
    name.Execute();
    QVERIFY(FailsWithActionsAssertion([&] { name.Undo(); }));
    // The added node went behind the action's back.
    TAddNodeAction add(editor, T3DCoord{});
    add.Execute();
    editor.Nodes.DetachNode(add.Index());
    QVERIFY(FailsWithActionsAssertion([&] { add.Undo(); }));
  }

  void capturedBytesFollowTheEntries() {
    TEditor editor;
    AddNodes(editor, 10);
    SelectNodes(editor, {1, 3, 5});
    TMoveNodeAction move(editor);
    QCOMPARE(move.CapturedBytes(), std::size_t(0));
    move.Execute();
    QCOMPARE(move.CapturedBytes(), 3 * sizeof(TPositionEntry));
    const std::string longName(100, 'n');
    TSetNodeNameAction name(editor, longName);
    name.Execute();
    // The new text once, and three old names that fit the string object.
    QCOMPARE(name.CapturedBytes(), 3 * sizeof(TStringEntry) + longName.capacity() + 1);
  }
};

TERRAVEL_TEST(TestNodeActions)
#include "tst_NodeActions.moc"
