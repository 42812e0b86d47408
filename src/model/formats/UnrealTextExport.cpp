#include "model/formats/UnrealTextExport.h"

#include "model/core/Errors.h"
#include "model/core/FileIO.h"
#include "model/editor/Editor.h"
#include "model/formats/FiniteCoordinates.h"
#include "model/formats/FixedNumber.h"
#include "model/formats/TextOutput.h"

namespace terravel {

namespace {

constexpr std::string_view kBegin = "Begin PolyList\r\n";
constexpr std::string_view kEnd = "End PolyList\r\n";
constexpr std::string_view kPolygonHeader = "   Begin Polygon Texture=";
constexpr std::string_view kPolygonEnd = "   End Polygon\r\n";
constexpr std::string_view kVertex = "      Vertex   ";
constexpr std::string_view kLineEnd = "\r\n";

constexpr std::size_t kVertexLineRoom = kVertex.size() + 3 * (kFixedTextRoom + 1) + kLineEnd.size();
constexpr std::size_t kPolygonRoom =
    kPolygonHeader.size() + kLineEnd.size() + 3 * kVertexLineRoom + kPolygonEnd.size();

// A vertex line as UnrealEd expects it whatever the user's settings: "." inside the numbers,
// "," between them.
char* PutVertex(char* out, const TCoordList& nodes, int index) {
  const T3DCoord* node = nodes.NodeAt(index);
  Require(node != nullptr, modules::FormatIE, "polygon corner refers to no node");
  out = TTextOutput::Put(out, kVertex);
  out = WriteSignedFixed(out, node->X, 12, '.');
  *out++ = ',';
  out = WriteSignedFixed(out, node->Y, 12, '.');
  *out++ = ',';
  out = WriteSignedFixed(out, node->Z, 12, '.');
  return TTextOutput::Put(out, kLineEnd);
}

std::string Compose(const TEditor& editor, TTextOutput& output) {
  output.Append(kBegin);
  for (const TPoly& polygon : editor.Polygons) {
    char* out = output.Room(kPolygonRoom + polygon.Texture.size());
    out = TTextOutput::Put(out, kPolygonHeader);
    out = TTextOutput::Put(out, polygon.Texture);
    out = TTextOutput::Put(out, kLineEnd);
    out = PutVertex(out, editor.Nodes, polygon.Node1);
    out = PutVertex(out, editor.Nodes, polygon.Node2);
    out = PutVertex(out, editor.Nodes, polygon.Node3);
    output.Wrote(TTextOutput::Put(out, kPolygonEnd));
  }
  output.Append(kEnd);
  return output.Finish();
}

// Room for numbers of up to eight integer digits; growing the text at the end would copy it all.
std::size_t ExpectedSize(const TEditor& editor) {
  constexpr std::size_t kTypicalPolygon =
      kPolygonHeader.size() + kLineEnd.size() + 3 * (kVertex.size() + 3 * 22 + 4) + kPolygonEnd.size();
  std::size_t size = kBegin.size() + kEnd.size();
  for (const TPoly& polygon : editor.Polygons) size += polygon.Texture.size() + kTypicalPolygon;
  return size;
}

}  // namespace

std::string UnrealTextOf(const TEditor& editor) {
  RequireFiniteCoordinates(editor.Nodes);
  TTextOutput output(ExpectedSize(editor));
  return Compose(editor, output);
}

void ExportUnrealText(const TEditor& editor, const std::string& path) {
  RequireFiniteCoordinates(editor.Nodes);  // before the file is touched
  TAtomicFile file(path);
  TTextOutput output(file);
  Compose(editor, output);
}

}  // namespace terravel
