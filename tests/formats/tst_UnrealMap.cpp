// The Unreal map export: closed, outward-facing brushes of planar convex polygons, tiles that meet
// without T-junctions, snapping that refuses to spoil a triangle, and a file our import reads back.
#include <QFile>
#include <QTest>

#include <cmath>
#include <map>
#include <set>

#include "model/core/Errors.h"
#include "model/editor/Editor.h"
#include "model/formats/MapBrushes.h"
#include "model/formats/T3DParser.h"
#include "model/formats/UnrealMapExport.h"
#include "model/formats/UnrealTextImport.h"
#include "model/project/NewProject.h"
#include "support/TestRegistry.h"

using namespace terravel;

Q_DECLARE_METATYPE(terravel::TCsgMode)

namespace {

using TKey = std::tuple<float, float, float>;
TKey KeyOf(const TMapPoint& p) {
  return {p.X, p.Y, p.Z};
}

// A mesh of 8 x 8 cells of 256 units with uneven whole-number heights, and optionally a sky
// triangle above it.
void MakeHills(TEditor& editor, bool sky = false) {
  NewMesh(editor, 8);
  for (int i = 0; i < editor.Nodes.Count(); ++i) editor.Nodes[i].Z = float((i * 37) % 101) - 40;
  if (sky) {
    const int a = editor.Nodes.NewNode("", "", 0, 0, 900), b = editor.Nodes.NewNode("", "", 256, 0, 900),
              c = editor.Nodes.NewNode("", "", 0, 256, 900);
    editor.Polygons.NewPolygon(a, b, c, "GenEarth.Sky", "", "");
  }
}

double Dot(double ax, double ay, double az, const TMapPoint& b) {
  return ax * b.X + ay * b.Y + az * b.Z;
}

// Six times the signed volume: positive when every normal points out of the solid.
double SignedVolume(const TMapBrush& brush) {
  double volume = 0;
  for (const TMapPolygon& polygon : brush.Polygons) {
    const TMapPoint& a = polygon.Vertices[0];
    for (std::size_t k = 1; k + 1 < polygon.Vertices.size(); ++k) {
      const TMapPoint &b = polygon.Vertices[k], &c = polygon.Vertices[k + 1];
      volume += Dot(double(b.Y) * c.Z - double(b.Z) * c.Y, double(b.Z) * c.X - double(b.X) * c.Z,
                    double(b.X) * c.Y - double(b.Y) * c.X, a);
    }
  }
  return volume;
}

// Empty when every directed edge is used once and its reverse once.
QString ClosureFault(const TMapBrush& brush) {
  std::map<std::pair<TKey, TKey>, int> uses;
  for (const TMapPolygon& polygon : brush.Polygons)
    for (std::size_t k = 0; k < polygon.Vertices.size(); ++k)
      ++uses[{KeyOf(polygon.Vertices[k]), KeyOf(polygon.Vertices[(k + 1) % polygon.Vertices.size()])}];
  for (const auto& [edge, count] : uses) {
    const auto reverse = uses.find({edge.second, edge.first});
    if (count != 1 || reverse == uses.end() || reverse->second != 1)
      return "an edge is not used twice, opposite";
  }
  return {};
}

// Empty when the polygon is planar and convex, of 3 to 16 vertices.
QString ShapeFault(const TMapPolygon& polygon) {
  const std::size_t n = polygon.Vertices.size();
  if (n < 3 || n > 16) return "vertex count";
  const TMapPoint normal = PolygonNormal(polygon);
  const double length = std::sqrt(Dot(normal.X, normal.Y, normal.Z, normal));
  if (!(length > 0)) return "no normal";
  const TMapPoint& o = polygon.Vertices[0];
  for (std::size_t k = 0; k < n; ++k) {
    const TMapPoint &a = polygon.Vertices[k], &b = polygon.Vertices[(k + 1) % n],
                    &c = polygon.Vertices[(k + 2) % n];
    if (std::abs(Dot(double(a.X) - o.X, double(a.Y) - o.Y, double(a.Z) - o.Z, normal)) / length > 1e-3)
      return "not planar";
    const double ux = double(b.X) - a.X, uy = double(b.Y) - a.Y, uz = double(b.Z) - a.Z;
    const double vx = double(c.X) - b.X, vy = double(c.Y) - b.Y, vz = double(c.Z) - b.Z;
    if (Dot(uy * vz - uz * vy, uz * vx - ux * vz, ux * vy - uy * vx, normal) < -1e-6) return "not convex";
  }
  return {};
}

}  // namespace

