// The geometry of the editing commands: choosing and winding the corners of a new polygon, the
// polygons a removal takes along, the texture names on offer and where a new node goes.
#include <QList>
#include <QPointF>
#include <QTest>

#include <string>
#include <vector>

#include "model/editing/PolygonPlacement.h"
#include "model/editor/Editor.h"
#include "model/project/NewProject.h"
#include "support/TestRegistry.h"

using namespace terravel;

namespace {

using Points = QList<QPointF>;
using Indices = QList<int>;

// Nodes at the points, polygons from consecutive index triples.
void Build(TEditor& editor, const Points& nodes, const Indices& corners) {
  for (const QPointF& p : nodes) editor.Nodes.NewNode("", "", float(p.x()), float(p.y()), 0);
  for (qsizetype i = 0; i + 2 < corners.size(); i += 3) {
    editor.Polygons.NewPolygon(corners[i], corners[i + 1], corners[i + 2], "", "", "");
  }
}

// The new-project triangle: top, bottom left, bottom right (ground in this order).
const Points kTriangle{{0, -256}, {-256, 256}, {256, 256}};

}  // namespace

Q_DECLARE_METATYPE(TPlacementResult)

class TestPolygonPlacement : public QObject {
  Q_OBJECT
 private slots:
  // An empty selection means cursor mode at the point.
  void placement_data() {
    QTest::addColumn<Points>("nodes");
    QTest::addColumn<Indices>("polygons");
    QTest::addColumn<Indices>("selected");
    QTest::addColumn<QPointF>("cursor");
    QTest::addColumn<bool>("ground");
    QTest::addColumn<TPlacementResult>("result");
    QTest::addColumn<Indices>("corners");  // Node1..Node3, or DuplicateIndex alone
    const QPointF top(0, -200);
    using R = TPlacementResult;

    QTest::newRow("ground kept") << kTriangle << Indices{} << Indices{} << top << true << R::Ok
                                 << Indices{0, 1, 2};
    QTest::newRow("sky swaps") << kTriangle << Indices{} << Indices{} << top << false << R::Ok
                               << Indices{0, 2, 1};
    QTest::newRow("ground swaps a sky order") << Points{{0, -256}, {256, 256}, {-256, 256}} << Indices{}
                                              << Indices{} << top << true << R::Ok << Indices{0, 2, 1};
    QTest::newRow("two nodes") << Points{{0, 0}, {1, 1}} << Indices{} << Indices{} << top << true
                               << R::TooFewNodes << Indices{-1, -1, -1};
    // The existing triangle lies on A's side of B->C.
    QTest::newRow("cursor on an existing triangle")
        << kTriangle << Indices{0, 1, 2} << Indices{} << top << true << R::NoCorners << Indices{-1, -1, -1};
    QTest::newRow("selected existing triangle")
        << Points{{0, -256}, {-256, 256}, {256, 256}, {512, 0}} << Indices{1, 2, 3, 2, 0, 1}
        << Indices{0, 1, 2} << top << true << R::Duplicate << Indices{1};
    QTest::newRow("selected collinear")
        << Points{{0, 0}, {64, 64}, {128, 128}} << Indices{} << Indices{0, 1, 2} << top << true
        << R::Degenerate << Indices{0, 1, 2};
    // A sliver of area 1/2: the single-precision sum rounds to 0.
    QTest::newRow("sum rounds to zero")
        << Points{{0, 8388608}, {0, 8388609}, {1, 8388608}} << Indices{} << Indices{0, 1, 2} << top << true
        << R::Degenerate << Indices{0, 1, 2};

    // Cursor at the origin, nearest first: 0 (A), 1, 2, 3, 4.
    const Points nearOrigin{{0, 0}, {0, 20}, {25, 0}, {-30, 0}};
    // Edge 0-1 is used on both sides: 2 becomes B, 3 the third node.
    QTest::newRow("edge used twice is skipped")
        << Points{{0, 0}, {0, 10}, {-50, 5}, {50, 5}, {0, -60}} << Indices{0, 1, 2, 1, 0, 3} << Indices{}
        << QPointF(0, -1) << true << R::Ok << Indices{0, 2, 3};
    // Edge 2-0 closes the triangle 0, 1, 2 and is used on both sides: 3 becomes the third node.
    QTest::newRow("closing edge used twice is skipped")
        << Points{{0, 0}, {0, 10}, {12, 0}, {-20, 0}, {5, -50}, {5, 50}} << Indices{0, 2, 4, 2, 0, 5}
        << Indices{} << QPointF(0, 0) << true << R::Ok << Indices{0, 3, 1};
    // Polygon 1-2-4 lies on A's side of 1->2 with 4 at (-100, -100): 2 is passed over.
    QTest::newRow("candidate on the side of a triangle is skipped")
        << nearOrigin + Points{{-100, -100}} << Indices{1, 2, 4} << Indices{} << QPointF(0, 0) << true
        << R::Ok << Indices{0, 3, 1};
    QTest::newRow("triangle on the far side is no obstacle")
        << nearOrigin + Points{{100, 100}} << Indices{1, 2, 4} << Indices{} << QPointF(0, 0) << true << R::Ok
        << Indices{0, 1, 2};
  }
  void placement() {
    QFETCH(Points, nodes);
    QFETCH(Indices, polygons);
    QFETCH(Indices, selected);
    QFETCH(QPointF, cursor);
    QFETCH(bool, ground);
    QFETCH(TPlacementResult, result);
    QFETCH(Indices, corners);
    TEditor editor;
    Build(editor, nodes, polygons);
    const TPolygonPlacement placed =
        selected.isEmpty() ? PlacePolygonAt(editor, float(cursor.x()), float(cursor.y()), ground)
                           : PlacePolygonOn(editor, selected[0], selected[1], selected[2], ground);
    QCOMPARE(placed.Result, result);
    if (result == TPlacementResult::Duplicate) {
      QCOMPARE(placed.DuplicateIndex, corners[0]);
      return;
    }
    QCOMPARE((Indices{placed.Node1, placed.Node2, placed.Node3}), corners);
    if (result == TPlacementResult::Ok) {
      const float s = OrientationSum(editor, placed.Node1, placed.Node2, placed.Node3);
      QCOMPARE(s > 0, ground);
    }
  }

