#include "model/formats/GltfExport.h"

#include <tiny_gltf.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>
#include <sstream>
#include <vector>

#include "model/core/Errors.h"
#include "model/core/FileIO.h"
#include "model/core/Version.h"
#include "model/document/Orientation.h"
#include "model/editor/Editor.h"
#include "model/formats/FiniteCoordinates.h"
#include "model/formats/PolygonGroups.h"
#include "model/text/NumberText.h"

namespace terravel {

namespace {

using TVector = std::array<double, 3>;

// JSON holds UTF-8 only: valid sequences stay, any other byte is read as Latin-1.
std::string Utf8Of(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t size = text.size();
  for (std::size_t i = 0; i < size;) {
    const unsigned char lead = bytes[i];
    std::size_t length = lead < 0x80           ? 1
                         : (lead >> 5) == 0x6  ? 2
                         : (lead >> 4) == 0xE  ? 3
                         : (lead >> 3) == 0x1E ? 4
                                               : 0;
    bool valid =
        length > 0 && i + length <= size && !(length == 2 && lead < 0xC2) && !(length == 4 && lead > 0xF4);
    for (std::size_t k = 1; valid && k < length; ++k) valid = (bytes[i + k] & 0xC0) == 0x80;
    // Overlong three-byte forms and UTF-16 surrogates.
    if (valid && length == 3 &&
        ((lead == 0xE0 && bytes[i + 1] < 0xA0) || (lead == 0xED && bytes[i + 1] >= 0xA0)))
      valid = false;
    if (valid && length == 4 &&
        ((lead == 0xF0 && bytes[i + 1] < 0x90) || (lead == 0xF4 && bytes[i + 1] >= 0x90)))
      valid = false;
    if (valid) {
      out.append(text, i, length);
      i += length;
    } else {
      out += static_cast<char>(0xC0 | (lead >> 6));
      out += static_cast<char>(0x80 | (lead & 0x3F));
      ++i;
    }
  }
  return out;
}

std::string MaterialName(const std::string& texture) {
  return texture.empty() ? std::string("Untextured") : Utf8Of(texture);
}

// sRGB 0..255 to the linear value glTF's base colour holds.
double LinearOf(unsigned channel) {
  const double c = channel / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

std::vector<double> BaseColorOf(std::int32_t color) {
  if (color == kAutomaticColor) {
    const double grey = LinearOf(128);
    return {grey, grey, grey, 1.0};
  }
  const auto bits = static_cast<std::uint32_t>(color);
  return {LinearOf(bits & 0xFFu), LinearOf((bits >> 8) & 0xFFu), LinearOf((bits >> 16) & 0xFFu), 1.0};
}

// The binary buffer, filled piece by piece; each piece gets its own view, 4-byte aligned.
class TBufferWriter {
 public:
  explicit TBufferWriter(tinygltf::Model& model) : model_(model) {}

  int AddView(const void* data, std::size_t size, int target) {
    std::vector<unsigned char>& bytes = model_.buffers.front().data;
    tinygltf::BufferView view;
    view.buffer = 0;
    view.byteOffset = bytes.size();
    view.byteLength = size;
    view.target = target;
    const auto* begin = static_cast<const unsigned char*>(data);
    bytes.insert(bytes.end(), begin, begin + size);
    bytes.resize((bytes.size() + 3) / 4 * 4, 0);
    model_.bufferViews.push_back(view);
    return static_cast<int>(model_.bufferViews.size() - 1);
  }

  int AddVectors(const std::vector<float>& values, bool withBounds) {
    tinygltf::Accessor accessor;
    accessor.bufferView = AddView(values.data(), values.size() * sizeof(float), TINYGLTF_TARGET_ARRAY_BUFFER);
    accessor.componentType = TINYGLTF_COMPONENT_TYPE_FLOAT;
    accessor.type = TINYGLTF_TYPE_VEC3;
    accessor.count = values.size() / 3;
    if (withBounds) {
      accessor.minValues = {values[0], values[1], values[2]};
      accessor.maxValues = accessor.minValues;
      for (std::size_t i = 0; i < values.size(); ++i) {
        accessor.minValues[i % 3] = std::min(accessor.minValues[i % 3], double(values[i]));
        accessor.maxValues[i % 3] = std::max(accessor.maxValues[i % 3], double(values[i]));
      }
    }
    model_.accessors.push_back(accessor);
    return static_cast<int>(model_.accessors.size() - 1);
  }

  int AddIndices(const std::vector<std::uint32_t>& indices) {
    tinygltf::Accessor accessor;
    accessor.bufferView =
        AddView(indices.data(), indices.size() * sizeof(std::uint32_t), TINYGLTF_TARGET_ELEMENT_ARRAY_BUFFER);
    accessor.componentType = TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT;
    accessor.type = TINYGLTF_TYPE_SCALAR;
    accessor.count = indices.size();
    model_.accessors.push_back(accessor);
    return static_cast<int>(model_.accessors.size() - 1);
  }

 private:
  tinygltf::Model& model_;
};

TVector Cross(const TVector& a, const TVector& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

// One group's polygons as a mesh.
class TMeshBuilder {
 public:
  TMeshBuilder(const TEditor& editor, TGltfAxes axes, double metresPerUnit)
      : editor_(editor), yUp_(axes == TGltfAxes::YUp), metresPerUnit_(metresPerUnit) {}

  void Add(const std::vector<int>& polygons, const std::map<std::string, int>& materials,
           tinygltf::Model& model, TBufferWriter& buffer, const std::string& group) {
    // The primitives by texture, in the order the textures first appear in the group.
    std::vector<std::string> textures;
    std::map<std::string, std::vector<int>> byTexture;
    for (int index : polygons) {
      const std::string& texture = editor_.Polygons[index].Texture;
      auto [it, added] = byTexture.try_emplace(texture);
      if (added) textures.push_back(texture);
      it->second.push_back(index);
    }
    std::vector<std::vector<std::uint32_t>> indices(textures.size());
    for (std::size_t t = 0; t < textures.size(); ++t) {
      for (int index : byTexture[textures[t]]) AddTriangle(editor_.Polygons[index], indices[t]);
    }

    tinygltf::Mesh mesh;
    mesh.name = group.empty() ? std::string("Ungrouped") : Utf8Of(group);
    const int positionAccessor = buffer.AddVectors(positions_, true);
    const int normalAccessor = buffer.AddVectors(Normals(), false);
    tinygltf::Value::Array nodeNames;
    for (int node : vertexNodes_) nodeNames.emplace_back(Utf8Of(editor_.Nodes[node].Name));
    mesh.extras = tinygltf::Value(tinygltf::Value::Object{
        {"group", tinygltf::Value(Utf8Of(group))}, {"nodeNames", tinygltf::Value(std::move(nodeNames))}});
    for (std::size_t t = 0; t < textures.size(); ++t) {
      tinygltf::Primitive primitive;
      primitive.attributes["POSITION"] = positionAccessor;
      primitive.attributes["NORMAL"] = normalAccessor;
      primitive.indices = buffer.AddIndices(indices[t]);
      primitive.material = materials.at(MaterialName(textures[t]));
      primitive.mode = TINYGLTF_MODE_TRIANGLES;
      tinygltf::Value::Array polygonNames;
      for (int index : byTexture[textures[t]])
        polygonNames.emplace_back(Utf8Of(editor_.Polygons[index].Name));
      primitive.extras = tinygltf::Value(
          tinygltf::Value::Object{{"polygonNames", tinygltf::Value(std::move(polygonNames))}});
      mesh.primitives.push_back(std::move(primitive));
    }
    model.meshes.push_back(std::move(mesh));
  }

 private:
  // The node's position in the file's axes, in metres.
  std::array<float, 3> PositionOf(const T3DCoord& node) const {
    const auto metres = [this](float value) { return static_cast<float>(double(value) * metresPerUnit_); };
    return yUp_ ? std::array<float, 3>{metres(node.X), metres(node.Z), metres(node.Y)}
                : std::array<float, 3>{metres(node.X), metres(node.Y), metres(node.Z)};
  }

  std::uint32_t VertexOf(int node, bool ground) {
    const auto [it, added] = vertices_.try_emplace(std::int64_t(node) * 2 + (ground ? 0 : 1), 0u);
    if (added) {
      it->second = static_cast<std::uint32_t>(vertexNodes_.size());
      vertexNodes_.push_back(node);
      vertexGround_.push_back(ground);
      const std::array<float, 3> position = PositionOf(editor_.Nodes[node]);
      positions_.insert(positions_.end(), position.begin(), position.end());
      normalSums_.push_back({0, 0, 0});
    }
    return it->second;
  }

  void AddTriangle(const TPoly& polygon, std::vector<std::uint32_t>& indices) {
    const bool ground =
        IsGround(editor_.Nodes[polygon.Node1], editor_.Nodes[polygon.Node2], editor_.Nodes[polygon.Node3]);
    // Swapping Y and Z mirrors: the stored order already faces a ground polygon up in y. Kept as
    // stored (Terravel's axes are left-handed), the order turns round.
    const std::array<int, 3> corners = yUp_ ? std::array<int, 3>{polygon.Node1, polygon.Node2, polygon.Node3}
                                            : std::array<int, 3>{polygon.Node1, polygon.Node3, polygon.Node2};
    std::array<std::uint32_t, 3> vertex{};
    for (int k = 0; k < 3; ++k) {
      vertex[k] = VertexOf(corners[k], ground);
      indices.push_back(vertex[k]);
    }
    // The face normal weighted by the area, as the file's winding makes it face.
    const auto at = [this](std::uint32_t v) {
      return TVector{positions_[v * 3], positions_[v * 3 + 1], positions_[v * 3 + 2]};
    };
    const TVector a = at(vertex[0]), b = at(vertex[1]), c = at(vertex[2]);
    const TVector normal =
        Cross({b[0] - a[0], b[1] - a[1], b[2] - a[2]}, {c[0] - a[0], c[1] - a[1], c[2] - a[2]});
    for (std::uint32_t v : vertex)
      for (int k = 0; k < 3; ++k) normalSums_[v][k] += normal[k];
  }

  // Unit normals; where the polygons around a vertex have no area, straight up or down.
  std::vector<float> Normals() const {
    std::vector<float> normals;
    normals.reserve(normalSums_.size() * 3);
    const int up = yUp_ ? 1 : 2;
    for (std::size_t v = 0; v < normalSums_.size(); ++v) {
      TVector n = normalSums_[v];
      const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
      if (length > 0 && std::isfinite(length)) {
        for (double& component : n) component /= length;
      } else {
        n = {0, 0, 0};
        n[up] = vertexGround_[v] ? 1 : -1;
      }
      for (double component : n) normals.push_back(static_cast<float>(component));
    }
    return normals;
  }

  const TEditor& editor_;
  const bool yUp_;
  const double metresPerUnit_;
  std::map<std::int64_t, std::uint32_t> vertices_;  // node * 2 + (sky ? 1 : 0) -> vertex
  std::vector<int> vertexNodes_;
  std::vector<bool> vertexGround_;
  std::vector<float> positions_;  // x, y, z per vertex
  std::vector<TVector> normalSums_;
};

tinygltf::Value AssetExtras(TGltfAxes axes, double metresPerUnit) {
  tinygltf::Value::Object extras;
  extras["unit"] = tinygltf::Value(std::string("1 Unreal unit = 1.905 cm (16 units to the foot)"));
  extras["metresPerUnrealUnit"] = tinygltf::Value(metresPerUnit);
  extras["axes"] = tinygltf::Value(std::string(
      axes == TGltfAxes::YUp
          ? "Y up: x = Unreal X, y = Unreal Z, z = Unreal Y"
          : "Z up: x = Unreal X, y = Unreal Y, z = Unreal Z (faces wound for a right-handed reading)"));
  return tinygltf::Value(std::move(extras));
}

}  // namespace

TGltfContainer GltfContainerOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  const auto dot = path.find_last_of('.');
  const bool text = dot != std::string::npos && (slash == std::string::npos || dot > slash) &&
                    ToLowerAscii(path.substr(dot)) == ".gltf";
  return text ? TGltfContainer::Text : TGltfContainer::Binary;
}

std::string GltfBytesOf(const TEditor& editor, TGltfContainer container, TGltfAxes axes, double scale) {
  const double metresPerUnit = kMetresPerUnit * scale;
  RequireFiniteCoordinates(editor.Nodes);
  tinygltf::Model model;
  model.asset.version = "2.0";
  model.asset.generator = std::string("Terravel ") + kTerravelVersion;
  model.asset.extras = AssetExtras(axes, metresPerUnit);

  // Materials in the order the textures first appear, each with its first polygon's colour.
  std::map<std::string, int> materials;
  for (const TPoly& polygon : editor.Polygons) {
    std::string name = MaterialName(polygon.Texture);
    if (!materials.try_emplace(name, static_cast<int>(model.materials.size())).second) continue;
    tinygltf::Material material;
    material.name = std::move(name);
    material.pbrMetallicRoughness.baseColorFactor = BaseColorOf(polygon.Color);
    material.pbrMetallicRoughness.metallicFactor = 0;
    material.pbrMetallicRoughness.roughnessFactor = 1;
    model.materials.push_back(std::move(material));
  }

  const std::vector<TPolygonGroup> groups = PolygonsByGroup(editor);

  tinygltf::Scene scene;
  scene.name = "Terrain";
  if (!groups.empty()) {
    model.buffers.emplace_back();
    TBufferWriter buffer(model);
    for (const TPolygonGroup& group : groups) {
      TMeshBuilder(editor, axes, metresPerUnit).Add(group.Polygons, materials, model, buffer, group.Name);
      tinygltf::Node node;
      node.name = model.meshes.back().name;
      node.mesh = static_cast<int>(model.meshes.size() - 1);
      model.nodes.push_back(std::move(node));
      scene.nodes.push_back(static_cast<int>(model.nodes.size() - 1));
    }
  }
  model.scenes.push_back(std::move(scene));
  model.defaultScene = 0;

  std::ostringstream stream(std::ios::out | std::ios::binary);
  tinygltf::TinyGLTF writer;
  const bool binary = container == TGltfContainer::Binary;
  if (!writer.WriteGltfSceneToStream(&model, stream, !binary, binary))
    throw ETerravelError("Cannot export: the glTF file could not be composed.");
  return std::move(stream).str();
}

void ExportGltf(const TEditor& editor, const std::string& path, TGltfAxes axes, double scale) {
  if (!(scale > 0) || !std::isfinite(scale)) throw ETerravelError("The scale must be above 0.");
  const std::string bytes = GltfBytesOf(editor, GltfContainerOf(path), axes, scale);
  WriteFileAtomically(path, bytes);
}

}  // namespace terravel
