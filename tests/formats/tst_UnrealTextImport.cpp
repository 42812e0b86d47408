// The Unreal text import: fans of triangles on shared nodes, one action per node and triangle,
// MinZ and MaxZ, and damaged files that change nothing.
#include <QTest>

#include <algorithm>
#include <cmath>
#include <limits>

#include "T3DTestMaps.h"
#include "model/core/Errors.h"
#include "model/editor/Editor.h"
#include "model/formats/UnrealTextImport.h"
#include "support/RecordingHost.h"
#include "support/TempDir.h"
#include "support/TestRegistry.h"

using namespace terravel;
using namespace terravel::test;

namespace {

struct TFixture {
  TRecordingHost host;
  TEditor editor{&host};
};

QStringList History(const TEditor& editor) {
  QStringList entries;
  for (int i = 0; i < editor.History.UndoCount(); ++i)
    entries << QString::fromStdString(editor.History.UndoAt(i).Description());
  return entries;
}

QList<int> Corners(const TEditor& editor) {
  QList<int> corners;
  for (const TPoly& p : editor.Polygons) corners << p.Node1 << p.Node2 << p.Node3;
  return corners;
}

// "x y z"; -0 reads as 0.
QString Position(const T3DCoord& node) {
  return QString("%1 %2 %3").arg(node.X + 0.0f).arg(node.Y + 0.0f).arg(node.Z + 0.0f);
}

std::string Vertex(const std::string& x, const std::string& y, const std::string& z) {
  return "Vertex   " + x + "," + y + "," + z;
}

// A document that is not empty: a named node and a triangle, values apart from the defaults.
void FillDocument(TEditor& editor) {
  editor.Nodes.NewNode("g", "Peak", 0, 0, 64);
  editor.Nodes.NewNode("", "", 10, 0, 0);
  editor.Nodes.NewNode("", "", 0, 10, 0);
  editor.Polygons.NewPolygon(0, 1, 2, "Rock", "", "");
  editor.Values.MinZ = -5;
  editor.Values.MaxZ = 5;
}

}  // namespace

class TestUnrealTextImport : public QObject {
  Q_OBJECT
 private slots:
  void fourVertexPolygonGivesTwoTriangles() {
    TFixture f;
    ApplyImport(
        f.editor,
        ReadUnrealTextBytes(MapWithBody(BrushActor("Plate", " Item=Top Texture=GenEarth.Grass",
                                                   {Vertex("0", "0", "10"), Vertex("256", "0", "20"),
                                                    Vertex("256", "256", "30"), Vertex("0", "256", "-40")})),
                            1));
    QCOMPARE(History(f.editor), QStringList({"Add Node", "Add Node", "Add Node", "Add Polygon", "Add Node",
                                             "Add Polygon", "Set MinZ to -64", "Set MaxZ to 64"}));
    QCOMPARE(Corners(f.editor), QList<int>({0, 1, 2, 0, 2, 3}));
    for (const TPoly& triangle : f.editor.Polygons) {
      QCOMPARE(triangle.Name, std::string("Top"));
      QCOMPARE(triangle.Texture, std::string("GenEarth.Grass"));
      QCOMPARE(triangle.Color, -1);
      QVERIFY(triangle.Selected);
    }
    QCOMPARE(f.editor.Nodes[0].Name, std::string("Plate"));
    QVERIFY(f.editor.Nodes[3].Selected);
    // Redrawing is suspended before the first action and resumed after the last.
    QCOMPARE(f.host.Calls.front(), std::string("suspend"));
    QCOMPARE(f.host.Calls.back(), std::string("resume"));
    QCOMPARE(f.host.CountOf("suspend") + f.host.CountOf("resume"), 2);
    // The new range did not come from the MinZ and MaxZ boxes: they are rewritten to show it.
    const auto shown = [&](TUnitField field) {
      return std::count_if(f.host.Published.begin(), f.host.Published.end(),
                           [field](const TChangeSet& c) { return c.HasUnitField(field); });
    };
    QCOMPARE(shown(TUnitField::MinZ), 1);
    QCOMPARE(shown(TUnitField::MaxZ), 1);
    QCOMPARE(f.editor.State.SelectedNodeCount(), 4);
    QCOMPARE(f.editor.State.SelectedPolygonCount(), 2);
  }

