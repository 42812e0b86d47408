#include "model/projectfile/ProjectFile.h"

#include <cmath>
#include <new>
#include <vector>

#include "model/core/Errors.h"
#include "model/core/FileIO.h"
#include "model/editor/Editor.h"
#include "model/projectfile/StringFileStream.h"
#include "model/view/ViewTransform.h"

namespace terravel {

namespace {

constexpr std::size_t kSignatureSize = 80;
constexpr std::string_view kSignatureTitle = "TVP Terravel Project File";
// What every file Terravel writes starts with; other signature texts are taken on trial.
constexpr std::string_view kSignaturePrefix = "TVP ";
constexpr std::int32_t kTrailerVersion1 = 1;  // MinZ, MaxZ, PgInc as whole numbers
constexpr std::int32_t kTrailerVersion2 = 2;  // MinZ, MaxZ, PgInc as 6-byte reals
// After the ShowZ byte: the two pan floats, Zoom and the grid. Any other length means the
// 24-byte legacy position block stands in place of the pan floats.
constexpr std::size_t kShortPanTail = 20;
constexpr std::size_t kLegacyPosSize = 24;
constexpr std::size_t kLegacyPanXOffset = 8;  // PanY follows directly at 12
constexpr std::size_t kLegacyPanYOffset = 12;
// The smallest entries: three floats, two empty strings and the flag; three corners, three empty
// strings, the colour and the flag.
constexpr std::size_t kMinNodeEntry = 12 + 2 + 2 + 1;
constexpr std::size_t kMinPolygonEntry = 12 + 2 + 2 + 2 + 4 + 1;
// Version, MinZ, MaxZ, PgInc, ShowZ, PanX, PanY, Zoom, GridX, GridY.
constexpr std::size_t kTrailerSize = 4 + 3 * 6 + 1 + 2 * 4 + 4 + 2 * 4;

std::string SignatureBlock() {
  std::string block(kSignatureTitle);
  block.resize(kSignatureSize - 4, ' ');
  block += "\r\n\r\n";
  return block;
}

// ---- Writing ----

// Every text fits its field's 16-bit length; otherwise the save is refused, naming the record,
// before the file is touched.
void CheckText(const std::string& text, const char* what, const char* kind, int index) {
  if (text.size() > TStringFileStream::kMaxStringLength) {
    throw ETerravelError("Cannot save: the " + std::string(what) + " of " + kind + " " +
                         std::to_string(index) + " is longer than " +
                         std::to_string(TStringFileStream::kMaxStringLength) + " bytes.");
  }
}

void CheckTexts(const TEditor& editor) {
  int index = 0;
  for (const T3DCoord& node : editor.Nodes) {
    CheckText(node.Group, "group", "node", index);
    CheckText(node.Name, "name", "node", index);
    ++index;
  }
  index = 0;
  for (const TPoly& polygon : editor.Polygons) {
    CheckText(polygon.Texture, "texture", "polygon", index);
    CheckText(polygon.Group, "group", "polygon", index);
    CheckText(polygon.Name, "name", "polygon", index);
    ++index;
  }
}

void WriteNode(TStringFileStream& out, const T3DCoord& node) {
  out.WriteFloat(node.X);
  out.WriteFloat(node.Y);
  out.WriteFloat(node.Z);
  out.WriteString(node.Group);
  out.WriteString(node.Name);
  out.WriteByte(node.Selected ? 1 : 0);
}

void WritePolygon(TStringFileStream& out, const TPoly& polygon) {
  out.WriteInteger(polygon.Node1);
  out.WriteInteger(polygon.Node2);
  out.WriteInteger(polygon.Node3);
  out.WriteString(polygon.Texture);
  out.WriteString(polygon.Group);
  out.WriteString(polygon.Name);
  out.WriteInteger(polygon.Color);
  out.WriteByte(polygon.Selected ? 1 : 0);
}

// The document's values with the view's pan, zoom and ShowZ among them, in the file's order.
void WriteTrailer(TStringFileStream& out, const TProjectValues& values, const TViewState& view) {
  out.WriteInteger(kTrailerVersion2);
  out.WriteReal48(values.MinZ);
  out.WriteReal48(values.MaxZ);
  out.WriteReal48(values.PgInc);
  out.WriteByte(view.ShowZ ? 1 : 0);
  out.WriteFloat(view.PanX);
  out.WriteFloat(view.PanY);
  out.WriteFloat(view.Zoom);
  out.WriteInteger(values.GridX);
  out.WriteInteger(values.GridY);
}

// The whole file, field by field, after CheckTexts. `handOn` is called after every record and at
// the end with the stream; it may take the bytes written so far away (the file is then written in
// pieces) or leave them (the file is composed in memory).
template <typename HandOn>
void WriteProject(const TEditor& editor, TStringFileStream& out, HandOn&& handOn) {
  out.WriteBuffer(SignatureBlock().data(), kSignatureSize);
  out.WriteInteger(editor.Nodes.Count());
  for (const T3DCoord& node : editor.Nodes) {
    WriteNode(out, node);
    handOn(out);
  }
  out.WriteInteger(editor.Polygons.Count());
  for (const TPoly& polygon : editor.Polygons) {
    WritePolygon(out, polygon);
    handOn(out);
  }
  WriteTrailer(out, editor.Values, editor.View);
  handOn(out);
}

// ---- Reading ----

[[noreturn]] void FailDamaged(const std::string& file, const std::string& why) {
  throw EInvalidFileError("The file " + file + " is damaged: " + why);
}

// An entry count. A negative one is a damaged file (older readers took it as "none" and dropped
// the rest of the file unread); one that the rest of the file cannot hold at the smallest entry
// size is a read error, so nothing is reserved for it.
int ReadEntryCount(TStringFileStream& in, std::size_t minEntrySize, const char* what, const std::string& file) {
  const std::int32_t count = in.ReadInteger();
  if (count < 0) FailDamaged(file, std::string("the ") + what + " count " + std::to_string(count) + " is negative.");
  if (static_cast<std::size_t>(count) > in.Remaining() / minEntrySize) throw EStreamError(kStreamReadError);
  return count;
}

// One entry, built where the list's add operation takes it.
T3DCoord ReadNodeEntry(TStringFileStream& in) {
  T3DCoord node;
  node.X = in.ReadFloat();
  node.Y = in.ReadFloat();
  node.Z = in.ReadFloat();
  in.ReadString(node.Group);
  in.ReadString(node.Name);
  node.Selected = in.ReadByte() != 0;
  return node;
}

TPoly ReadPolygonEntry(TStringFileStream& in) {
  TPoly polygon;
  polygon.Node1 = in.ReadInteger();
  polygon.Node2 = in.ReadInteger();
  polygon.Node3 = in.ReadInteger();
  in.ReadString(polygon.Texture);
  in.ReadString(polygon.Group);
  in.ReadString(polygon.Name);
  polygon.Color = in.ReadInteger();
  polygon.Selected = in.ReadByte() != 0;
  return polygon;
}

// Appends the node entries; the list counts the selected ones as they enter.
void ReadNodes(TStringFileStream& in, TEditor& editor, const std::string& file) {
  const int count = ReadEntryCount(in, kMinNodeEntry, "node", file);
  editor.Nodes.Reserve(static_cast<std::size_t>(editor.Nodes.Count()) + static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const int index = editor.Nodes.AddNode(ReadNodeEntry(in));
    if (index < 0) throw std::bad_alloc();
  }
}

bool NamesNode(std::int32_t corner, std::int32_t nodeCount) {
  return corner >= 0 && corner < nodeCount;
}

// Takes the polygons from the index on out of the list again.
void RemovePolygonsFrom(TPolyList& polygons, int first) {
  std::vector<int> indices;
  indices.reserve(static_cast<std::size_t>(polygons.Count() - first));
  for (int i = first; i < polygons.Count(); ++i) indices.push_back(i);
  polygons.DetachMany(indices);
}

// Appends the polygon entries. A corner that names no node refuses
// the file, and the polygons of the file that entered before it leave again: the document never
// holds such a polygon. A file that ends early keeps the polygons read so far.
void ReadPolygons(TStringFileStream& in, TEditor& editor, const std::string& file) {
  const int count = ReadEntryCount(in, kMinPolygonEntry, "polygon", file);
  const std::int32_t nodeCount = editor.Nodes.Count();
  const int first = editor.Polygons.Count();
  editor.Polygons.Reserve(static_cast<std::size_t>(first) + static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const int index = editor.Polygons.AddPolygon(ReadPolygonEntry(in));
    if (index < 0) throw std::bad_alloc();
    const TPoly& polygon = editor.Polygons[index];
    for (const std::int32_t corner : {polygon.Node1, polygon.Node2, polygon.Node3}) {
      if (!NamesNode(corner, nodeCount)) {
        RemovePolygonsFrom(editor.Polygons, first);
        FailDamaged(file, "polygon " + std::to_string(i) + " refers to node " + std::to_string(corner) +
                              ", which does not exist.");
      }
    }
  }
}

// The values of a file without a (known) trailer.
void ApplyDefaultValues(TProjectValues& values, TViewState& view, std::int32_t& grid) {
  values.MinZ = kDefaultMinZ;
  values.MaxZ = kDefaultMaxZ;
  values.PgInc = kDefaultPgInc;
  view.ShowZ = false;
  view.PanX = 0;
  view.PanY = 0;
  view.Zoom = kDefaultZoom;
  grid = kDefaultGrid;
}

// Reads the project values into the document and pan, zoom and ShowZ into the view, as they come;
// returns the grid size to set.
std::int32_t ReadTrailer(TStringFileStream& in, TProjectValues& values, TViewState& view) {
  std::int32_t grid = 0;
  if (in.AtEnd()) {
    ApplyDefaultValues(values, view, grid);
    return grid;
  }
  const std::int32_t version = in.ReadInteger();
  if (version == kTrailerVersion1) {
    values.MinZ = static_cast<float>(in.ReadInteger());
    values.MaxZ = static_cast<float>(in.ReadInteger());
    values.PgInc = static_cast<float>(in.ReadInteger());
  } else if (version == kTrailerVersion2) {
    values.MinZ = in.ReadReal48();
    values.MaxZ = in.ReadReal48();
    values.PgInc = in.ReadReal48();
  } else {
    ApplyDefaultValues(values, view, grid);
    return grid;
  }
  view.ShowZ = in.ReadByte() != 0;
  if (in.Remaining() == kShortPanTail) {
    view.PanX = in.ReadFloat();
    view.PanY = in.ReadFloat();
  } else {
    // The legacy position block: the pan floats at bytes 8 and 12, the rest is of no use.
    in.Skip(kLegacyPanXOffset);
    view.PanX = in.ReadFloat();
    view.PanY = in.ReadFloat();
    in.Skip(kLegacyPosSize - kLegacyPanYOffset - 4);
  }
  view.Zoom = in.ReadFloat();
  // The view is drawn from these: a pan that is no finite number, or a zoom that is not a finite
  // positive one, would put every point nowhere. Terravel never writes such values.
  if (!std::isfinite(view.PanX)) view.PanX = 0;
  if (!std::isfinite(view.PanY)) view.PanY = 0;
  if (!(std::isfinite(view.Zoom) && view.Zoom > 0)) view.Zoom = kDefaultZoom;
  grid = in.ReadInteger();
  in.ReadInteger();  // GridY: the grid is square, GridX sets both
  return grid;
}

// Whether bytes that do not carry Terravel's signature hold a project all the same: they must
// read to their very end, and hold at least a record or the project values. Older files may carry
// other signature texts; a file of another kind almost never passes, and one that holds nothing
// loses nothing by being refused. Nothing of the document is touched.
bool ReadsAsProject(std::string_view bytes) {
  TStringFileStream in(bytes);
  try {
    in.Skip(kSignatureSize);
    const int nodes = ReadEntryCount(in, kMinNodeEntry, "node", {});
    for (int i = 0; i < nodes; ++i) ReadNodeEntry(in);
    const int polygons = ReadEntryCount(in, kMinPolygonEntry, "polygon", {});
    for (int i = 0; i < polygons; ++i) ReadPolygonEntry(in);
    if (in.AtEnd()) return nodes > 0 || polygons > 0;
    TProjectValues values;
    TViewState view;
    ReadTrailer(in, values, view);
  } catch (const ETerravelError&) {
    return false;
  }
  return in.AtEnd();
}

}  // namespace

std::string WriteProjectBytes(const TEditor& editor) {
  CheckTexts(editor);
  TStringFileStream out;
  // Room for the usual case: short names, a texture name, rarely a group.
  const auto nodes = static_cast<std::size_t>(editor.Nodes.Count());
  const auto polygons = static_cast<std::size_t>(editor.Polygons.Count());
  out.Reserve(kSignatureSize + 4 + nodes * (kMinNodeEntry + 16) + 4 + polygons * (kMinPolygonEntry + 32) +
              kTrailerSize);
  WriteProject(editor, out, [](TStringFileStream&) {});
  return out.TakeBytes();
}

bool SaveProjectFile(TEditor& editor, const std::string& path) {
  // A refused text leaves the old file as it was, and creates no file at all.
  CheckTexts(editor);
  // The bytes go to the file a piece at a time, so that a big document is never held twice; the
  // file takes the old one's place only when it is complete.
  constexpr std::size_t kPieceSize = std::size_t{1} << 20;
  TAtomicFile file(path);
  TStringFileStream out;
  out.Reserve(kPieceSize + 4 * TStringFileStream::kMaxStringLength);
  WriteProject(editor, out, [&file](TStringFileStream& stream) {
    if (stream.Size() < kPieceSize) return;
    file.Write(stream.Bytes());
    stream.DropBytes();
  });
  file.Write(out.Bytes());
  file.Commit();
  return true;
}

void ReadProjectBytes(TEditor& editor, std::string_view bytes, const std::string& nameForMessages) {
  if (bytes.substr(0, kSignaturePrefix.size()) != kSignaturePrefix && !ReadsAsProject(bytes)) {
    throw ENotAProjectError("The file " + nameForMessages + " is not a Terravel project file.");
  }
  TStringFileStream in(bytes);
  in.Skip(kSignatureSize);  // any content is accepted
  ReadNodes(in, editor, nameForMessages);
  ReadPolygons(in, editor, nameForMessages);

  const std::int32_t grid = ReadTrailer(in, editor.Values, editor.View);
  SetGridSize(editor, grid);
}

bool LoadProjectFile(TEditor& editor, const std::string& path) {
  const std::string bytes = ReadFileBytes(path);
  ReadProjectBytes(editor, bytes, path);
  return true;
}

}  // namespace terravel
