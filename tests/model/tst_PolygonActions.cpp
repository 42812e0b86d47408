// Polygon actions: adding, the text fields, a corner, the colour and flipping, each executed,
// undone and redone with its notifications.
#include <QTest>

#include "ActionTestSupport.h"
#include "model/actions/PolygonActions.h"
#include "model/actions/Requests.h"
#include "model/actions/StringActions.h"
#include "support/TestRegistry.h"

using namespace terravel;
using namespace terravel::test;

namespace {

const QString kFieldChanged = "changes record values history modified";

const QString kFlipped = "changes rewired history modified";

// Ten nodes; Polygon1 (4, 7, 9), Polygon2 (0, 1, 2), Polygon3 (3, 5, 6), the first and last selected.
void MakeDocument(TActionFixture& f) {
  AddNodes(f.editor, 10);
  f.editor.Polygons.NewPolygon(4, 7, 9, "A.One", "g1", "");
  f.editor.Polygons.NewPolygon(0, 1, 2, "B.Two", "g2", "");
  f.editor.Polygons.NewPolygon(3, 5, 6, "", "", "");
  f.editor.Polygons[0].Color = 0x112233;
  SelectPolygons(f.editor, {0, 2});
  f.Calls();
}

}  // namespace

class TestPolygonActions : public QObject {
  Q_OBJECT
 private slots:
  void addPolygon() {
    TActionFixture f;
    AddNodes(f.editor, 3);
    f.Calls();
    TPoly polygon;
    polygon.Node1 = 0;
    polygon.Node2 = 2;
    polygon.Node3 = 1;
    polygon.Texture = kDefaultTexture;
    DoAddPolygon(f.editor, polygon);
    QCOMPARE(f.editor.Polygons.Count(), 1);
    const TPoly& added = f.editor.Polygons[0];
    QCOMPARE(added.Name, std::string("Polygon1"));
    QVERIFY(added.Selected);
    QCOMPARE(added.Node2, 2);
    QCOMPARE(added.Color, -1);
    QCOMPARE(added.Texture, std::string(kDefaultTexture));
    QCOMPARE(f.editor.State.SelectedPolygonCount(), 1);
    QCOMPARE(UndoText(f.editor), QString("Add Polygon"));
    QCOMPARE(f.Calls(),
             QString("changes polygons selection records mode 4 history modified"));

    f.editor.History.UndoLast();
    QCOMPARE(f.editor.Polygons.Count(), 0);
    QCOMPARE(f.editor.State.SelectedPolygonCount(), 0);
    QCOMPARE(f.Calls(),
             QString("changes polygons selection records history modified"));

    f.editor.History.RedoLast();
    QCOMPARE(f.editor.Polygons.Count(), 1);
    QCOMPARE(f.editor.Polygons[0].Name, std::string("Polygon1"));
    QCOMPARE(f.Calls(),
             QString("changes polygons selection records mode 4 history modified"));
  }

  void addPolygonNeedsExistingCorners_data() {
    QTest::addColumn<int>("n1");
    QTest::addColumn<int>("n2");
    QTest::addColumn<int>("n3");
    QTest::newRow("negative") << 0 << -1 << 2;
    QTest::newRow("first too large") << 3 << 1 << 2;
    QTest::newRow("last too large") << 0 << 1 << 3;
  }
  void addPolygonNeedsExistingCorners() {
    QFETCH(int, n1);
    QFETCH(int, n2);
    QFETCH(int, n3);
    TActionFixture f;
    AddNodes(f.editor, 3);
    f.Calls();
    TPoly polygon;
    polygon.Node1 = n1;
    polygon.Node2 = n2;
    polygon.Node3 = n3;
    DoAddPolygon(f.editor, polygon);
    QCOMPARE(f.editor.Polygons.Count(), 0);
    QCOMPARE(f.editor.History.UndoCount(), 0);
    QCOMPARE(f.Calls(), QString());
  }

  void stringActions_data() {
    QTest::addColumn<int>("field");  // 0 name, 1 group, 2 texture
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("calls");
    QTest::newRow("name") << 0 << "Ground"
                          << "Set Polygon Name to Ground" << kFieldChanged;
    QTest::newRow("group") << 1 << "Hills"
                           << "Set Polygon Group to Hills" << "changes records record values history modified";
    QTest::newRow("texture") << 2 << "GenEarth.Rock"
                             << "Set Polygon Texture to GenEarth.Rock" << kFieldChanged;
    QTest::newRow("no texture") << 2 << ""
                                << "Set Polygon Texture to (undefined)" << kFieldChanged;
  }
  void stringActions() {
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(QString, description);
    QFETCH(QString, calls);
    TActionFixture f;
    MakeDocument(f);
    const auto value = [&](int i) {
      const TPoly& p = f.editor.Polygons[i];
      return QString::fromStdString(field == 0 ? p.Name : field == 1 ? p.Group : p.Texture);
    };
    const QStringList before = {value(0), value(1), value(2)};
    const std::string request = text.toStdString();
    field == 0   ? DoSetPolyName(f.editor, request)
    : field == 1 ? DoSetPolyGroup(f.editor, request)
                 : DoSetPolyTexture(f.editor, request);
    QCOMPARE(UndoText(f.editor), description);
    QCOMPARE(f.Calls(), calls);
    QCOMPARE(QStringList({value(0), value(1), value(2)}), QStringList({text, before[1], text}));

    f.editor.History.UndoLast();
    QCOMPARE(f.Calls(), calls);
    QCOMPARE(QStringList({value(0), value(1), value(2)}), before);

    f.editor.History.RedoLast();
    QCOMPARE(f.Calls(), calls);
    QCOMPARE(QStringList({value(0), value(1), value(2)}), QStringList({text, before[1], text}));
  }

