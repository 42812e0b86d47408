// Wavefront OBJ export, read back by a small reader of its own: the same triangles, one object
// per group, the textures as materials, ground facing up in both axis choices.
#include <QTest>

#include <array>
#include <sstream>

#include "model/document/Orientation.h"
#include "model/editor/Editor.h"
#include "model/formats/WavefrontOBJ.h"
#include "support/TestRegistry.h"

using namespace terravel;

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
};

TERRAVEL_TEST(TestWavefrontOBJ)
#include "tst_WavefrontOBJ.moc"
