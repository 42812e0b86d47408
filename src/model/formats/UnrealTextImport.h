#pragma once
// Import of Unreal text maps: the polygons of every brush become triangles of the project, a fan
// around each polygon's first vertex, on nodes shared wherever vertex positions are exactly equal.
// Every node and every triangle is an undoable action of its own; MinZ and MaxZ follow.
#include <string>
#include <string_view>

#include "model/formats/ExchangeFormat.h"

namespace terravel {

class TEditor;
class TT3DMap;

// The format's reader: reads and parses the file and returns its polygons as recorded polygons,
// every vertex times the scale. A file error, a parse error (EParseError) or a vertex that times
// the scale lies outside the single-precision range (EInvalidFileError "Line %d: the coordinate
// %s lies outside the single-precision range.") is thrown instead.
TImport ReadUnrealText(const std::string& path, const TReadOptions& options);
// The polygons of a parsed map (brushes only, "Vertex" items only), named after their brush.
TRecordedPolygons RecordedPolygonsOf(const TT3DMap& map, float scale);

// Reads the file and applies what it read, with redrawing suspended throughout (also while the
// file is read). Errors as ReadUnrealText, thrown before anything in the document changes. True
// when the import completes.
bool ImportUnrealText(TEditor& editor, const std::string& path, float scale);
// The same from the bytes of a file already read.
bool ImportUnrealTextBytes(TEditor& editor, std::string_view bytes, float scale);

// The conversion of a parsed map alone (no redraw suspension): nodes, triangles, MinZ and MaxZ;
// the range check above comes first.
void ConvertUnrealText(TEditor& editor, const TT3DMap& map, float scale);

}  // namespace terravel
