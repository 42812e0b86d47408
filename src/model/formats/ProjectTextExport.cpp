#include "model/formats/ProjectTextExport.h"

#include <charconv>
#include <cstdint>

#include "model/core/FileIO.h"
#include "model/editor/Editor.h"
#include "model/formats/FixedNumber.h"
#include "model/formats/TextOutput.h"
#include "model/text/NumberText.h"

namespace terravel {

namespace {

constexpr std::string_view kHeader =
    "TVT\r\n"
    "\r\n"
    "; Terravel Portable Project\r\n"
    "; Version 0.7\r\n"
    "\r\n";
constexpr std::string_view kBetweenSections = "\r\n\r\n\r\n";
constexpr std::string_view kLineEnd = "\r\n";

// A block's fixed texts, its numbers at their longest, and its free texts.
constexpr std::size_t kLabelsRoom = 16 * 32;
constexpr std::size_t kNumberRoom = kFixedTextRoom + 1;

char* PutText(char* out, std::string_view label, std::string_view value) {
  out = TTextOutput::Put(out, label);
  out = TTextOutput::Put(out, value);
  return TTextOutput::Put(out, kLineEnd);
}

char* PutInt(char* out, std::string_view label, long long value) {
  out = TTextOutput::Put(out, label);
  out = std::to_chars(out, out + kNumberRoom, value).ptr;
  return TTextOutput::Put(out, kLineEnd);
}

char* PutCoordinate(char* out, std::string_view label, float value, char separator) {
  out = TTextOutput::Put(out, label);
  out = WriteSignedFixed(out, value, 12, separator);
  return TTextOutput::Put(out, kLineEnd);
}

void WriteNode(TTextOutput& output, const T3DCoord& node, int index, char separator) {
  char* out = output.Room(kLabelsRoom + 4 * kNumberRoom + node.Group.size() + node.Name.size());
  out = PutInt(out, "Begin Node\t\t; Node #", static_cast<long long>(index) + 1);
  out = PutText(out, "\tGroup\t", node.Group);
  out = PutText(out, "\tName\t", node.Name);
  out = PutCoordinate(out, "\tX\t", node.X, separator);
  out = PutCoordinate(out, "\tY\t", node.Y, separator);
  out = PutCoordinate(out, "\tZ\t", node.Z, separator);
  output.Wrote(TTextOutput::Put(out, "End Node\r\n"));
}

void WritePolygon(TTextOutput& output, const TPoly& polygon, int index) {
  char* out = output.Room(kLabelsRoom + 5 * kNumberRoom + polygon.Group.size() + polygon.Name.size() +
                          polygon.Texture.size());
  out = PutInt(out, "Begin Polygon\t\t; Polygon #", static_cast<long long>(index) + 1);
  out = PutText(out, "\tGroup\t", polygon.Group);
  out = PutText(out, "\tName\t", polygon.Name);
  out = PutInt(out, "\tNode1\t", polygon.Node1);
  out = PutInt(out, "\tNode2\t", polygon.Node2);
  out = PutInt(out, "\tNode3\t", polygon.Node3);
  // The 32-bit pattern, so that the automatic colour -1 reads FFFFFFFF.
  out = PutText(out, "\tColor\t", FormatHex(static_cast<std::uint32_t>(polygon.Color), 6));
  out = PutText(out, "\tTexture\t", polygon.Texture);
  output.Wrote(TTextOutput::Put(out, "End Polygon\r\n"));
}

std::string Compose(const TEditor& editor, TTextOutput& output) {
  output.Append(kHeader);
  const char separator = DecimalSeparator();
  for (int i = 0; i < editor.Nodes.Count(); ++i) WriteNode(output, editor.Nodes[i], i, separator);
  output.Append(kBetweenSections);
  for (int j = 0; j < editor.Polygons.Count(); ++j) WritePolygon(output, editor.Polygons[j], j);
  return output.Finish();
}

// Fixed parts of a block plus its texts, with room for numbers of up to eight integer digits;
// growing the text at the end would copy it all.
std::size_t ExpectedSize(const TEditor& editor) {
  std::size_t size = kHeader.size() + kBetweenSections.size();
  for (const T3DCoord& node : editor.Nodes) size += 170 + node.Group.size() + node.Name.size();
  for (const TPoly& polygon : editor.Polygons) {
    size += 180 + polygon.Group.size() + polygon.Name.size() + polygon.Texture.size();
  }
  return size;
}

}  // namespace

std::string ProjectTextOf(const TEditor& editor) {
  TTextOutput output(ExpectedSize(editor));
  return Compose(editor, output);
}

void ExportProjectText(const TEditor& editor, const std::string& path) {
  TAtomicFile file(path);
  TTextOutput output(file);
  Compose(editor, output);
}

}  // namespace terravel
