// glTF 2.0 export, read back by the library's own reader: the same triangles at the same place in
// metres, one mesh per group, one material per texture, bounds on every position accessor.
#include <QTest>

#include <tiny_gltf.h>

#include <algorithm>
#include <array>
#include <cmath>
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
using TTriangle = std::array<TPoint, 3>;  // rotated to start at the smallest corner: the winding stays

tinygltf::Model ReadBack(const std::string& bytes, TGltfContainer container) {
  tinygltf::Model model;
  tinygltf::TinyGLTF reader;
  std::string error, warning;
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto size = static_cast<unsigned>(bytes.size());
  const bool read = container == TGltfContainer::Binary
                        ? reader.LoadBinaryFromMemory(&model, &error, &warning, data, size)
                        : reader.LoadASCIIFromString(&model, &error, &warning, bytes.data(), size, "");
  return read ? model : tinygltf::Model();
}

// The accessor's 4-byte elements: floats, or unsigned whole numbers.
template <class T>
std::vector<T> ElementsOf(const tinygltf::Model& model, int index) {
  const tinygltf::Accessor& accessor = model.accessors.at(std::size_t(index));
  const tinygltf::BufferView& view = model.bufferViews.at(std::size_t(accessor.bufferView));
  std::vector<T> values(accessor.count * (accessor.type == TINYGLTF_TYPE_VEC3 ? 3 : 1));
  std::memcpy(values.data(), model.buffers.at(0).data.data() + view.byteOffset + accessor.byteOffset,
              values.size() * 4);
  return values;
}

