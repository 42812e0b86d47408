#include "model/formats/WavefrontOBJ.h"

#include <charconv>
#include <cstdint>
#include <map>
#include <vector>

#include "model/core/FileIO.h"
#include "model/editor/Editor.h"
#include "model/formats/FiniteCoordinates.h"
#include "model/formats/PolygonGroups.h"
#include "model/text/NumberText.h"

namespace terravel {

namespace {

// The shortest text that reads back as the same float, with "." whatever the locale.
void AppendNumber(std::string& text, float value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  text.append(buffer, result.ptr);
}

// OBJ names end at white space.
std::string NameText(const std::string& name) {
  std::string text = name;
  for (char& c : text)
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') c = '_';
  return text;
}

// A material needs a name: the empty texture gets one.
std::string MaterialName(const std::string& texture) {
  return texture.empty() ? std::string("Untextured") : NameText(texture);
}

// One channel of 0x00BBGGRR, from 0 to 1 with four decimals and "." whatever the locale.
std::string ChannelText(std::int32_t color, int shift) {
  return FormatFixed(((static_cast<std::uint32_t>(color) >> shift) & 0xFFu) / 255.0, 4, '.');
}

std::string FileNameOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string WavefrontOBJTextOf(const TEditor& editor, TObjAxes axes, const std::string& materialLibrary) {
  RequireFiniteCoordinates(editor.Nodes);
  const bool yUp = axes == TObjAxes::YUp;
  std::string text = "# Terravel terrain: " + std::to_string(editor.Nodes.Count()) + " vertices, " +
                     std::to_string(editor.Polygons.Count()) + " triangles\r\n";
  text += yUp ? "# Axes: Y up (x = Terravel X, y = Terravel Z, z = Terravel Y), right-handed\r\n"
              : "# Axes: Z up, as Terravel stores them (x = X, y = Y, z = Z); faces wound for a right-handed "
                "reading\r\n";
  if (!materialLibrary.empty()) text += "mtllib " + materialLibrary + "\r\n";
  text.reserve(text.size() + std::size_t(editor.Nodes.Count()) * 32 + std::size_t(editor.Polygons.Count()) * 24);
  for (const T3DCoord& node : editor.Nodes) {
    text += "v ";
    AppendNumber(text, node.X);
    text += ' ';
    AppendNumber(text, yUp ? node.Z : node.Y);
    text += ' ';
    AppendNumber(text, yUp ? node.Y : node.Z);
    text += "\r\n";
  }

  for (const TPolygonGroup& group : PolygonsByGroup(editor)) {
    text += "o " + (group.Name.empty() ? std::string("Ungrouped") : NameText(group.Name)) + "\r\n";
    const std::string* texture = nullptr;
    for (int i : group.Polygons) {
      const TPoly& polygon = editor.Polygons[i];
      if (texture == nullptr || *texture != polygon.Texture) {
        texture = &polygon.Texture;
        text += "usemtl " + MaterialName(polygon.Texture) + "\r\n";
      }
      // Swapping Y and Z mirrors: the stored order already faces a ground polygon up in y. Kept
      // as stored (Terravel's axes are left-handed), the order turns round.
      const int second = yUp ? polygon.Node2 : polygon.Node3;
      const int third = yUp ? polygon.Node3 : polygon.Node2;
      text += "f " + std::to_string(polygon.Node1 + 1) + ' ' + std::to_string(second + 1) + ' ' +
              std::to_string(third + 1) + "\r\n";
    }
  }
  return text;
}

std::string WavefrontMaterialsTextOf(const TEditor& editor) {
  std::map<std::string, std::int32_t> colors;
  std::vector<std::string> names;
  for (const TPoly& polygon : editor.Polygons) {
    std::string name = MaterialName(polygon.Texture);
    if (colors.try_emplace(name, polygon.Color).second) names.push_back(std::move(name));
  }
  std::string text = "# Terravel materials: " + std::to_string(names.size()) + "\r\n";
  for (const std::string& name : names) {
    const std::int32_t color = colors[name];
    const std::string kd = color == kAutomaticColor
                               ? std::string("0.5000 0.5000 0.5000")
                               : ChannelText(color, 0) + ' ' + ChannelText(color, 8) + ' ' + ChannelText(color, 16);
    text += "\r\nnewmtl " + name + "\r\nKd " + kd + "\r\nillum 1\r\n";
  }
  return text;
}

std::string MaterialLibraryPath(const std::string& objPath) {
  const std::string name = FileNameOf(objPath);
  const auto dot = name.find_last_of('.');
  // An OBJ file named "x.mtl" would be its own library: the library becomes "x.mtl.mtl".
  if (dot == std::string::npos || dot == 0 || ToLowerAscii(name.substr(dot)) == ".mtl") return objPath + ".mtl";
  return objPath.substr(0, objPath.size() - (name.size() - dot)) + ".mtl";
}

void ExportWavefrontOBJ(const TEditor& editor, const std::string& path, TObjAxes axes) {
  const std::string libraryPath = MaterialLibraryPath(path);
  const std::string objText = WavefrontOBJTextOf(editor, axes, FileNameOf(libraryPath));
  const std::string materialsText = WavefrontMaterialsTextOf(editor);
  // Both complete before either takes its place.
  TAtomicFile objFile(path);
  TAtomicFile materialsFile(libraryPath);
  objFile.Write(objText);
  materialsFile.Write(materialsText);
  materialsFile.Commit();
  objFile.Commit();
}

}  // namespace terravel
