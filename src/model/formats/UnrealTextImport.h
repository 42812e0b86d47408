#pragma once
// Import of Unreal text maps: the polygons of every brush become triangles of the project, a fan
// around each polygon's first vertex, on nodes shared wherever vertex positions are exactly equal.
// Put in with ApplyImport, every node and every triangle is an undoable action of its own; MinZ and
// MaxZ follow.
#include <string>
#include <string_view>

#include "model/formats/ExchangeFormat.h"

namespace terravel {

class TT3DMap;

// The format's reader: reads and parses the file and returns its polygons as recorded polygons,
// every vertex times the scale. A file error, a parse error (EParseError) or a vertex that times
// the scale lies outside the single-precision range (EInvalidFileError "Line %d: the coordinate
// %s lies outside the single-precision range.") is thrown instead.
TImport ReadUnrealText(const std::string& path, const TReadOptions& options);
// The same from the bytes of a file already read (a parse error as EParseError).
TImport ReadUnrealTextBytes(std::string_view bytes, float scale);
// The polygons of a parsed map (brushes only, "Vertex" items only), named after their brush; the
// range check above comes first.
TRecordedPolygons RecordedPolygonsOf(const TT3DMap& map, float scale);

}  // namespace terravel
