// The 3-D view's model: the ray cast and what it picks, the camera's projection and framing, and
// the mesh buffers rewriting only what an edit changed.
#include <QTest>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <vector>

#include "ActionTestSupport.h"
#include "model/actions/Requests.h"
#include "model/interaction/NodeDrag.h"
#include "model/scene3d/NodeDots.h"
#include "model/interaction/ClickSelection.h"
#include "model/scene3d/Scene3D.h"
#include "model/shaping/SculptBrush.h"
#include "support/TestRegistry.h"

using namespace terravel;
using namespace terravel::test;

namespace {

// The square (0,0)-(100,100) at height 0 as two ground polygons p0 (n0 n1 n2) and p1 (n0 n2 n3).
void MakeSquare(TEditor& editor) {
  editor.Nodes.NewNode("", "", 0, 0, 0);
  editor.Nodes.NewNode("", "", 100, 0, 0);
  editor.Nodes.NewNode("", "", 100, 100, 0);
  editor.Nodes.NewNode("", "", 0, 100, 0);
  editor.Polygons.NewPolygon(0, 1, 2, "", "", "");
  editor.Polygons.NewPolygon(0, 2, 3, "", "", "");
}

// A copy of p0 raised to 50 (n4 n5 n6, p2), and a node below the ground at (70, 20) (n7).
void AddStack(TEditor& editor) {
  editor.Nodes.NewNode("", "", 0, 0, 50);
  editor.Nodes.NewNode("", "", 100, 0, 50);
  editor.Nodes.NewNode("", "", 100, 100, 50);
  editor.Polygons.NewPolygon(4, 5, 6, "", "", "");
  editor.Nodes.NewNode("", "", 70, 20, -10);
}

TCamera3D Camera(double azimuth, double elevation, int width = 400, int height = 400) {
  TCamera3D camera;
  camera.SetViewport(width, height);
  camera.Focus = {50, -50, 0};
  camera.Azimuth = azimuth;
  camera.Elevation = elevation;
  camera.Distance = 400;
  return camera;
}

QString Name(const TPickHit& hit) {
  switch (hit.Kind) {
    case TPickKind::Node: return QStringLiteral("n%1").arg(hit.Index);
    case TPickKind::Polygon: return QStringLiteral("p%1").arg(hit.Index);
    case TPickKind::Nothing: break;
  }
  return QStringLiteral("none");
}

// A grid of n x n nodes 64 apart with two ground polygons per square; heights x * y unless given.
void MakeGrid(TEditor& editor, int n, float (*height)(int x, int y) = nullptr) {
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x)
      editor.Nodes.NewNode("", "", float(64 * x), float(64 * y), height != nullptr ? height(x, y) : float(x * y));
  for (int y = 0; y + 1 < n; ++y)
    for (int x = 0; x + 1 < n; ++x) {
      const int a = y * n + x;
      editor.Polygons.NewPolygon(a, a + 1, a + n + 1, "", "", "");
      editor.Polygons.NewPolygon(a, a + n + 1, a + n, "", "", "");
    }
}

// The nearest hit over every triangle, without the grid; the later of equals.
TRayHit BruteForceHit(const TMeshBuffers& mesh, const TRay& ray) {
  TRayHit best;
  for (std::size_t i = 0; i < mesh.Corners().size(); ++i) {
    const auto& c = mesh.Corners()[i];
    if (c[0] < 0) continue;
    const double t = RayTriangle(ray, mesh.Position(c[0]), mesh.Position(c[1]), mesh.Position(c[2]));
    if (t < best.T || (t == best.T && best.Polygon >= 0)) best = {int(i), t};
  }
  return best;
}

double BruteForceCast(const TMeshBuffers& mesh, const TRay& ray) {
  return BruteForceHit(mesh, ray).T;
}

QByteArray Bytes(const TMeshBuffers& mesh) {
  const auto& v = mesh.Vertices();
  return QByteArray(reinterpret_cast<const char*>(v.data()), qsizetype(v.size() * sizeof(TMeshVertex)));
}

// Hands every published change set to a scene, as the 3-D view does, and keeps the last one that
// changed the mesh (a committed transaction tells only the history afterwards).
class TFollowingHost : public TRecordingHost {
 public:
  TEditor* Editor = nullptr;
  TScene3D Scene;
  TChangeSet Last;
  void Publish(const TChangeSet& changes) override {
    if (changes.Mesh()) Last = changes;
    Scene.Apply(*Editor, changes);
  }
};