class TestUnrealMap : public QObject {
  Q_OBJECT
 private slots:
  void brushesAreClosedSolids_data() {
    QTest::addColumn<TCsgMode>("csg");
    QTest::addColumn<double>("tile");
    QTest::addColumn<int>("maxPolygons");
    QTest::addColumn<bool>("subtract");
    QTest::addColumn<int>("polyFlags");
    QTest::newRow("subtract, one tile") << TCsgMode::Subtract << 2048.0 << 0 << true << 0;
    QTest::newRow("add, tiles of 512") << TCsgMode::Add << 512.0 << 0 << false << 0;
    QTest::newRow("semisolid, tiles of 300") << TCsgMode::Semisolid << 300.0 << 0 << false << 32;
    QTest::newRow("subtract, at most 40 polygons") << TCsgMode::Subtract << 2048.0 << 40 << true << 0;
  }
  void brushesAreClosedSolids() {
    QFETCH(TCsgMode, csg);
    QFETCH(double, tile);
    QFETCH(int, maxPolygons);
    QFETCH(bool, subtract);
    QFETCH(int, polyFlags);
    TEditor editor;
    MakeHills(editor, true);
    TMapExportOptions options;
    options.Csg = csg;
    options.TileSize = tile;
    options.MaxBrushPolygons = maxPolygons;
    const TMapBrushes brushes = BuildMapBrushes(editor.Nodes, editor.Polygons, options);
    std::size_t terrain = 0, ground = 0;
    for (const TMapBrush& brush : brushes.Brushes) {
      for (const TMapPolygon& polygon : brush.Polygons) QCOMPARE(ShapeFault(polygon), QString());
      if (brush.Role == TBrushRole::Sky) {
        QCOMPARE(brush.PolyFlags, kPolyNotSolid | kPolyTwoSided);
        QCOMPARE(brush.Polygons.front().Flags, kPolyNotSolid | kPolyTwoSided);
        continue;
      }
      ++terrain;
      QCOMPARE(brush.Subtract, subtract);
      QCOMPARE(int(brush.PolyFlags), polyFlags);
      QCOMPARE(ClosureFault(brush), QString());
      QVERIFY(SignedVolume(brush) > 0);
      if (maxPolygons > 0) QVERIFY(brush.Polygons.size() <= std::size_t(maxPolygons));
      for (const TMapPolygon& polygon : brush.Polygons) ground += polygon.Source >= 0 ? 1 : 0;
    }
    QVERIFY(terrain > (tile < 1000 || maxPolygons > 0 ? 1u : 0u));
    QCOMPARE(ground, std::size_t(editor.Polygons.Count() - 1));
  }

