// Selection actions: flags and counts after Execute, Undo and Redo, the order of notifications,
// texture patterns, and the requests that create no entry.
#include <QPointF>
#include <QTest>
#include <QVector>

#include <algorithm>
#include <string>

#include "model/actions/Requests.h"
#include "model/actions/SelectionActions.h"
#include "model/core/Errors.h"
#include "model/editor/Editor.h"
#include "model/interaction/RegionSelection.h"
#include "support/RecordingHost.h"
#include "support/TestRegistry.h"

using namespace terravel;

namespace {

enum TKind {
  kSelectNode,
  kSelectPoly,
  kSelectAll,
  kSelectAllNodes,
  kSelectAllPolygons,
  kSelectNothing,
  kSelectTexture,
  kSelectCorners
};

struct TFixture {
  test::TRecordingHost host;
  TEditor editor{&host};

  // Nodes 0..count-1 along the X axis; polygons are added by the test.
  explicit TFixture(int nodeCount = 5) {
    for (int i = 0; i < nodeCount; ++i) editor.Nodes.NewNode("", "", float(i), 0, 0);
  }
  void AddPolygon(int a, int b, int c, const std::string& texture) {
    editor.Polygons.NewPolygon(a, b, c, texture, "", "");
  }
  // Sets the flags from "nodes/polygons" ("01100/010"), as a loaded file would.
  void SetSelection(const std::string& flags) {
    const auto slash = flags.find('/');
    editor.Nodes.AssignSelected([&](int i, const T3DCoord&) { return flags[i] == '1'; });
    editor.Polygons.AssignSelected([&](int i, const TPoly&) { return flags[slash + 1 + i] == '1'; });
    host.Clear();
  }
  // The flags as "01100/010" followed by the two counts of the selection state.
  QString Selection() const {
    std::string text;
    for (const T3DCoord& node : editor.Nodes) text += node.Selected ? '1' : '0';
    text += '/';
    for (const TPoly& polygon : editor.Polygons) text += polygon.Selected ? '1' : '0';
    return QString::fromStdString(text + " " + std::to_string(editor.State.SelectedNodeCount()) + "/" +
                                  std::to_string(editor.State.SelectedPolygonCount()));
  }
};

// The flags with the counts they imply.
QString WithCounts(const QString& flags) {
  const std::string text = flags.toStdString();
  const auto slash = text.find('/');
  const auto ones = [&](std::size_t from, std::size_t to) {
    return std::to_string(std::count(text.begin() + from, text.begin() + to, '1'));
  };
  return QString::fromStdString(text + " " + ones(0, slash) + "/" + ones(slash + 1, text.size()));
}

// One change set: the selection and the history; never "modified".
bool SelectionNotifications(const test::TRecordingHost& host) {
  return host.Calls == std::vector<std::string>{"changes selection history"};
}

// Five nodes and three polygons over them.
void AddThreePolygons(TFixture& f) {
  f.AddPolygon(0, 1, 2, "GenEarth.Grass");
  f.AddPolygon(1, 2, 3, "genearth.rock");
  f.AddPolygon(2, 3, 4, "");
}

}  // namespace