using TSceneEdit = std::function<void(TEditor&)>;

}  // namespace

Q_DECLARE_METATYPE(TSceneEdit)

class TestScene3D : public QObject {
  Q_OBJECT
 private slots:
  void picks_data() {
    QTest::addColumn<bool>("stacked");
    QTest::addColumn<double>("elevation");
    QTest::addColumn<double>("worldX");
    QTest::addColumn<double>("worldY");
    QTest::addColumn<double>("z");
    QTest::addColumn<double>("offset");  // pixels to the right of the point
    QTest::addColumn<QString>("expected");
    QTest::newRow("from above the upper of two stacked wins") << true << 90.0 << 75.0 << 25.0 << 50.0 << 0.0 << "p2";
    QTest::newRow("from below the lower one wins") << true << -90.0 << 75.0 << 25.0 << 0.0 << 0.0 << "p0";
    QTest::newRow("slanted, the upper one wins") << true << 35.0 << 80.0 << 10.0 << 50.0 << 0.0 << "p2";
    QTest::newRow("the other polygon") << false << 60.0 << 20.0 << 70.0 << 0.0 << 0.0 << "p1";
    QTest::newRow("a node within the radius wins") << false << 60.0 << 100.0 << 0.0 << 0.0 << 3.0 << "n1";
    QTest::newRow("outside the radius the polygon") << false << 90.0 << 90.0 << 50.0 << 0.0 << 9.0 << "p0";
    QTest::newRow("a node hidden under the ground is not hit") << true << 90.0 << 70.0 << 20.0 << -10.0 << 0.0 << "p2";
    QTest::newRow("beside the terrain nothing") << false << 60.0 << 150.0 << 50.0 << 0.0 << 0.0 << "none";
  }
  void picks() {
    QFETCH(bool, stacked);
    QFETCH(double, elevation);
    QFETCH(double, worldX);
    QFETCH(double, worldY);
    QFETCH(double, z);
    QFETCH(double, offset);
    QFETCH(QString, expected);
    TEditor editor;
    MakeSquare(editor);
    if (stacked) AddStack(editor);
    TScene3D scene;
    scene.Sync(editor);
    TCamera3D camera = Camera(20, elevation);
    camera.SetSceneBounds(scene.Mesh().Bounds());
    TScreenPosition at;
    QVERIFY(camera.Project({worldX, -worldY, z}, at));
    QCOMPARE(Name(scene.PickAt(camera, at.X + offset, at.Y)), expected);
  }

  void rayAlongAnEdgeHitsOneOfItsTriangles_data() {
    QTest::addColumn<double>("dx");
    QTest::addColumn<double>("dy");
    QTest::newRow("straight down") << 0.0 << 0.0;
    QTest::newRow("slanted along the edge") << 0.3 << -0.3;
    QTest::newRow("slanted across the edge") << 0.4 << 0.4;
  }
  void rayAlongAnEdgeHitsOneOfItsTriangles() {
    QFETCH(double, dx);
    QFETCH(double, dy);
    TEditor editor;
    MakeSquare(editor);
    TScene3D scene;
    scene.Sync(editor);
    // The shared edge runs from (0,0) to (100,-100) in scene space.
    for (int i = 1; i < 100; ++i) {
      const TVec3 onEdge{double(i), -double(i), 0};
      const TVec3 direction = Normalized(TVec3{dx, dy, -1});
      const TRayHit hit = scene.Cast({onEdge - direction * 200, direction});
      QVERIFY2(hit.Polygon == 0 || hit.Polygon == 1, qPrintable(QStringLiteral("missed at %1").arg(i)));
      QVERIFY(std::fabs(hit.T - 200) < 1e-6);
    }
  }

