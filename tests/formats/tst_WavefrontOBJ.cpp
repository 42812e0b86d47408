// Wavefront OBJ export, read back by a small reader of its own: the same triangles, one object
// per group, the textures as materials, ground facing up in both axis choices.
#include <QTest>

#include <array>
#include <cmath>
#include <filesystem>
#include <limits>
#include <map>
#include <sstream>

#include "model/document/Orientation.h"
#include "model/editor/Editor.h"
#include "model/core/Errors.h"
#include "model/formats/WavefrontOBJ.h"
#include "support/TempDir.h"
#include "support/TestRegistry.h"

using namespace terravel;
using namespace terravel::test;

namespace {

struct TObjFace {
  std::string Object;
  std::string Material;
  std::array<std::array<double, 3>, 3> Corners;
};

// Reads "v", "f", "o" and "usemtl" lines; comments and line ends as any OBJ reader takes them.
std::vector<TObjFace> ReadObj(const std::string& text, std::string& comments) {
  std::vector<std::array<double, 3>> vertices;
  std::vector<TObjFace> faces;
  std::string object, material, line;
  std::istringstream lines(text);
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream words(line);
    std::string keyword;
    words >> keyword;
    if (keyword == "#") {
      comments += line + "\n";
    } else if (keyword == "v") {
      std::array<double, 3> v{};
      words >> v[0] >> v[1] >> v[2];
      vertices.push_back(v);
    } else if (keyword == "o") {
      words >> object;
    } else if (keyword == "usemtl") {
      words >> material;
    } else if (keyword == "f") {
      TObjFace face{object, material, {}};
      for (auto& corner : face.Corners) {
        std::size_t index = 0;
        words >> index;
        corner = vertices.at(index - 1);
      }
      faces.push_back(face);
    }
  }
  return faces;
}

// The "Kd" of every "newmtl" of a material library, as the words after "Kd".
std::map<std::string, std::string> ReadMaterials(const std::string& text) {
  std::map<std::string, std::string> materials;
  std::string name, line;
  std::istringstream lines(text);
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.starts_with("newmtl ")) {
      name = line.substr(7);
      materials[name];
    } else if (line.starts_with("Kd ")) {
      materials[name] = line.substr(3);
    }
  }
  return materials;
}

// The up component of a face's normal, read the usual right-handed way.
double NormalUp(const TObjFace& face, int up) {
  const auto& [a, b, c] = face.Corners;
  const int i = (up + 1) % 3, j = (up + 2) % 3;
  return (b[i] - a[i]) * (c[j] - a[j]) - (b[j] - a[j]) * (c[i] - a[i]);
}

}  // namespace

class TestWavefrontOBJ : public QObject {
  Q_OBJECT
 private slots:
  void readBackGivesTheSameTriangles_data() {
    QTest::addColumn<bool>("yUp");
    QTest::newRow("Y up") << true;
    QTest::newRow("Z up") << false;
  }
  void readBackGivesTheSameTriangles() {
    QFETCH(bool, yUp);
    TEditor editor;
    editor.Nodes.NewNode("", "", 0, -256, 0.5f);
    editor.Nodes.NewNode("", "", -256, 256, 1024);
    editor.Nodes.NewNode("", "", 256, 256, 512);
    editor.Nodes.NewNode("", "", 1e7f, -3.25f, -17);
    editor.Polygons.NewPolygon(0, 1, 2, "GenEarth.Grass", "Hills", "");
    editor.Polygons.NewPolygon(1, 3, 2, "GenEarth.Rock", "", "");
    editor.Polygons.NewPolygon(2, 1, 0, "GenEarth.Rock", "Hills", "");  // a sky polygon
    editor.Polygons.NewPolygon(0, 2, 3, "My Pack.Sand", "Hills", "");

    std::string comments;
    const std::vector<TObjFace> faces =
        ReadObj(WavefrontOBJTextOf(editor, yUp ? TObjAxes::YUp : TObjAxes::ZUp), comments);
    QVERIFY(QString::fromStdString(comments).contains(yUp ? "Y up" : "Z up"));
    // Grouped: the three polygons of "Hills" first, where that group first appears.
    const int order[] = {0, 2, 3, 1};
    QCOMPARE(faces.size(), std::size_t(4));
    for (std::size_t k = 0; k < faces.size(); ++k) {
      const TPoly& polygon = editor.Polygons[order[k]];
      QCOMPARE(faces[k].Object, polygon.Group.empty() ? std::string("Ungrouped") : polygon.Group);
      QCOMPARE(faces[k].Material, polygon.Texture == "My Pack.Sand" ? std::string("My_Pack.Sand") : polygon.Texture);
      // The same three points, in the same turn (either start).
      const int nodes[] = {polygon.Node1, polygon.Node2, polygon.Node3};
      std::vector<std::array<double, 3>> expected;
      for (int n : nodes) {
        const T3DCoord& node = editor.Nodes[n];
        expected.push_back(yUp ? std::array<double, 3>{node.X, node.Z, node.Y}
                               : std::array<double, 3>{node.X, node.Y, node.Z});
      }
      const auto& got = faces[k].Corners;
      QCOMPARE(got[0], expected[0]);
      QVERIFY(got[1] == expected[1] || got[1] == expected[2]);
      QVERIFY(got[2] == expected[1] || got[2] == expected[2]);
      const bool ground = IsGround(editor.Nodes[nodes[0]], editor.Nodes[nodes[1]], editor.Nodes[nodes[2]]);
      QCOMPARE(NormalUp(faces[k], yUp ? 1 : 2) > 0, ground);
    }
  }