  // Neighbouring tiles meet on the same vertices: each inner wall has its twin, reversed.
  void tilesShareTheirBoundaryVertices() {
    TEditor editor;
    MakeHills(editor);
    TMapExportOptions options;
    options.TileSize = 300;  // not on the mesh's lines: the outlines zigzag
    const TMapBrushes brushes = BuildMapBrushes(editor.Nodes, editor.Polygons, options);
    QVERIFY(brushes.Brushes.size() > 4);
    std::map<std::vector<TKey>, std::size_t> walls;
    for (std::size_t b = 0; b < brushes.Brushes.size(); ++b) {
      for (const TMapPolygon& polygon : brushes.Brushes[b].Polygons) {
        if (polygon.TextureV.Z == 0) continue;  // not a wall
        std::vector<TKey> key;
        for (const TMapPoint& p : polygon.Vertices) key.push_back(KeyOf(p));
        std::rotate(key.begin(), std::min_element(key.begin(), key.end()), key.end());
        walls[key] = b;
      }
    }
    int twins = 0;
    for (const auto& [key, brush] : walls) {
      std::vector<TKey> reversed(key.rbegin(), key.rend());
      std::rotate(reversed.begin(), std::min_element(reversed.begin(), reversed.end()), reversed.end());
      const auto twin = walls.find(reversed);
      const float x = std::get<0>(key[0]), y = std::get<1>(key[0]);
      const bool outer = (x == -1024 || x == 1024 || y == -1024 || y == 1024) &&
                         (std::get<0>(key[1]) == x || std::get<1>(key[1]) == y);
      if (twin != walls.end()) {
        QVERIFY(twin->second != brush);
        ++twins;
      } else {
        QVERIFY2(outer, "an inner wall without its twin");
      }
    }
    QVERIFY(twins > 0);
  }

  void snappingThatSpoilsATriangleIsRefused() {
    TEditor editor;
    editor.Nodes.NewNode("", "", 0, 0, 0.4f);
    editor.Nodes.NewNode("", "", 10, 0.4f, 0);
    editor.Nodes.NewNode("", "", 5, 0.3f, 2.75f);
    editor.Nodes.NewNode("", "", 0, 10, 0);
    editor.Polygons.NewPolygon(0, 2, 1, "", "", "Thin");  // flat once on whole units
    editor.Polygons.NewPolygon(0, 1, 3, "", "", "Wide");
    TMapExportOptions options;
    try {
      BuildMapBrushes(editor.Nodes, editor.Polygons, options);
      QFAIL("built");
    } catch (const ETerravelError& error) {
      QVERIFY(QString(error.what()).contains("polygon 0 \"Thin\" degenerate"));
    }
    options.Force = true;
    const TMapBrushes forced = BuildMapBrushes(editor.Nodes, editor.Polygons, options);
    QCOMPARE(forced.ForcedPolygons, std::vector<int>{0});
    QCOMPARE(float(forced.LargestZChange), 0.4f);
    options.Snap = 0;  // as stored: nothing to refuse
    QVERIFY(BuildMapBrushes(editor.Nodes, editor.Polygons, options).Forced.empty());
  }

  // One mapping from above for the whole ground: a texture runs on across every edge.
  void groundTexturesRunOnAcrossEdges() {
    TEditor editor;
    MakeHills(editor);
    TMapExportOptions options;
    options.TileSize = 512;
    options.TextureScale = 2;
    std::map<TKey, std::pair<double, double>> uvAt;
    for (const TMapBrush& brush : BuildMapBrushes(editor.Nodes, editor.Polygons, options).Brushes) {
      for (const TMapPolygon& polygon : brush.Polygons) {
        if (polygon.Source < 0) continue;
        for (const TMapPoint& p : polygon.Vertices) {
          const std::pair<double, double> uv{Dot(p.X, p.Y, p.Z, polygon.TextureU),
                                             Dot(p.X, p.Y, p.Z, polygon.TextureV)};
          const auto [at, added] = uvAt.emplace(KeyOf(p), uv);
          QCOMPARE(at->second, uv);
          QCOMPARE(uv.first, 2.0 * p.X);
        }
      }
    }
  }

  void textureNamesUnrealEdCannotHoldAreRefused_data() {
    QTest::addColumn<QString>("texture");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("package and name") << "GenEarth.Grass" << true;
    QTest::newRow("empty") << "" << true;
    QTest::newRow("space") << "Gen Earth.Grass" << false;
    QTest::newRow("equals sign") << "a=b" << false;
    QTest::newRow("empty part") << "GenEarth..Grass" << false;
  }
  void textureNamesUnrealEdCannotHoldAreRefused() {
    QFETCH(QString, texture);
    QFETCH(bool, accepted);
    TEditor editor;
    MakeHills(editor);
    editor.Polygons[5].Texture = texture.toStdString();
    try {
      const std::string text = UnrealMapText(editor, {});
      QVERIFY(accepted);
      QCOMPARE(text.find("Texture= "), std::string::npos);
      QCOMPARE(text.find("Texture=\r"), std::string::npos);
    } catch (const ETerravelError& error) {
      QVERIFY(!accepted);
      QVERIFY(QString(error.what()).startsWith("polygon 5 "));
    }
  }