  void edgeQuestions() {
    TEditor editor;
    Build(editor, {{0, 0}, {10, 0}, {5, 10}, {5, -10}, {5, 5}, {-10, 0}}, {0, 1, 2, 1, 0, 3, 4, 4, 0});
    QCOMPARE(EdgeUseCount(editor, 1, 0), 2);
    QCOMPARE(EdgeUseCount(editor, 0, 2), 1);
    QCOMPARE(EdgeUseCount(editor, 2, 3), 0);
    QCOMPARE(EdgeUseCount(editor, 4, 4), 1);    // a polygon with a repeated corner
    QVERIFY(OverlapsOnEdge(editor, 0, 1, 2));   // 2 itself is the third corner of polygon 0
    QVERIFY(OverlapsOnEdge(editor, 0, 1, 3));   // and 3 that of polygon 1, on the other side
    QVERIFY(OverlapsOnEdge(editor, 0, 2, 3));   // 1 and 3 lie on the same side of 0->2
    QVERIFY(!OverlapsOnEdge(editor, 0, 2, 5));  // 5 does not
    QVERIFY(!OverlapsOnEdge(editor, 2, 3, 0));  // no polygon has that edge
    QVERIFY(!OverlapsOnEdge(editor, 0, 1, 1));  // on the line: neither side
  }

  // The index the placement asks agrees with a plain pass over the polygons.
  void edgeIndexMatchesTheList() {
    TEditor editor;
    NewMesh(editor, 3);
    editor.Polygons.NewPolygon(5, 5, 6, "", "", "");
    editor.Polygons.NewPolygon(0, 15, 7, "", "", "");  // a third user of some edges
    const TMeshIndex& index = editor.Index;
    for (int a = 0; a < editor.Nodes.Count(); ++a) {
      for (int b = 0; b < editor.Nodes.Count(); ++b) {
        QCOMPARE(index.EdgeUseCount(a, b), EdgeUseCount(editor, a, b));
        for (int r : {0, 6, 15})
          QCOMPARE(index.OverlapsOnEdge(a, b, r), OverlapsOnEdge(editor, a, b, r));
      }
    }
  }

  void polygonsUsingSelectedNodes_data() {
    QTest::addColumn<Indices>("polygons");
    QTest::addColumn<Indices>("selected");
    QTest::addColumn<int>("count");
    QTest::newRow("one node of two polygons") << Indices{0, 1, 2, 0, 2, 3} << Indices{2} << 2;
    QTest::newRow("all nodes of one triangle") << Indices{0, 1, 2} << Indices{0, 1, 2} << 1;
    QTest::newRow("unused node") << Indices{0, 1, 2} << Indices{3} << 0;
  }
  void polygonsUsingSelectedNodes() {
    QFETCH(Indices, polygons);
    QFETCH(Indices, selected);
    QFETCH(int, count);
    TEditor editor;
    Build(editor, {{0, 0}, {1, 0}, {1, 1}, {0, 1}}, polygons);
    for (int i : selected) editor.Nodes.SetSelected(i, true);
    QCOMPARE(PolygonsUsingSelectedNodes(editor), count);
  }

  void textureNames() {
    TEditor editor;
    Build(editor, {{0, 0}}, {});
    for (const char* texture : {"Rock", "grass", "GenEarth.Grass", "", "ROCK", "Grass", "_Water", "grass"}) {
      editor.Polygons.NewPolygon(0, 0, 0, texture, "", "");
    }
    // Folded to lower case, "_" sorts before the letters.
    QCOMPARE(TextureNames(editor),
             (std::vector<std::string>{"", "_Water", "GenEarth.Grass", "grass", "Rock"}));
  }

  void addNodePosition_data() {
    QTest::addColumn<QPointF>("world");
    QTest::addColumn<bool>("snap");
    QTest::addColumn<int>("grid");
    QTest::addColumn<QPointF>("expected");
    QTest::newRow("rounds to the grid") << QPointF(100, -20) << true << 64 << QPointF(128, 0);
    QTest::newRow("half a step rounds to even") << QPointF(95, 32) << true << 64 << QPointF(64, 0);
    QTest::newRow("snapping off") << QPointF(95, 32) << false << 64 << QPointF(95, 32);
    QTest::newRow("no grid") << QPointF(95, 32) << true << 0 << QPointF(95, 32);
  }
  void addNodePosition() {
    QFETCH(QPointF, world);
    QFETCH(bool, snap);
    QFETCH(int, grid);
    QFETCH(QPointF, expected);
    TEditor editor;
    editor.View.Zoom = 1;
    editor.Values.GridX = editor.Values.GridY = grid;
    editor.SnapToGrid = snap;
    // One pixel is one unit and the origin is at the viewport centre (480, 297).
    const TWorldPoint p = AddNodePosition(editor, 480 + int(world.x()), 297 + int(world.y()));
    QCOMPARE(p.X, float(expected.x()));
    QCOMPARE(p.Y, float(expected.y()));
  }
};

TERRAVEL_TEST(TestPolygonPlacement)
#include "tst_PolygonPlacement.moc"