  void editsAreSeenByTheNextCast() {
    TEditor editor;
    MakeGrid(editor, 6);
    TScene3D scene;
    scene.Sync(editor);
    const TVec3 down{0, 0, -1};
    // Inside p0 (first square, upper right half).
    const TRay ray{{40, -10, 1000}, down};
    QCOMPARE(scene.Cast(ray).Polygon, 0);
    // Raising a corner raises the hit.
    editor.Nodes[1].Z = 300;
    scene.Sync(editor);
    QVERIFY(scene.Cast(ray).T < 1000 - 1);
    // Moving a corner far away (outside the grid) takes its polygons with it.
    editor.Nodes[6 + 1].X = 5000;
    scene.Sync(editor);
    const TRay far{{2000, -40, 1000}, down};
    const int stretched = scene.Cast(far).Polygon;
    const double stretchedT = scene.Cast(far).T;
    QVERIFY(stretched >= 0);
    const TPoly& p = editor.Polygons[stretched];
    QVERIFY(p.Node1 == 7 || p.Node2 == 7 || p.Node3 == 7);
    // A removed polygon is not hit any more.
    DoSelectPoly(editor, stretched, true);
    DoRemove(editor);
    QCOMPARE(editor.Polygons.Count(), 49);
    scene.Sync(editor);
    QVERIFY(scene.Cast(far).T != stretchedT);
    editor.History.UndoLast();
    scene.Sync(editor);
    QCOMPARE(scene.Cast(far).Polygon, stretched);
  }

