#include "model/formats/UnrealTextExport.h"

#include "model/core/Errors.h"
#include "model/core/FileIO.h"
#include "model/editor/Editor.h"
#include "model/formats/FiniteCoordinates.h"
#include "model/formats/FixedNumber.h"
#include "model/formats/T3DKeywords.h"
#include "model/formats/TextOutput.h"

namespace terravel {

namespace {

// The lines of a polygon: "   Begin Polygon Texture=...", three times "      Vertex   x,y,z" and
// "   End Polygon".
constexpr std::string_view kPolygonIndent = "   ";
constexpr std::string_view kVertexIndent = "      ";
constexpr std::string_view kVertexGap = "   ";
constexpr std::string_view kLineEnd = "\r\n";

constexpr std::size_t kPolygonHeaderSize =
    kPolygonIndent.size() + t3d::kBeginPolygon.size() + 1 + t3d::kTexture.size() + 1;
constexpr std::size_t kPolygonEndSize = kPolygonIndent.size() + t3d::kEndPolygon.size() + kLineEnd.size();
constexpr std::size_t kVertexSize = kVertexIndent.size() + t3d::kVertex.size() + kVertexGap.size();
constexpr std::size_t kVertexLineRoom = kVertexSize + 3 * (kFixedTextRoom + 1) + kLineEnd.size();
constexpr std::size_t kPolygonRoom =
    kPolygonHeaderSize + kLineEnd.size() + 3 * kVertexLineRoom + kPolygonEndSize;

// A vertex line as UnrealEd expects it whatever the user's settings: "." inside the numbers,
// "," between them.
char* PutVertex(char* out, const TCoordList& nodes, int index) {
  const T3DCoord* node = nodes.NodeAt(index);
  Require(node != nullptr, modules::FormatIE, "polygon corner refers to no node");
  out = TTextOutput::Put(out, kVertexIndent);
  out = TTextOutput::Put(out, t3d::kVertex);
  out = TTextOutput::Put(out, kVertexGap);
  out = WriteSignedFixed(out, node->X, 12, '.');
  *out++ = ',';
  out = WriteSignedFixed(out, node->Y, 12, '.');
  *out++ = ',';
  out = WriteSignedFixed(out, node->Z, 12, '.');
  return TTextOutput::Put(out, kLineEnd);
}

std::string Compose(const TEditor& editor, TTextOutput& output) {
  output.Append(t3d::kBeginPolyList);
  output.Append(kLineEnd);
  for (const TPoly& polygon : editor.Polygons) {
    char* out = output.Room(kPolygonRoom + polygon.Texture.size());
    out = TTextOutput::Put(out, kPolygonIndent);
    out = TTextOutput::Put(out, t3d::kBeginPolygon);
    *out++ = ' ';
    out = TTextOutput::Put(out, t3d::kTexture);
    *out++ = '=';
    out = TTextOutput::Put(out, polygon.Texture);
    out = TTextOutput::Put(out, kLineEnd);
    out = PutVertex(out, editor.Nodes, polygon.Node1);
    out = PutVertex(out, editor.Nodes, polygon.Node2);
    out = PutVertex(out, editor.Nodes, polygon.Node3);
    out = TTextOutput::Put(out, kPolygonIndent);
    out = TTextOutput::Put(out, t3d::kEndPolygon);
    output.Wrote(TTextOutput::Put(out, kLineEnd));
  }
  output.Append(t3d::kEndPolyList);
  output.Append(kLineEnd);
  return output.Finish();
}

// Room for numbers of up to eight integer digits; growing the text at the end would copy it all.
std::size_t ExpectedSize(const TEditor& editor) {
  constexpr std::size_t kTypicalPolygon =
      kPolygonHeaderSize + kLineEnd.size() + 3 * (kVertexSize + 3 * 22 + 4) + kPolygonEndSize;
  std::size_t size = t3d::kBeginPolyList.size() + t3d::kEndPolyList.size() + 2 * kLineEnd.size();
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
