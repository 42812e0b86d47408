// glTF 2.0 export, read back by the library's own reader: the same triangles at the same place in
// metres, one mesh per group, one material per texture, bounds on every position accessor.
#include <QTest>

#include <tiny_gltf.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <set>

#include "model/core/Errors.h"
#include "model/editor/Editor.h"
#include "model/formats/GltfExport.h"
#include "support/TempDir.h"
#include "support/TestRegistry.h"

using namespace terravel;
using namespace terravel::test;

Q_DECLARE_METATYPE(TGltfContainer)

namespace {

using TPoint = std::array<float, 3>;

tinygltf::Model ReadBack(const std::string& bytes, TGltfContainer container) {
  tinygltf::Model model;
  tinygltf::TinyGLTF reader;
  std::string error, warning;
  const bool read = container == TGltfContainer::Binary
                        ? reader.LoadBinaryFromMemory(&model, &error, &warning,
                                                      reinterpret_cast<const unsigned char*>(bytes.data()),
                                                      static_cast<unsigned>(bytes.size()))
                        : reader.LoadASCIIFromString(&model, &error, &warning, bytes.data(),
                                                     static_cast<unsigned>(bytes.size()), "");
  if (!read) qWarning("%s", error.c_str());
  return read ? model : tinygltf::Model();
}

// The elements of an accessor, widened to float (positions, normals) or to whole numbers (indices).
template <class T>
std::vector<T> ElementsOf(const tinygltf::Model& model, int accessorIndex, int components) {
  const tinygltf::Accessor& accessor = model.accessors.at(std::size_t(accessorIndex));
  const tinygltf::BufferView& view = model.bufferViews.at(std::size_t(accessor.bufferView));
  const unsigned char* data =
      model.buffers.at(std::size_t(view.buffer)).data.data() + view.byteOffset + accessor.byteOffset;
  std::vector<T> values(accessor.count * std::size_t(components));
  if (accessor.componentType == TINYGLTF_COMPONENT_TYPE_FLOAT) {
    for (std::size_t i = 0; i < values.size(); ++i) {
      float value;
      std::memcpy(&value, data + i * 4, 4);
      values[i] = T(value);
    }
  } else {
    for (std::size_t i = 0; i < values.size(); ++i) {
      std::uint32_t value;
      std::memcpy(&value, data + i * 4, 4);
      values[i] = T(value);
    }
  }
  return values;
}

// Every triangle of the file as its corner positions, rotated so the smallest corner comes first
// (the winding stays).
std::multiset<std::array<TPoint, 3>> TrianglesOf(const tinygltf::Model& model) {
  std::multiset<std::array<TPoint, 3>> triangles;
  for (const tinygltf::Mesh& mesh : model.meshes) {
    for (const tinygltf::Primitive& primitive : mesh.primitives) {
      const std::vector<float> positions = ElementsOf<float>(model, primitive.attributes.at("POSITION"), 3);
      const std::vector<std::uint32_t> indices = ElementsOf<std::uint32_t>(model, primitive.indices, 1);
      for (std::size_t t = 0; t + 2 < indices.size(); t += 3) {
        std::array<TPoint, 3> corners;
        for (int k = 0; k < 3; ++k) {
          const std::size_t v = indices[t + std::size_t(k)] * 3;
          corners[std::size_t(k)] = {positions[v], positions[v + 1], positions[v + 2]};
        }
        std::rotate(corners.begin(), std::min_element(corners.begin(), corners.end()), corners.end());
        triangles.insert(corners);
      }
    }
  }
  return triangles;
}

TPoint Expected(const T3DCoord& node) {
  // Stored, so that the optimiser cannot keep the product wider than the float the file holds.
  const auto metres = [](float value) {
    const volatile float rounded = static_cast<float>(double(value) * kMetresPerUnit);
    return float(rounded);
  };
  return {metres(node.X), metres(node.Z), metres(node.Y)};
}

}  // namespace