  // A scene that follows the change sets casts over the document's plan grid: after a node moves in
  // the plan (within the grid, out of it, shown snapped during a drag, taken back) or polygons come
  // and go, each ray meets what a look at every triangle finds, and a click picks what it shows.
  void castFollowsChangeSets_data() {
    QTest::addColumn<TSceneEdit>("edit");
    QTest::newRow("dragged within the grid") << TSceneEdit([](TEditor& e) {
      DragSelectedNodes(e, 100, -70);
      EndDrag(e);
    });
    QTest::newRow("raised, dragged, shown snapped") << TSceneEdit([](TEditor& e) {
      e.Values.GridX = e.Values.GridY = 256;  // snapped out of the cells of its polygons
      DoChangeNodeZ(e, 400);
      DragSelectedNodes(e, 0, 40);
    });
    QTest::newRow("dragged out of the grid") << TSceneEdit([](TEditor& e) {
      DragSelectedNodes(e, 3000, 500);
      EndDrag(e);
    });
    QTest::newRow("drag undone") << TSceneEdit([](TEditor& e) {
      DragSelectedNodes(e, 100, -70);
      EndDrag(e);
      e.History.UndoLast();
    });
    QTest::newRow("raised") << TSceneEdit([](TEditor& e) { DoChangeNodeZ(e, 500); });
    QTest::newRow("removed") << TSceneEdit([](TEditor& e) { DoRemove(e); });
    QTest::newRow("new polygon over the others") << TSceneEdit([](TEditor& e) {
      T3DCoord top;
      top.X = top.Y = 300;
      top.Z = 900;
      DoAddNode(e, top);
      TPoly polygon;
      polygon.Node1 = 0, polygon.Node2 = 11, polygon.Node3 = e.Nodes.Count() - 1;
      DoAddPolygon(e, polygon);
    });
  }
  void castFollowsChangeSets() {
    QFETCH(TSceneEdit, edit);
    TFollowingHost host;
    TEditor editor(&host);
    host.Editor = &editor;
    MakeGrid(editor, 12);
    const int moved = 5 * 12 + 6;
    SelectNodes(editor, {moved});
    host.Scene.Sync(editor);
    TCamera3D camera = Camera(35, 50);
    camera.Focus = {350, -350, 50};
    camera.Distance = 1500;
    camera.SetSceneBounds(host.Scene.Mesh().Bounds());
    host.Scene.PickAt(camera, 200, 200);  // the plan grid is built before the edit
    edit(editor);
    TScreenPosition at;
    QVERIFY(camera.Project(host.Scene.Mesh().Position(moved), at));
    // Over the whole view, and closely around the moved node.
    for (int k = 0; k < 2 * 31 * 31; ++k) {
      const int i = k % 31 - 15, j = k / 31 % 31 - 15;
      const double x = k < 31 * 31 ? 200 + 13 * i : at.X + 3 * i, y = k < 31 * 31 ? 200 + 13 * j : at.Y + 3 * j;
      const TRay ray = camera.RayThrough(x, y);
      const TRayHit hit = host.Scene.Cast(ray), expected = BruteForceHit(host.Scene.Mesh(), ray);
      QVERIFY2(hit.T == expected.T && hit.Polygon == expected.Polygon,
               qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
    }
    // A click on the moved node picks it: the surface does not hide it.
    QCOMPARE(Name(host.Scene.PickAt(camera, at.X, at.Y)), QStringLiteral("n%1").arg(moved));
  }

  void projectThenUnprojectGivesThePointBack_data() {
    QTest::addColumn<double>("azimuth");
    QTest::addColumn<double>("elevation");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("from above") << 0.0 << 90.0 << 400 << 300;
    QTest::newRow("oblique, wide") << 130.0 << 25.0 << 1600 << 300;
    QTest::newRow("from below, tall") << -70.0 << -40.0 << 300 << 1200;
    QTest::newRow("level") << 200.0 << 0.0 << 640 << 480;
  }
  void projectThenUnprojectGivesThePointBack() {
    QFETCH(double, azimuth);
    QFETCH(double, elevation);
    QFETCH(int, width);
    QFETCH(int, height);
    TCamera3D camera = Camera(azimuth, elevation, width, height);
    TBox3 bounds;
    bounds.Add({-200, -300, -50});
    bounds.Add({300, 100, 150});
    camera.SetSceneBounds(bounds);
    for (const TVec3& p : {TVec3{50, -50, 0}, TVec3{-150, 80, 120}, TVec3{280, -290, -40}, TVec3{0, 0, 0}}) {
      TScreenPosition s;
      QVERIFY(camera.Project(p, s));
      const TVec3 back = camera.Unproject(s);
      QVERIFY2(Length(back - p) < 1e-6 * 400, qPrintable(QStringLiteral("%1 %2 %3").arg(back.X).arg(back.Y).arg(back.Z)));
      // The ray through the pixel passes the point.
      const TRay ray = camera.RayThrough(s.X, s.Y);
      const TVec3 toPoint = p - ray.Origin;
      QVERIFY(Length(Cross(toPoint, ray.Direction)) < 1e-6 * Length(toPoint));
    }
  }

  void framingKeepsEveryNodeOnScreen_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<double>("elevation");
    QTest::newRow("square") << 400 << 400 << 45.0;
    QTest::newRow("wide") << 1600 << 200 << 30.0;
    QTest::newRow("tall") << 200 << 1600 << 60.0;
    QTest::newRow("from above, thin") << 50 << 900 << 90.0;
  }
  void framingKeepsEveryNodeOnScreen() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(double, elevation);
    TEditor editor;
    MakeGrid(editor, 9);
    editor.Nodes[40].Z = 2000;  // a spike in the middle
    TScene3D scene;
    scene.Sync(editor);
    TCamera3D camera = Camera(33, elevation, width, height);
    camera.SetSceneBounds(scene.Mesh().Bounds());
    const auto allOnScreen = [&](bool wholeView) {
      for (const TVec3& p : scene.Mesh().AllPoints()) {
        TScreenPosition s;
        if (!camera.Project(p, s)) return false;
        if (s.Depth < 0 || s.Depth > 1) return false;  // clipped by the near or far plane
        if (wholeView && (s.X < 0 || s.X > width || s.Y < 0 || s.Y > height)) return false;
      }
      return true;
    };
    camera.Frame(scene.Mesh().AllPoints());
    QVERIFY(allOnScreen(true));
    // Far out and close in, nothing in front of the camera leaves the depth range.
    camera.ZoomTowards(camera.Focus, 1000);
    QVERIFY(allOnScreen(true));
    camera.Frame(scene.Mesh().AllPoints());
    camera.Orbit(0, -elevation);  // level with the terrain
    QVERIFY(allOnScreen(true));
  }

  void movingANodeRewritesOnlyItsVertices() {
    TEditor editor;
    MakeGrid(editor, 5);
    TScene3D scene;
    QVERIFY(scene.Sync(editor).Rebuilt);
    QVERIFY(scene.Sync(editor).Empty());
    const QByteArray before = Bytes(scene.Mesh());
    // The middle node: itself and its six neighbours (whose normals turn).
    SelectNodes(editor, {12});
    const TMeshUpdate selected = scene.Sync(editor);
    QVERIFY(selected.Selection && selected.Vertices.empty() && !selected.Triangles);
    DoChangeNodeZ(editor, 40);
    const TMeshUpdate raised = scene.Sync(editor);
    QCOMPARE(raised.VertexBytes(), 7 * sizeof(TMeshVertex));
    QVERIFY(!raised.Triangles && !raised.Rebuilt);
    QCOMPARE(raised.Polygons.size(), std::size_t(6));
    // Only the rewritten vertices differ.
    const QByteArray after = Bytes(scene.Mesh());
    int differing = 0;
    for (qsizetype v = 0; v < after.size() / qsizetype(sizeof(TMeshVertex)); ++v)
      if (std::memcmp(after.constData() + v * qsizetype(sizeof(TMeshVertex)),
                      before.constData() + v * qsizetype(sizeof(TMeshVertex)), sizeof(TMeshVertex)) != 0)
        ++differing;
    QCOMPARE(differing, 7);
    QCOMPARE(scene.Mesh().Position(12).Z, 4.0 + 40);
    editor.History.UndoLast();
    const TMeshUpdate undone = scene.Sync(editor);
    QCOMPARE(undone.VertexBytes(), 7 * sizeof(TMeshVertex));
    QCOMPARE(Bytes(scene.Mesh()), before);
    // Adding a polygon rebuilds the triangle lists.
    editor.Polygons.NewPolygon(0, 6, 5, "", "", "");
    QVERIFY(scene.Sync(editor).Triangles);
  }

  // The grid's walk finds what a look at every triangle finds: slanted rays from all sides over
  // many cells, with one big polygon over the small ones, also after a node moves and back.
  void castFindsTheNearestOfAllTriangles() {
    TEditor editor;
    MakeGrid(editor, 24);
    editor.Nodes.NewNode("", "", -100, -100, 300);
    editor.Nodes.NewNode("", "", 1600, 200, 100);
    editor.Nodes.NewNode("", "", 300, 1600, 400);
    editor.Polygons.NewPolygon(24 * 24, 24 * 24 + 1, 24 * 24 + 2, "", "", "");
    TScene3D scene;
    scene.Sync(editor);
    const auto compare = [&](const char* when) {
      for (int azimuth = 0; azimuth < 360; azimuth += 25)
        for (const double elevation : {15.0, 40.0, 75.0}) {
          TCamera3D camera = Camera(azimuth, elevation);
          camera.Focus = {700, -700, 100};
          camera.Distance = 2500;
          for (int x = 20; x < 400; x += 60)
            for (int y = 20; y < 400; y += 60) {
              const TRay ray = camera.RayThrough(x, y);
              QVERIFY2(scene.Cast(ray).T == BruteForceCast(scene.Mesh(), ray),
                       qPrintable(QStringLiteral("%1: azimuth %2, elevation %3, pixel %4,%5").arg(when).arg(azimuth).arg(elevation).arg(x).arg(y)));
            }
        }
    };
    compare("built");
    const int middle = 12 * 24 + 12;
    editor.Nodes[middle].X += 90;
    editor.Nodes[middle].Z += 500;
    scene.Sync(editor);
    compare("moved");
    editor.Nodes[middle].X -= 90;
    editor.Nodes[middle].Z -= 500;
    scene.Sync(editor);
    compare("moved back");
  }

  // Depth grows away from the eye; a zoom towards a point keeps it on its pixel with the focus at
  // the camera's distance from the eye, and an orbit afterwards keeps the focus in the middle.
  void depthZoomAndOrbit() {
    TCamera3D camera = Camera(30, 40);
    TBox3 bounds;
    bounds.Add({-500, -500, -100});
    bounds.Add({500, 500, 100});
    camera.SetSceneBounds(bounds);
    TScreenPosition nearer, farther;
    QVERIFY(camera.Project(camera.Focus - camera.Forward() * 100, nearer));
    QVERIFY(camera.Project(camera.Focus + camera.Forward() * 100, farther));
    QVERIFY(nearer.Depth < farther.Depth);

    const TVec3 point{120, -20, 30};
    TScreenPosition before, after;
    QVERIFY(camera.Project(point, before));
    camera.ZoomTowards(point, 0.5);
    QVERIFY(camera.Project(point, after));
    QVERIFY(std::fabs(after.X - before.X) < 1e-6 && std::fabs(after.Y - before.Y) < 1e-6);
    QVERIFY(std::fabs(Length(camera.Eye() - camera.Focus) - camera.Distance) < 1e-9 * camera.Distance);
    QVERIFY(std::fabs(camera.Distance - 200) < 1e-9);
    camera.Orbit(70, -15);
    TScreenPosition centre;
    QVERIFY(camera.Project(camera.Focus, centre));
    QVERIFY(std::fabs(centre.X - 200) < 1e-6 && std::fabs(centre.Y - 200) < 1e-6);
  }

  // On a tilted ground plane every normal points up, across the slope as the plane does.
  void normalsOfATiltedGroundPointUp() {
    TEditor editor;
    MakeGrid(editor, 6, [](int x, int y) { return float(32 * x + 16 * y); });
    TScene3D scene;
    scene.Sync(editor);
    // World Z rises 0.5 a unit east and 0.25 a unit south; scene Y is minus world Y.
    const TVec3 expected = Normalized({-0.5, 0.25, 1});
    for (const TMeshVertex& v : scene.Mesh().Vertices()) {
      QVERIFY(v.NZ > 0);
      QVERIFY(std::fabs(v.NX - expected.X) < 1e-5 && std::fabs(v.NY - expected.Y) < 1e-5 &&
              std::fabs(v.NZ - expected.Z) < 1e-5);
    }
  }

  // Dots for every node while they stand apart on screen; on a dense grid (a million nodes seen
  // whole) only the selected ones, or the terrain disappears under them.
  void nodeDotsThinOutWhenDense_data() {
    QTest::addColumn<int>("side");
    QTest::addColumn<bool>("shown");
    QTest::newRow("10 x 10") << 10 << true;
    QTest::newRow("30 x 30") << 30 << true;
    QTest::newRow("1000 x 1000") << 1000 << false;
  }
  void nodeDotsThinOutWhenDense() {
    QFETCH(int, side);
    QFETCH(bool, shown);
    TCamera3D camera;
    camera.SetViewport(800, 600);
    const double extent = 64.0 * (side - 1);
    camera.Frame({{0, 0, 0}, {extent, -extent, 0}});
    QCOMPARE(AllNodeDotsShown(camera, extent * std::sqrt(2.0), side * side), shown);
  }

  // A node at no finite place, or very far, is named and left out of the bounds and the ray cast;
  // the rest of the terrain is still framed and hit as before.
  void farAndUndefinedNodesAreLeftOut_data() {
    QTest::addColumn<float>("x");
    QTest::addColumn<bool>("named");
    QTest::newRow("minus infinity") << -INFINITY << true;
    QTest::newRow("not a number") << NAN << true;
    QTest::newRow("4e9") << 4e9f << false;
  }
  void farAndUndefinedNodesAreLeftOut() {
    QFETCH(float, x);
    QFETCH(bool, named);
    TEditor editor;
    MakeGrid(editor, 6);
    editor.Nodes[35].X = x;
    TScene3D scene;
    scene.Sync(editor);
    QCOMPARE(QString::fromStdString(scene.Note()).contains("the X coordinate of node 35 ("), named);
    if (named) {
      const TBox3 bounds = scene.Mesh().Bounds();
      QCOMPARE(bounds.Min.X, 0.0);
      QCOMPARE(bounds.Max.X, 320.0);
    }
    for (const double px : {10.0, 100.0, 200.0, 250.0}) {
      const TRay ray{{px, -px - 5, 1000}, {0, 0, -1}};
      QCOMPARE(scene.Cast(ray).T, BruteForceCast(scene.Mesh(), ray));
      QVERIFY(scene.Cast(ray).Polygon >= 0);
    }
    editor.Nodes[35].X = 320;
    scene.Sync(editor);
    QVERIFY(scene.Note().empty());
  }

  // A scene that takes only the change sets ends byte for byte where one that compares the whole
  // document does, and each change set names exactly the nodes that moved.
  void changeSetsKeepTheSceneInStep_data() {
    QTest::addColumn<TSceneEdit>("edit");
    QTest::addColumn<QList<int>>("moved");
    QTest::addColumn<bool>("selection");
    QTest::newRow("click") << TSceneEdit([](TEditor& e) { DoSelectNode(e, 7, true); }) << QList<int>{} << true;
    QTest::newRow("wheel notch") << TSceneEdit([](TEditor& e) { DoChangeNodeZ(e, 40); }) << QList<int>{12} << false;
    QTest::newRow("drag") << TSceneEdit([](TEditor& e) {
      DragSelectedNodes(e, 30, 10);
      DragSelectedNodes(e, 30, 10);
      EndDrag(e);
    }) << QList<int>{12} << false;
    QTest::newRow("sculpt dab") << TSceneEdit([](TEditor& e) {
      DoSelectNothing(e);
      TSculptStroke stroke(e, {TSculptMode::Raise, 70, 5, TFalloff::Constant});
      stroke.Dab(0, 0);
      stroke.End();
    }) << QList<int>{0, 1, 5} << false;
    QTest::newRow("undo") << TSceneEdit([](TEditor& e) {
      DoChangeNodeZ(e, 40);
      e.History.UndoLast();
    }) << QList<int>{12} << false;
    QTest::newRow("highest node down") << TSceneEdit([](TEditor& e) {
      DoSelectNothing(e);
      DoSelectNode(e, 24, true);
      DoChangeNodeZ(e, -100);
    }) << QList<int>{24} << false;
    QTest::newRow("out to the edge") << TSceneEdit([](TEditor& e) { DoChangeNodeZ(e, 5000); }) << QList<int>{12}
                                     << false;
    QTest::newRow("polygon clicks") << TSceneEdit([](TEditor& e) {
      SelectByClick(e, {TPickKind::Polygon, 10}, false, false);
      SelectByClick(e, {TPickKind::Polygon, 3}, false, true);
      SelectByClick(e, {TPickKind::Polygon, 20}, false, true);
      SelectByClick(e, {TPickKind::Polygon, 10}, false, true);
    }) << QList<int>{} << true;
    QTest::newRow("nothing, undone") << TSceneEdit([](TEditor& e) {
      DoSelectPoly(e, 9, true);
      DoSelectPoly(e, 4, true);
      DoSelectNothing(e);
      e.History.UndoLast();
    }) << QList<int>{} << true;
    QTest::newRow("new polygon") << TSceneEdit([](TEditor& e) {
      DoSelectNothing(e);
      TPoly polygon;
      polygon.Node1 = 0, polygon.Node2 = 6, polygon.Node3 = 5;
      DoAddPolygon(e, polygon);
    }) << QList<int>{} << false;
  }
  void changeSetsKeepTheSceneInStep() {
    QFETCH(TSceneEdit, edit);
    QFETCH(QList<int>, moved);
    QFETCH(bool, selection);
    TFollowingHost host;
    TEditor editor(&host);
    host.Editor = &editor;
    MakeGrid(editor, 5);
    editor.SnapToGrid = false;
    SelectNodes(editor, {12});
    TScene3D whole;
    whole.Sync(editor);
    host.Scene.Sync(editor);
    edit(editor);
    std::vector<int> named = host.Last.MovedNodes;
    std::sort(named.begin(), named.end());
    named.erase(std::unique(named.begin(), named.end()), named.end());
    if (!host.Last.Topology()) {
      QCOMPARE(QList<int>(named.begin(), named.end()), moved);
      QCOMPARE(host.Last.Selection, selection);
    }
    whole.Sync(editor);
    QCOMPARE(Bytes(host.Scene.Mesh()), Bytes(whole.Mesh()));
    QVERIFY(host.Scene.Mesh().GroundIndices() == whole.Mesh().GroundIndices());
    QVERIFY(host.Scene.Mesh().SelectedNodes() == whole.Mesh().SelectedNodes());
    QVERIFY(host.Scene.Mesh().SelectedIndices() == whole.Mesh().SelectedIndices());
    QCOMPARE(host.Scene.Mesh().Bounds().Max.Z, whole.Mesh().Bounds().Max.Z);
  }

  void exaggerationScalesHeightsOnly() {
    TEditor editor;
    MakeGrid(editor, 3);
    TScene3D scene;
    scene.SetExaggeration(4);
    scene.Sync(editor);
    QCOMPARE(scene.Mesh().Position(4).Z, 4.0 * 1);
    QCOMPARE(scene.Mesh().Vertices()[4].Height, 1.0f);
    QCOMPARE(scene.Mesh().Position(4).X, 64.0);
    QCOMPARE(scene.Mesh().Position(4).Y, -64.0);
    scene.SetExaggeration(50);
    QCOMPARE(scene.Mesh().Exaggeration(), kMaxExaggeration);
  }
};

TERRAVEL_TEST(TestScene3D)
#include "tst_Scene3D.moc"