  void integerActions_data() {
    QTest::addColumn<int>("corner");  // 0 for the colour
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("description");
    QTest::newRow("node 1") << 1 << 8 << "Set Polygon Node Index 1 to 8";
    QTest::newRow("node 2") << 2 << 5 << "Set Polygon Node Index 2 to 5";
    QTest::newRow("node 3") << 3 << 0 << "Set Polygon Node Index 3 to 0";
    QTest::newRow("red") << 0 << 255 << "Set Polygon Color to $000000FF";
    QTest::newRow("automatic colour") << 0 << -1 << "Set Polygon Color to $FFFFFFFF";
    QTest::newRow("blue") << 0 << 0xABCDEF << "Set Polygon Color to $00ABCDEF";
  }
  void integerActions() {
    QFETCH(int, corner);
    QFETCH(int, value);
    QFETCH(QString, description);
    TActionFixture f;
    MakeDocument(f);
    const auto read = [&](int i) {
      const TPoly& p = f.editor.Polygons[i];
      return corner == 1 ? p.Node1 : corner == 2 ? p.Node2 : corner == 3 ? p.Node3 : p.Color;
    };
    const int old0 = read(0), old1 = read(1), old2 = read(2);
    // A corner rewires the polygons; a colour is only a value of theirs.
    const std::string kIntegerChanged =
        corner == 0 ? "changes record values history modified" : "changes rewired history modified";
    corner == 0 ? DoSetPolyColor(f.editor, value) : DoSetPolyNode(f.editor, corner, value);
    QCOMPARE(UndoText(f.editor), description);
    QCOMPARE(Describe(f.DoneChanges()), kIntegerChanged);
    QCOMPARE(read(0), value);
    QCOMPARE(read(1), old1);
    QCOMPARE(read(2), value);

    f.editor.History.UndoLast();
    QCOMPARE(Describe(f.UndoneChanges()), kIntegerChanged);
    QCOMPARE(read(0), old0);
    QCOMPARE(read(2), old2);

    f.editor.History.RedoLast();
    QCOMPARE(Describe(f.DoneChanges()), kIntegerChanged);
    QCOMPARE(read(0), value);
  }

  void flip() {
    TActionFixture f;
    MakeDocument(f);
    DoFlipPolygons(f.editor);
    QCOMPARE(UndoText(f.editor), QString("Flip Polygon Orientation"));
    QCOMPARE(f.Calls(), kFlipped);
    QCOMPARE(Corners(f.editor), (std::vector<int>{4, 9, 7, 0, 1, 2, 3, 6, 5}));
    DoFlipPolygons(f.editor);
    QCOMPARE(Corners(f.editor), (std::vector<int>{4, 7, 9, 0, 1, 2, 3, 5, 6}));
    f.editor.History.UndoLast();
    QCOMPARE(f.Calls(), kFlipped + ", " + kFlipped);
    QCOMPARE(Corners(f.editor), (std::vector<int>{4, 9, 7, 0, 1, 2, 3, 6, 5}));
    f.editor.History.UndoLast();
    QCOMPARE(Corners(f.editor), (std::vector<int>{4, 7, 9, 0, 1, 2, 3, 5, 6}));
    f.editor.History.RedoLast();
    QCOMPARE(f.Calls(), kFlipped + ", " + kFlipped);
    QCOMPARE(Corners(f.editor), (std::vector<int>{4, 9, 7, 0, 1, 2, 3, 6, 5}));
  }

  void failingRequestsRecordNothing() {
    TActionFixture f;
    MakeDocument(f);
    SelectPolygons(f.editor, {});
    SelectNodes(f.editor, {0});  // selected nodes do not count
    f.Calls();
    DoSetPolyName(f.editor, "x");
    DoSetPolyGroup(f.editor, "x");
    DoSetPolyTexture(f.editor, "x");
    DoSetPolyNode(f.editor, 1, 0);
    DoSetPolyColor(f.editor, 0);
    DoFlipPolygons(f.editor);
    SelectPolygons(f.editor, {1});
    f.Calls();
    DoSetPolyNode(f.editor, 0, 1);
    DoSetPolyNode(f.editor, 4, 1);
    QCOMPARE(f.editor.History.UndoCount(), 0);
    QCOMPARE(f.Calls(), QString());
  }

  void brokenInvariantsAreActionsAssertions() {
    TEditor editor;
    AddNodes(editor, 3);
    editor.Polygons.NewPolygon(0, 1, 2, "", "", "");  // not selected
    TFlipPolygonAction flip(editor);
    flip.Execute();
    QVERIFY(FailsWithActionsAssertion([&] { flip.Undo(); }));
    TSetPolyColorAction color(editor, 1);
    color.Execute();
    QVERIFY(FailsWithActionsAssertion([&] { color.Undo(); }));
    TSetPolyTextureAction texture(editor, "x");
    texture.Execute();
    QVERIFY(FailsWithActionsAssertion([&] { texture.Undo(); }));
    // The added polygon went behind the action's back.
    TAddPolygonAction add(editor, TPoly{});
    add.Execute();
    editor.Polygons.DetachPolygon(add.Index());
    QVERIFY(FailsWithActionsAssertion([&] { add.Undo(); }));
    QVERIFY(FailsWithActionsAssertion([&] { TSetPolyNodeAction(editor, 4, 0); }));
  }
};

TERRAVEL_TEST(TestPolygonActions)
#include "tst_PolygonActions.moc"