TTriangle Rotated(TTriangle corners) {
  std::rotate(corners.begin(), std::min_element(corners.begin(), corners.end()), corners.end());
  return corners;
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
  // Unreal units become metres at 1,000 units to 19.05 m, Z up turned into glTF's Y up.
  void positionsAreInMetres() {
    TEditor editor;
    editor.Nodes.NewNode("", "", 0, 0, 0);
    editor.Nodes.NewNode("", "", 1000, 0, 0);
    editor.Nodes.NewNode("", "", 1000, 2000, -500);
    editor.Polygons.NewPolygon(0, 1, 2, "GenEarth.Grass", "", "");
    const tinygltf::Model model = ReadBack(GltfBytesOf(editor, TGltfContainer::Binary), TGltfContainer::Binary);
    const std::vector<float> positions = ElementsOf<float>(model, model.meshes.at(0).primitives[0].attributes.at("POSITION"));
    bool found = false;
    for (std::size_t v = 0; v + 2 < positions.size(); v += 3) {
      found = found || (std::fabs(positions[v] - 19.05f) < 1e-5f && std::fabs(positions[v + 1] + 9.525f) < 1e-5f &&
                        std::fabs(positions[v + 2] - 38.1f) < 1e-5f);
    }
    QVERIFY(found);
  }

  void readBackGivesTheSameTerrain_data() {
    QTest::addColumn<TGltfContainer>("container");
    QTest::newRow("glb") << TGltfContainer::Binary;
    QTest::newRow("gltf") << TGltfContainer::Text;
  }
  void readBackGivesTheSameTerrain() {
    QFETCH(TGltfContainer, container);
    TEditor editor;
    editor.Nodes.NewNode("", "Peak", 0, -256, 0.5f);
    editor.Nodes.NewNode("", "", -256, 256, 1024);
    editor.Nodes.NewNode("", "", 256, 256, 512);
    editor.Nodes.NewNode("", "", 1e5f, -3.25f, -17);
    editor.Polygons.NewPolygon(0, 1, 2, "GenEarth.Grass", "Hills", "First");
    editor.Polygons.NewPolygon(1, 2, 3, "GenEarth.Rock", "Caf\xE9", "");
    editor.Polygons.NewPolygon(2, 1, 0, "GenEarth.Rock", "Hills", "Ceiling");  // a sky polygon
    editor.Polygons.NewPolygon(0, 2, 3, "GenEarth.Grass", "Hills", "");
    editor.Polygons[1].Color = 0x00FF0000;  // blue: the first polygon of its texture

    const tinygltf::Model model = ReadBack(GltfBytesOf(editor, container), container);
    QVERIFY(model.asset.extras.Get("metresPerUnrealUnit").IsNumber());
    QCOMPARE(model.meshes.size(), std::size_t(2));
    QCOMPARE(model.meshes[1].name, std::string("Caf\xC3\xA9"));  // Latin-1 text made UTF-8
    std::multiset<TTriangle> expected, read;
    for (const TPoly& polygon : editor.Polygons) {
      const auto& nodes = editor.Nodes;
      expected.insert(Rotated(
          {Expected(nodes[polygon.Node1]), Expected(nodes[polygon.Node2]), Expected(nodes[polygon.Node3])}));
    }
    int up = 0, down = 0;
    for (const tinygltf::Mesh& mesh : model.meshes) {
      const std::vector<float> positions =
          ElementsOf<float>(model, mesh.primitives[0].attributes.at("POSITION"));
      for (const tinygltf::Primitive& primitive : mesh.primitives) {
        const std::vector<std::uint32_t> indices = ElementsOf<std::uint32_t>(model, primitive.indices);
        for (std::size_t t = 0; t < indices.size(); t += 3) {
          TTriangle corners;
          for (std::size_t k = 0; k < 9; ++k)
            corners[k / 3][k % 3] = positions[indices[t + k / 3] * 3 + k % 3];
          read.insert(Rotated(corners));
        }
      }
      const std::vector<float> normals = ElementsOf<float>(model, mesh.primitives[0].attributes.at("NORMAL"));
      for (std::size_t v = 0; v < normals.size(); v += 3) {
        QVERIFY(std::fabs(std::hypot(normals[v], normals[v + 1], normals[v + 2]) - 1) < 1e-6);
        (normals[v + 1] > 0 ? up : down)++;
      }
    }
    // Hills uses every node: its bounds are the range of the nodes.
    const tinygltf::Accessor& bounds =
        model.accessors.at(std::size_t(model.meshes[0].primitives[0].attributes.at("POSITION")));
    const auto& nodes = editor.Nodes;
    QCOMPARE(bounds.minValues,
             (std::vector<double>{Expected(nodes[1])[0], Expected(nodes[3])[1], Expected(nodes[0])[2]}));
    QCOMPARE(bounds.maxValues,
             (std::vector<double>{Expected(nodes[3])[0], Expected(nodes[1])[1], Expected(nodes[1])[2]}));
    QVERIFY(read == expected);
    // Hills: four ground vertices and three for the sky polygon facing down; Café: three.
    QCOMPARE(up, 7);
    QCOMPARE(down, 3);

    const tinygltf::Mesh& hills = model.meshes[0];
    QCOMPARE(hills.primitives.size(), std::size_t(2));  // one per texture
    QCOMPARE(hills.extras.Get("nodeNames").Get(0).Get<std::string>(), std::string("Peak"));
    const tinygltf::Primitive& rock = hills.primitives[1];
    QCOMPARE(rock.extras.Get("polygonNames").Get(0).Get<std::string>(), std::string("Ceiling"));
    const tinygltf::Material& material = model.materials.at(std::size_t(rock.material));
    QCOMPARE(material.name, std::string("GenEarth.Rock"));
    QCOMPARE(material.pbrMetallicRoughness.baseColorFactor, (std::vector<double>{0, 0, 1, 1}));
    QCOMPARE(material.pbrMetallicRoughness.metallicFactor, 0.0);
    const std::vector<double> grey = model.materials[0].pbrMetallicRoughness.baseColorFactor;
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
  }
};

TERRAVEL_TEST(TestGltfExport)
#include "tst_GltfExport.moc"