  // UnrealEd's syntax and numbers, and our own import finds every ground triangle again.
  void readsBackThroughOurImport() {
    TEditor editor;
    MakeHills(editor, true);
    TMapExportOptions options;
    options.Csg = TCsgMode::Add;
    options.Room = true;
    options.TileSize = 1024;
    const std::string text = UnrealMapText(editor, options);
    QVERIFY(
        text.starts_with("Begin Map\r\nBegin Actor Class=Brush Name=Brush1\r\n    CsgOper=CSG_Subtract\r\n"));
    QVERIFY(text.ends_with("End Actor\r\nEnd Map\r\n"));
    QVERIFY(text.find("             Vertex   -01024.000000,-01024.000000,-00040.000000\r\n") !=
            std::string::npos);
    QVERIFY(text.find("             Normal   +00000.000000,+00000.000000,+00001.000000\r\n") !=
            std::string::npos);
    TT3DMap map;
    map.Parse(text);
    std::map<std::string, int> classes;
    for (const auto& actor : map.Actors) ++classes[actor->ActorClass];
    QCOMPARE(classes["Light"], 1);
    QCOMPARE(classes["PlayerStart"], 1);
    QCOMPARE(classes["Brush"], 1 + 4 + 1);  // the room, four tiles, the sky sheet

    TEditor target;
    ApplyImport(target, ReadUnrealTextBytes(text, 1.0f));
    std::set<std::set<TKey>> imported;
    for (const TPoly& p : target.Polygons) {
      std::set<TKey> corners;
      for (int n : {p.Node1, p.Node2, p.Node3})
        corners.insert({target.Nodes[n].X, target.Nodes[n].Y, target.Nodes[n].Z});
      imported.insert(corners);
    }
    for (const TPoly& p : editor.Polygons) {
      std::set<TKey> corners;
      for (int n : {p.Node1, p.Node2, p.Node3})
        corners.insert({editor.Nodes[n].X, editor.Nodes[n].Y, editor.Nodes[n].Z});
      QVERIFY(imported.contains(corners));
    }
  }

  // Our normal rule is UnrealEd's own: in its maps every stored Normal is (v1 - v0) x (v2 - v0).
  void normalRuleMatchesUnrealEdMaps() {
    const QString path = QStringLiteral(TERRAVEL_SHARED_T3D) + "/checkers-map.t3d";
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) QSKIP("the shared maps are absent");
    TT3DMap map;
    map.Parse(file.readAll().toStdString());
    int compared = 0;
    for (const auto& actor : map.Actors) {
      if (actor->AsBrush() == nullptr) continue;
      for (const TT3DPolygon& polygon : actor->AsBrush()->Polygons) {
        TMapPolygon ours;
        const double* normal = nullptr;
        for (const TPolygonItem& item : polygon.Items) {
          if (item.ItemName == "Normal") normal = item.Values;
          if (item.ItemName == "Vertex")
            ours.Vertices.push_back({float(item.Values[0]), float(item.Values[1]), float(item.Values[2])});
        }
        if (normal == nullptr || ours.Vertices.size() < 3) continue;
        const TMapPoint n = PolygonNormal(ours);
        const double length = std::sqrt(Dot(n.X, n.Y, n.Z, n));
        QVERIFY(Dot(normal[0], normal[1], normal[2], n) / length > 0.999);
        ++compared;
      }
    }
    QVERIFY(compared > 100);
  }
};

TERRAVEL_TEST(TestUnrealMap)
#include "tst_UnrealMap.moc"