  // Every material the OBJ text uses is defined once, coloured by its first polygon.
  void materialLibraryDefinesEveryMaterial() {
    TEditor editor;
    for (int i = 0; i < 3; ++i) editor.Nodes.NewNode("", "", float(i * 64), float(i * i * 64), 0);
    editor.Polygons.NewPolygon(0, 1, 2, "GenEarth.Grass", "", "");
    editor.Polygons[0].Color = 0x00FF8000;  // blue FF, green 80, red 00
    editor.Polygons.NewPolygon(0, 2, 1, "My Pack.Sand", "Hills", "");
    editor.Polygons.NewPolygon(1, 0, 2, "GenEarth.Grass", "Hills", "");
    editor.Polygons[2].Color = 0x000000FF;  // the first polygon's colour counts
    editor.Polygons.NewPolygon(2, 1, 0, "", "", "");
    editor.Polygons[3].Color = 0x00404040;

    const std::map<std::string, std::string> materials = ReadMaterials(WavefrontMaterialsTextOf(editor));
    const std::map<std::string, std::string> expected = {{"GenEarth.Grass", "0.0000 0.5020 1.0000"},
                                                         {"My_Pack.Sand", "0.5000 0.5000 0.5000"},
                                                         {"Untextured", "0.2510 0.2510 0.2510"}};
    QCOMPARE(materials, expected);
    std::string comments;
    for (const TObjFace& face : ReadObj(WavefrontOBJTextOf(editor), comments))
      QVERIFY2(materials.count(face.Material) == 1, face.Material.c_str());
  }

  void materialLibraryPath_data() {
    QTest::addColumn<QString>("obj");
    QTest::addColumn<QString>("mtl");
    QTest::newRow("extension replaced") << "/maps/terrain.obj" << "/maps/terrain.mtl";
    QTest::newRow("any letter case") << "Terrain.OBJ" << "Terrain.mtl";
    QTest::newRow("no extension") << "/maps.d/terrain" << "/maps.d/terrain.mtl";
    QTest::newRow("hidden file") << "/maps/.obj" << "/maps/.obj.mtl";
    QTest::newRow("never the OBJ file itself") << "/maps/x.MTL" << "/maps/x.MTL.mtl";
  }
  void materialLibraryPath() {
    QFETCH(QString, obj);
    QFETCH(QString, mtl);
    QCOMPARE(QString::fromStdString(MaterialLibraryPath(obj.toStdString())), mtl);
  }

  // Both files are written, the OBJ naming its library; a node that is no finite number writes
  // neither and leaves the files of an earlier export as they were.
  void exportWritesBothFilesOrNone_data() {
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("z");
    QTest::addColumn<bool>("written");
    QTest::newRow("finite") << 1e30f << -7.5f << true;
    QTest::newRow("infinite X") << -std::numeric_limits<float>::infinity() << 0.0f << false;
    QTest::newRow("NaN Z") << 0.0f << std::numeric_limits<float>::quiet_NaN() << false;
  }
  void exportWritesBothFilesOrNone() {
    QFETCH(float, x);
    QFETCH(float, z);
    QFETCH(bool, written);
    TTempFolder folder;
    const std::string obj = folder.Path("my terrain.obj"), mtl = folder.Path("my terrain.mtl");
    WriteWholeFile(obj, "old obj");
    WriteWholeFile(mtl, "old mtl");
    TEditor editor;
    editor.Nodes.NewNode("", "", 0, 0, 0);
    editor.Nodes.NewNode("", "", 64, 0, 0);
    editor.Nodes.NewNode("", "", x, 64, z);
    editor.Polygons.NewPolygon(0, 1, 2, "GenEarth.Rock", "", "");
    if (written) {
      ExportWavefrontOBJ(editor, obj);
      QCOMPARE(ReadWholeFile(obj), WavefrontOBJTextOf(editor, TObjAxes::YUp, "my terrain.mtl"));
      QVERIFY(ReadWholeFile(obj).find("\r\nmtllib my terrain.mtl\r\n") != std::string::npos);
      QCOMPARE(ReadWholeFile(mtl), WavefrontMaterialsTextOf(editor));
    } else {
      QVERIFY_THROWS_EXCEPTION(ETerravelError, ExportWavefrontOBJ(editor, obj));
      QCOMPARE(ReadWholeFile(obj), std::string("old obj"));
      QCOMPARE(ReadWholeFile(mtl), std::string("old mtl"));
    }
    const std::filesystem::directory_iterator files(folder.Path("")), end;
    QCOMPARE(std::distance(files, end), 2);
  }
};

TERRAVEL_TEST(TestWavefrontOBJ)
#include "tst_WavefrontOBJ.moc"
