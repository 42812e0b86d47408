#include "model/formats/WavefrontOBJ.h"

#include <charconv>
#include <map>
#include <vector>

#include "model/core/FileIO.h"
#include "model/editor/Editor.h"

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

}  // namespace

std::string WavefrontOBJTextOf(const TEditor& editor, TObjAxes axes) {
  const bool yUp = axes == TObjAxes::YUp;
  std::string text = "# Terravel terrain: " + std::to_string(editor.Nodes.Count()) + " vertices, " +
                     std::to_string(editor.Polygons.Count()) + " triangles\r\n";
  text += yUp ? "# Axes: Y up (x = Terravel X, y = Terravel Z, z = Terravel Y), right-handed\r\n"
              : "# Axes: Z up, as Terravel stores them (x = X, y = Y, z = Z); faces wound for a right-handed "
                "reading\r\n";
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

  // The polygons by group, in the order the groups first appear.
  std::vector<std::string> groups;
  std::map<std::string, std::vector<int>> members;
  for (int i = 0; i < editor.Polygons.Count(); ++i) {
    const std::string& group = editor.Polygons[i].Group;
    auto [it, added] = members.try_emplace(group);
    if (added) groups.push_back(group);
    it->second.push_back(i);
  }
  for (const std::string& group : groups) {
    text += "o " + (group.empty() ? std::string("Ungrouped") : NameText(group)) + "\r\n";
    const std::string* texture = nullptr;
    for (int i : members[group]) {
      const TPoly& polygon = editor.Polygons[i];
      if (texture == nullptr || *texture != polygon.Texture) {
        texture = &polygon.Texture;
        text += "usemtl " + NameText(polygon.Texture) + "\r\n";
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

void ExportWavefrontOBJ(const TEditor& editor, const std::string& path, TObjAxes axes) {
  WriteFileAtomically(path, WavefrontOBJTextOf(editor, axes));
}

}  // namespace terravel