  // Lights and movers add nothing; shared corners (one written as -0) become one node.
  void realLookingMap() {
    TFixture f;
    ApplyImport(f.editor, ReadUnrealTextBytes(RealLookingMap(), 1));
    QStringList positions;
    for (const T3DCoord& node : f.editor.Nodes) positions << Position(node);
    QCOMPARE(positions,
             QStringList({"-128 -128 -120", "-128 -128 130", "-128 128 130", "-128 128 -120", "0 0 64",
                          "256 0 32", "256 256 0", "128 384 -16.5", "0 256 0", "-128 0 -100"}));
    QCOMPARE(f.editor.Nodes[3].Name, std::string("Brush"));
    QCOMPARE(f.editor.Nodes[4].Name, std::string("Model1"));
    QCOMPARE(Corners(f.editor), QList<int>({0, 1, 2, 0, 2, 3, 4, 5, 6, 4, 6, 7, 4, 7, 8, 4, 9, 8}));
    QStringList names;
    for (const TPoly& p : f.editor.Polygons) names << QString::fromStdString(p.Name + "/" + p.Texture);
    QCOMPARE(names, QStringList({"Polygon1/", "Polygon2/", "Top/GenEarth.Grass", "Top/GenEarth.Grass",
                                 "Top/GenEarth.Grass", "Side/GenTerra.Rock"}));
    QCOMPARE(f.editor.Values.MinZ, -128.0f);
    QCOMPARE(f.editor.Values.MaxZ, 192.0f);
    QCOMPARE(f.editor.History.UndoCount(), 10 + 6 + 2);
  }