class TestSelectionActions : public QObject {
  Q_OBJECT
 private slots:
  void executeUndoRedo_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("select");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("description");
    const QString change = "Change Selection";
    QTest::newRow("select node") << int(kSelectNode) << 2 << true << ""
                                 << "00000/000"
                                 << "00100/000" << change;
    QTest::newRow("deselect node") << int(kSelectNode) << 1 << false << ""
                                   << "01100/100"
                                   << "00100/100" << change;
    QTest::newRow("select polygon") << int(kSelectPoly) << 2 << true << ""
                                    << "10000/000"
                                    << "10000/001" << change;
    QTest::newRow("deselect polygon") << int(kSelectPoly) << 1 << false << ""
                                      << "00000/011"
                                      << "00000/001" << change;
    QTest::newRow("select all, mixed before") << int(kSelectAll) << 0 << true << ""
                                              << "01001/010"
                                              << "11111/111"
                                              << "Select All";
    QTest::newRow("select all nodes") << int(kSelectAllNodes) << 0 << true << ""
                                      << "01001/010"
                                      << "11111/000"
                                      << "Select All Nodes";
    QTest::newRow("select all polygons") << int(kSelectAllPolygons) << 0 << true << ""
                                         << "01001/010"
                                         << "00000/111"
                                         << "Select All Polygons";
    QTest::newRow("select nothing") << int(kSelectNothing) << 0 << true << ""
                                    << "01001/011"
                                    << "00000/000"
                                    << "Select Nothing";
    QTest::newRow("select texture") << int(kSelectTexture) << 0 << true << "GENEARTH.*"
                                    << "10000/001"
                                    << "10000/111"
                                    << "Select Polygons with Texture GENEARTH.*";
    QTest::newRow("select corner nodes") << int(kSelectCorners) << 0 << true << ""
                                         << "00001/100"
                                         << "11101/100"
                                         << "Select Selected Polygon Nodes";
    QTest::newRow("corner nodes of two polygons") << int(kSelectCorners) << 0 << true << ""
                                                  << "01000/101"
                                                  << "11111/101"
                                                  << "Select Selected Polygon Nodes";
  }
  void executeUndoRedo() {
    QFETCH(int, kind);
    QFETCH(int, index);
    QFETCH(bool, select);
    QFETCH(QString, pattern);
    QFETCH(QString, before);
    QFETCH(QString, after);
    QFETCH(QString, description);
    TFixture f;
    AddThreePolygons(f);
    f.SetSelection(before.toStdString());
    TEditor& e = f.editor;
    switch (kind) {
      case kSelectNode:
        DoSelectNode(e, index, select);
        break;
      case kSelectPoly:
        DoSelectPoly(e, index, select);
        break;
      case kSelectAll:
        DoSelectAll(e, true, true);
        break;
      case kSelectAllNodes:
        DoSelectAll(e, true, false);
        break;
      case kSelectAllPolygons:
        DoSelectAll(e, false, true);
        break;
      case kSelectNothing:
        DoSelectNothing(e);
        break;
      case kSelectTexture:
        DoSelectTexture(e, pattern.toStdString());
        break;
      case kSelectCorners:
        DoSelectSelectedPolyNodes(e);
        break;
    }
    QCOMPARE(e.History.UndoCount(), 1);
    QCOMPARE(e.History.UndoDescription(), description.toStdString());
    QCOMPARE(f.Selection(), WithCounts(after));
    QVERIFY2(SelectionNotifications(f.host), f.host.Joined().c_str());

    for (int round = 0; round < 2; ++round) {  // a redo snapshots afresh: the second undo still restores
      f.host.Clear();
      e.History.UndoLast();
      QCOMPARE(f.Selection(), WithCounts(before));
      QVERIFY2(SelectionNotifications(f.host), f.host.Joined().c_str());
      f.host.Clear();
      e.History.RedoLast();
      QCOMPARE(f.Selection(), WithCounts(after));
      QVERIFY2(SelectionNotifications(f.host), f.host.Joined().c_str());
    }
  }

  void notificationsInFull() {
    TFixture f;
    AddThreePolygons(f);
    f.SetSelection("00000/100");
    // One record's flag: the change set names it, done and undone.
    for (int round = 0; round < 2; ++round) {
      f.host.Clear();
      round == 0 ? DoSelectNode(f.editor, 3, true) : f.editor.History.UndoLast();
      QCOMPARE(f.host.Published.size(), std::size_t(1));
      const TChangeSet& changes = f.host.Published[0];
      QVERIFY(changes.Selection && changes.SelectionListed);
      QCOMPARE(changes.SelectionNodes, std::vector<int>{3});
      QVERIFY(changes.SelectionPolygons.empty() && changes.MovedNodes.empty() && !changes.Topology());
    }
    // Everything at once: every flag is to be read.
    f.host.Clear();
    DoSelectAll(f.editor, true, true);
    QCOMPARE(f.host.Published.size(), std::size_t(1));
    QVERIFY(f.host.Published[0].Selection && !f.host.Published[0].SelectionListed);
  }

  void texturePatterns_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("selected");
    // Polygon 4 is selected before and stays so; polygon 3 has no texture.
    QTest::newRow("empty selects untextured") << ""
                                              << "000110";
    QTest::newRow("star alone selects all") << "*"
                                            << "111111";
    QTest::newRow("full name") << "GenEarth.Grass"
                               << "110010";
    QTest::newRow("small letters") << "genearth.grass"
                                   << "110010";
    QTest::newRow("package with star") << "GenEarth.*"
                                       << "111010";
    QTest::newRow("star after name") << "GenEarth.Grass*"
                                     << "110010";
    QTest::newRow("package without dot") << "GENEARTH"
                                         << "111011";
    QTest::newRow("texture shorter than pattern") << "GenEarth.Grassland.Wet"
                                                  << "000010";
    QTest::newRow("only a prefix counts") << "Grass"
                                          << "000010";
    QTest::newRow("star inside is a letter") << "Gen*Earth"
                                             << "000010";
  }
  void texturePatterns() {
    QFETCH(QString, pattern);
    QFETCH(QString, selected);
    TFixture f(3);
    for (const char* texture :
         {"GenEarth.Grass", "genearth.grassland", "GenEarth.Rock", "", "Other.Grass", "GenEarth"})
      f.AddPolygon(0, 1, 2, texture);
    f.SetSelection("000/000010");
    DoSelectTexture(f.editor, pattern.toStdString());
    QCOMPARE(f.Selection(), WithCounts("000/" + selected));
    f.editor.History.UndoLast();
    QCOMPARE(f.Selection(), WithCounts("000/000010"));
  }

  void requestsThatCreateNoEntry() {
    TFixture f;
    AddThreePolygons(f);
    f.SetSelection("01000/100");
    DoSelectNode(f.editor, 1, true);   // already selected
    DoSelectNode(f.editor, 0, false);  // already not selected
    DoSelectNode(f.editor, 5, true);   // no such node
    DoSelectNode(f.editor, -1, true);
    DoSelectPoly(f.editor, 0, true);
    DoSelectPoly(f.editor, 3, true);
    f.SetSelection("11100/100");
    DoSelectSelectedPolyNodes(f.editor);  // every corner selected already
    f.SetSelection("11111/000");
    DoSelectSelectedPolyNodes(f.editor);  // no polygon selected
    f.SetSelection("00000/000");
    DoSelectNothing(f.editor);
    QCOMPARE(f.editor.History.UndoCount(), 0);
    QVERIFY(f.host.Calls.empty());

    TFixture withoutPolygons;
    DoSelectTexture(withoutPolygons.editor, "");
    QCOMPARE(withoutPolygons.editor.History.UndoCount(), 0);
  }

  void selectNothingWithOnlyPolygonsSelected() {
    TFixture f;
    AddThreePolygons(f);
    f.SetSelection("00000/010");
    DoSelectNothing(f.editor);
    QCOMPARE(f.editor.History.UndoCount(), 1);
  }

  // A large selection is kept as a bitmap, a small one as indices; both clear, restore and clear
  // again exactly (a sparse one touches only its records).
  void snapshotsStaySmallAndRestoreExactly_data() {
    QTest::addColumn<int>("every");
    QTest::newRow("dense: all but every 7th") << 7;
    QTest::newRow("dense: all") << 1;
    QTest::newRow("sparse: every 100th, the last one too") << 100;
    QTest::newRow("sparse: the first only") << 1000;
  }
  void snapshotsStaySmallAndRestoreExactly() {
    QFETCH(int, every);
    const int count = 1000;
    TFixture f(count);
    std::string flags(count, '0');
    for (int i = 0; i < count; ++i) {
      const bool selected = every == 7 ? i % 7 != 0 : every == 100 ? i % 100 == 99 : i % every == 0;
      flags[i] = selected ? '1' : '0';
    }
    const QString none = WithCounts(QString::fromStdString(std::string(count, '0') + "/"));
    f.SetSelection(flags + "/");
    DoSelectNothing(f.editor);
    QCOMPARE(f.Selection(), none);
    const auto& action = f.editor.History.UndoAt(0);
    const int selected = static_cast<int>(std::count(flags.begin(), flags.end(), '1'));
    QVERIFY(action.CapturedBytes() <= std::min<std::size_t>(count / 8 + 8, selected * 4u));
    f.editor.History.UndoLast();
    QCOMPARE(f.Selection(), WithCounts(QString::fromStdString(flags + "/")));
    f.editor.History.RedoLast();
    QCOMPARE(f.Selection(), none);
  }

  // A region selects the nodes inside it and the polygons with every corner inside, replacing the
  // selection or adding to it, as one step; a region that changes nothing records none.
  void selectRegion_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QVector<QPointF>>("outline");
    QTest::addColumn<bool>("add");
    QTest::addColumn<QString>("after");
    const QVector<QPointF> rectangle{{0.5, -1}, {3.5, -1}, {3.5, 1}, {0.5, 1}};
    const QVector<QPointF> lasso{{1.5, -1}, {2.5, 0}, {1.5, 1}, {1.8, 0}};  // around node 2 only
    QTest::newRow("rectangle") << "10001/100" << rectangle << false << "01110/010";
    QTest::newRow("rectangle, adding") << "10001/100" << rectangle << true << "11111/110";
    QTest::newRow("lasso") << "00000/000" << lasso << false << "00100/000";
    QTest::newRow("nothing new") << "01110/010" << rectangle << true << "";
  }
  void selectRegion() {
    QFETCH(QString, before);
    QFETCH(QVector<QPointF>, outline);
    QFETCH(bool, add);
    QFETCH(QString, after);
    TFixture f;
    AddThreePolygons(f);
    f.SetSelection(before.toStdString());
    std::vector<TWorldPoint> world;
    for (const QPointF& p : outline) world.push_back({float(p.x()), float(p.y())});
    DoSelectRegion(f.editor, world, add);
    if (after.isEmpty()) {
      QCOMPARE(f.editor.History.UndoCount(), 0);
      return;
    }
    QCOMPARE(f.Selection(), WithCounts(after));
    QCOMPARE(f.editor.History.UndoCount(), 1);
    QVERIFY(SelectionNotifications(f.host));
    f.editor.History.UndoLast();
    QCOMPARE(f.Selection(), WithCounts(before));
  }

  void internalChecksNameTheActionsModule() {
    TFixture f;
    AddThreePolygons(f);
    f.SetSelection("10000/000");
    const auto expectActionsError = [](auto&& call) {
      try {
        call();
      } catch (const EAssertionFailure& e) {
        return std::string(e.what()).starts_with("Assertion failure (Actions)");
      }
      return false;
    };
    // A node already in the requested state: only reachable around the request function.
    TSelectNodeAction selectSelected(f.editor, 0, true);
    QVERIFY(expectActionsError([&] { selectSelected.Execute(); }));
    QVERIFY(expectActionsError([&] { DoSelectAll(f.editor, false, false); }));
    QCOMPARE(f.editor.History.UndoCount(), 0);
    // The corner record must match the node list on undo.
    f.SetSelection("00000/100");
    DoSelectSelectedPolyNodes(f.editor);
    f.editor.Nodes.NewNode("", "", 9, 9, 0);
    QVERIFY(expectActionsError([&] { f.editor.History.UndoLast(); }));
    QCOMPARE(f.editor.History.UndoCount(), 1);
  }
};

TERRAVEL_TEST(TestSelectionActions)
#include "tst_SelectionActions.moc"