class TestGltfExport : public QObject {
  Q_OBJECT
 private slots:
  void readBackGivesTheSameTriangles_data() {
    QTest::addColumn<TGltfContainer>("container");
    QTest::newRow("glb") << TGltfContainer::Binary;
    QTest::newRow("gltf") << TGltfContainer::Text;
  }
  void readBackGivesTheSameTriangles() {
    QFETCH(TGltfContainer, container);
    TEditor editor;
    editor.Nodes.NewNode("", "Peak", 0, -256, 0.5f);
    editor.Nodes.NewNode("", "", -256, 256, 1024);
    editor.Nodes.NewNode("", "", 256, 256, 512);
    editor.Nodes.NewNode("", "Far", 1e5f, -3.25f, -17);
    editor.Polygons.NewPolygon(0, 1, 2, "GenEarth.Grass", "", "First");
    editor.Polygons.NewPolygon(1, 2, 3, "GenEarth.Rock", "", "");
    editor.Polygons.NewPolygon(2, 1, 0, "GenEarth.Rock", "", "Ceiling");  // a sky polygon
    editor.Polygons.NewPolygon(0, 2, 3, "GenEarth.Grass", "", "");

    const tinygltf::Model model = ReadBack(GltfBytesOf(editor, container), container);
    QCOMPARE(model.asset.version, std::string("2.0"));
    QVERIFY(model.asset.extras.Get("metresPerUnrealUnit").IsNumber());
    QCOMPARE(model.meshes.size(), std::size_t(1));
    const tinygltf::Mesh& mesh = model.meshes.front();
    QCOMPARE(mesh.primitives.size(), std::size_t(2));  // one per texture

    std::multiset<std::array<TPoint, 3>> expected;
    for (const TPoly& polygon : editor.Polygons) {
      std::array<TPoint, 3> corners = {Expected(editor.Nodes[polygon.Node1]),
                                       Expected(editor.Nodes[polygon.Node2]),
                                       Expected(editor.Nodes[polygon.Node3])};
      std::rotate(corners.begin(), std::min_element(corners.begin(), corners.end()), corners.end());
      expected.insert(corners);
    }
    QVERIFY(TrianglesOf(model) == expected);

    // Four ground vertices, and three more for the sky polygon facing the other way.
    const int positions = mesh.primitives.front().attributes.at("POSITION");
    const tinygltf::Accessor& accessor = model.accessors.at(std::size_t(positions));
    QCOMPARE(accessor.count, std::size_t(7));
    QCOMPARE(accessor.minValues,
             (std::vector<double>{Expected(editor.Nodes[1])[0], Expected(editor.Nodes[3])[1],
                                  Expected(editor.Nodes[0])[2]}));
    QCOMPARE(accessor.maxValues,
             (std::vector<double>{Expected(editor.Nodes[3])[0], Expected(editor.Nodes[1])[1],
                                  Expected(editor.Nodes[1])[2]}));
    // Normals are unit vectors; the ground's point up, the sky polygon's down.
    const std::vector<float> normals =
        ElementsOf<float>(model, mesh.primitives.front().attributes.at("NORMAL"), 3);
    int up = 0, down = 0;
    for (std::size_t v = 0; v < normals.size(); v += 3) {
      const double length = std::hypot(normals[v], normals[v + 1], normals[v + 2]);
      QVERIFY(std::fabs(length - 1) < 1e-6);
      (normals[v + 1] > 0 ? up : down)++;
    }
    QCOMPARE(up, 4);
    QCOMPARE(down, 3);

    // The names: per vertex on the mesh, per triangle on the primitive.
    QCOMPARE(mesh.extras.Get("nodeNames").Get(0).Get<std::string>(), std::string("Peak"));
    const tinygltf::Primitive& rock = mesh.primitives.back();
    QCOMPARE(model.materials.at(std::size_t(rock.material)).name, std::string("GenEarth.Rock"));
    QCOMPARE(rock.extras.Get("polygonNames").Get(1).Get<std::string>(), std::string("Ceiling"));
  }

  void groupsBecomeMeshesAndTexturesMaterials() {
    TEditor editor;
    editor.Nodes.NewNode("", "", 0, 0, 0);
    editor.Nodes.NewNode("", "", 64, 0, 0);
    editor.Nodes.NewNode("", "", 0, 64, 0);
    editor.Nodes.NewNode("", "", 64, 64, 0);
    editor.Polygons.NewPolygon(0, 1, 2, "GenEarth.Rock", "Hills", "");
    editor.Polygons.NewPolygon(1, 3, 2, "My Pack.Sand", "Caf\xE9", "");
    editor.Polygons[0].Color = 0x00FF0000;  // blue
    const tinygltf::Model model =
        ReadBack(GltfBytesOf(editor, TGltfContainer::Binary), TGltfContainer::Binary);
    QCOMPARE(model.meshes.size(), std::size_t(2));
    QCOMPARE(model.nodes.size(), std::size_t(2));
    QCOMPARE(model.meshes[0].name, std::string("Hills"));
    QCOMPARE(model.meshes[1].name, std::string("Caf\xC3\xA9"));  // Latin-1 text made UTF-8
    QCOMPARE(model.materials.size(), std::size_t(2));
    QCOMPARE(model.materials[0].pbrMetallicRoughness.baseColorFactor, (std::vector<double>{0, 0, 1, 1}));
    QCOMPARE(model.materials[0].pbrMetallicRoughness.metallicFactor, 0.0);
    QCOMPARE(model.materials[1].name, std::string("My Pack.Sand"));
    const std::vector<double> grey = model.materials[1].pbrMetallicRoughness.baseColorFactor;
    QVERIFY(grey[0] == grey[1] && grey[1] == grey[2] && grey[0] > 0.1 && grey[0] < 0.5);
  }

  void nonFiniteCoordinatesAreRefused() {
    TTempFolder folder;
    const std::string path = folder.Path("terrain.glb");
    WriteWholeFile(path, "old");
    TEditor editor;
    editor.Nodes.NewNode("", "", 0, 0, 0);
    editor.Nodes.NewNode("", "", 64, 0, std::numeric_limits<float>::infinity());
    editor.Nodes.NewNode("", "", 0, 64, 0);
    editor.Polygons.NewPolygon(0, 1, 2, "GenEarth.Rock", "", "");
    QVERIFY_THROWS_EXCEPTION(ETerravelError, ExportGltf(editor, path));
    QCOMPARE(ReadWholeFile(path), std::string("old"));
    editor.Nodes[1].Z = 5;
    ExportGltf(editor, path);
    QCOMPARE(ReadWholeFile(path), GltfBytesOf(editor, TGltfContainer::Binary));
  }
};

TERRAVEL_TEST(TestGltfExport)
#include "tst_GltfExport.moc"