  void damagedFileChangesNothing_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("message");
    const std::string whole = RealLookingMap();
    QTest::newRow("cut in the middle")
        << QByteArray::fromStdString(whole.substr(0, whole.size() / 2)) << "\"End Map\" fehlt.";
    QTest::newRow("cut before End Map")
        << QByteArray::fromStdString(whole.substr(0, whole.rfind("End Map"))) << "\"End Map\" fehlt.";
    std::string late = whole;
    late.insert(late.rfind("Begin Actor Class=Mover"), "Stray\r\n");
    QTest::newRow("stray line before the last actor")
        << QByteArray::fromStdString(late) << "Unbekannte Anweisung: \"Stray\"";
    std::string huge = whole;
    huge.replace(huge.find("+00130.000000"), 13, "1e39");
    const int line = int(std::count(huge.begin(), huge.begin() + huge.find("1e39"), '\n')) + 1;
    QTest::newRow("a vertex beyond the single-precision range")
        << QByteArray::fromStdString(huge)
        << QString("Line %1: the coordinate 1E39 lies outside the single-precision range.").arg(line);
    std::string stray = whole;
    stray.insert(stray.rfind("End PolyList"), "Texture=Rock\r\n");
    QTest::newRow("stray line in the last list")
        << QByteArray::fromStdString(stray) << "Unbekannte Anweisung: \"Texture=Rock\"";
  }
  void damagedFileChangesNothing() {
    QFETCH(QByteArray, text);
    QFETCH(QString, message);
    TFixture f;
    FillDocument(f.editor);
    QString caught;
    try {
      ApplyImport(f.editor, ReadUnrealTextBytes(text.toStdString(), 1));
    } catch (const ETerravelError& error) {
      caught = QString::fromUtf8(error.what());
    }
    QCOMPARE(caught, message);
    QCOMPARE(f.editor.Nodes.Count(), 3);
    QCOMPARE(f.editor.Polygons.Count(), 1);
    QCOMPARE(f.editor.History.UndoCount(), 0);
    QCOMPARE(f.editor.Values.MinZ, -5.0f);
    // Refused while it is read: the windows hear nothing.
    QCOMPARE(f.host.Joined(), std::string());
  }

  void fromFile() {
    TTempFolder folder;
    TFixture f;
    const std::string path = folder.Path("level.t3d");
    WriteWholeFile(path, RealLookingMap());
    ApplyImport(f.editor, ReadUnrealText(path, {}));
    QCOMPARE(f.editor.Polygons.Count(), 6);
    f.host.Clear();
    QVERIFY_THROWS_EXCEPTION(EFileError,
                             ApplyImport(f.editor, ReadUnrealText(folder.Path("missing.t3d"), {})));
    QCOMPARE(f.editor.Polygons.Count(), 6);
    QCOMPARE(f.host.Joined(), std::string());
  }

  // Two brushes meet at one corner; the second writes it in another way.
  void sharedCorners_data() {
    QTest::addColumn<QString>("x");
    QTest::addColumn<int>("nodes");
    QTest::newRow("same text") << "+00001.000000" << 5;
    QTest::newRow("last bit differs") << "+00001.0000001" << 6;
    QTest::newRow("equal in single precision") << "+00001.00000001" << 5;
    QTest::newRow("exponent") << "1e0" << 5;
  }
  void sharedCorners() {
    QFETCH(QString, x);
    QFETCH(int, nodes);
    TFixture f;
    const std::string body =
        BrushActor("A", "", {Vertex("1", "0", "0"), Vertex("0", "1", "0"), Vertex("0", "0", "1")}) +
        BrushActor("B", "",
                   {Vertex(x.toStdString(), "0", "0"), Vertex("5", "1", "0"), Vertex("5", "0", "1")});
    ApplyImport(f.editor, ReadUnrealTextBytes(MapWithBody(body), 1));
    QCOMPARE(f.editor.Nodes.Count(), nodes);
    QCOMPARE(f.editor.Polygons[1].Node1, nodes == 5 ? 0 : 3);
  }

  // Existing nodes count: the first one at a position is used and left as it is.
  void existingNodesAreReused() {
    TFixture f;
    FillDocument(f.editor);
    f.editor.Nodes.NewNode("", "Twin", 0, 0, 64);
    const std::string map = MapWithBody(
        BrushActor("New", "", {Vertex("0", "0", "64"), Vertex("10", "0", "-0"), Vertex("5", "5", "5")}));
    ApplyImport(f.editor, ReadUnrealTextBytes(map, 1));
    QCOMPARE(f.editor.Nodes.Count(), 5);
    QCOMPARE(Corners(f.editor).mid(3), QList<int>({0, 1, 4}));
    QCOMPARE(f.editor.Nodes[0].Name, std::string("Peak"));
    QVERIFY(!f.editor.Nodes[0].Selected);

    // The same file again adds every triangle once more, and no node.
    ApplyImport(f.editor, ReadUnrealTextBytes(map, 1));
    QCOMPARE(f.editor.Nodes.Count(), 5);
    QCOMPARE(Corners(f.editor).mid(6), QList<int>({0, 1, 4}));
  }

  void scaleAndAutomaticNames() {
    TFixture f;
    ApplyImport(f.editor,
                ReadUnrealTextBytes(
                    MapWithBody(BrushActor(
                        "", "", {Vertex("1", "2", "3"), Vertex("-1.5", "0", "0"), Vertex("0", "0", "0.1")})),
                    2));
    QCOMPARE(Position(f.editor.Nodes[0]), QString("2 4 6"));
    QCOMPARE(f.editor.Nodes[1].X, -3.0f);
    QCOMPARE(f.editor.Nodes[2].Z, 0.2f);
    QCOMPARE(f.editor.Nodes[2].Name, std::string("Node3"));
    // Beyond the float range a coordinate would become infinite: the file is refused by its line.
    QCOMPARE(f.editor.Polygons[0].Name, std::string("Polygon1"));
    for (const float scale : {1.0f, 1e30f}) {
      const std::string big = scale == 1 ? "1e300" : "1e9";
      try {
        ApplyImport(f.editor,
                    ReadUnrealTextBytes(MapWithBody(BrushActor("", "", {Vertex("0", big, "0")})), scale));
        QFAIL("imported");
      } catch (const EInvalidFileError& error) {
        QCOMPARE(QString(error.what()), QString("Line 6: the coordinate %1 lies outside the single-precision range.")
                                            .arg(scale == 1 ? "1E300" : "1E9"));
      }
    }
    QCOMPARE(f.editor.Nodes.Count(), 3);
  }

  // Only "Vertex" items of brush polygons with three or more of them make triangles.
  void whatIsNotConverted() {
    TFixture f;
    const std::string body =
        "Begin Actor Class=Light\n LightBrightness=200\nEnd Actor\n" +
        BrushActor("One", "", {Vertex("1", "0", "7")}) +
        BrushActor("Two", "",
                   {"Origin 9,9,9", Vertex("2", "0", "0"), "Normal 0,0,1", Vertex("3", "0", "0")}) +
        BrushActor("Lower", "", {"vertex 4,0,0", "VERTEX 5,0,0", Vertex("1", "0", "7")});
    ApplyImport(f.editor, ReadUnrealTextBytes(MapWithBody(body), 1));
    QCOMPARE(f.editor.Nodes.Count(), 3);
    QCOMPARE(f.editor.Polygons.Count(), 0);
    QCOMPARE(f.editor.Values.MinZ, 0.0f);
    QCOMPARE(f.editor.Values.MaxZ, 64.0f);
  }

  void withoutVerticesTheRangeStays() {
    TFixture f;
    FillDocument(f.editor);
    ApplyImport(f.editor, ReadUnrealTextBytes(MapWithBody("Begin Actor Class=Light\nEnd Actor\n" +
                                                          BrushActor("B", "", {"vertex 1,2,3"})),
                                              1));
    QCOMPARE(f.editor.History.UndoCount(), 0);
    QCOMPARE(f.editor.Values.MinZ, -5.0f);
    QCOMPARE(f.editor.Values.MaxZ, 5.0f);
  }

  void zRange_data() {
    QTest::addColumn<float>("lowest");
    QTest::addColumn<float>("highest");
    QTest::addColumn<float>("step");
    QTest::addColumn<float>("minZ");
    QTest::addColumn<float>("maxZ");
    const float nan = std::numeric_limits<float>::quiet_NaN();
    QTest::newRow("outwards") << -100.f << 300.f << 64.f << -128.f << 320.f;
    QTest::newRow("multiples stay") << -128.f << 128.f << 64.f << -128.f << 128.f;
    QTest::newRow("flat on a multiple") << 0.f << 0.f << 64.f << 0.f << 0.f;
    QTest::newRow("negative step") << -100.f << 300.f << -64.f << -128.f << 320.f;
    QTest::newRow("step 0") << -100.5f << 300.25f << 0.f << -100.5f << 300.25f;
    QTest::newRow("step not a number") << -1.f << 1.f << nan << -1.f << 1.f;
    QTest::newRow("fraction step") << -0.3f << 0.3f << 0.25f << -0.5f << 0.5f;
    QTest::newRow("minus zero") << -0.f << 10.f << 64.f << 0.f << 64.f;
    QTest::newRow("beyond 2^24") << 16777216.f << 16777218.f << 3.f << 16777215.f << 16777218.f;
    QTest::newRow("next multiple beyond floats") << 0.f << 3e38f << 1e38f << 0.f << 3e38f;
    QTest::newRow("huge values, tiny step") << -1e30f << 1e30f << 1e-30f << -1e30f << 1e30f;
  }
  void zRange() {
    QFETCH(float, lowest);
    QFETCH(float, highest);
    QFETCH(float, step);
    QFETCH(float, minZ);
    QFETCH(float, maxZ);
    const TZRange range = ImportZRange(lowest, highest, step);
    QCOMPARE(range.MinZ, minZ);
    QCOMPARE(range.MaxZ, maxZ);
    QVERIFY(range.MinZ <= lowest && range.MaxZ >= highest);
    QVERIFY(!std::signbit(range.MinZ) || range.MinZ != 0);
  }

  void realMapsImport_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("nodes");
    QTest::addColumn<int>("triangles");
    QTest::addColumn<float>("minZ");
    QTest::addColumn<float>("maxZ");
    QTest::newRow("checkers") << "checkers-map.t3d" << 88 << 552 << -1024.f << 1024.f;
    QTest::newRow("small") << "small-map.t3d" << 60 << 226 << -128.f << 128.f;
    QTest::newRow("large with movers") << "large-selection.t3d" << 706 << 2278 << -1024.f << 1024.f;
  }
  void realMapsImport() {
    QFETCH(QString, file);
    QFETCH(int, nodes);
    QFETCH(int, triangles);
    QFETCH(float, minZ);
    QFETCH(float, maxZ);
    const QString path = RealMapPath(file);
    if (path.isEmpty()) QSKIP("the real map files are not beside the project");
    TFixture f;
    ApplyImport(f.editor, ReadUnrealText(path.toStdString(), {}));
    QCOMPARE(f.editor.Nodes.Count(), nodes);
    QCOMPARE(f.editor.Polygons.Count(), triangles);
    QCOMPARE(f.editor.History.UndoCount(), nodes + triangles + 2);
    QCOMPARE(f.editor.Values.MinZ, minZ);
    QCOMPARE(f.editor.Values.MaxZ, maxZ);
    // Every step of the import is undoable, back to the empty project.
    while (f.editor.History.UndoCount() > 0) f.editor.History.UndoLast();
    QCOMPARE(f.editor.Nodes.Count() + f.editor.Polygons.Count(), 0);
    QCOMPARE(f.editor.Values.MaxZ, 1024.0f);
  }
};

TERRAVEL_TEST(TestUnrealTextImport)
#include "tst_UnrealTextImport.moc"
