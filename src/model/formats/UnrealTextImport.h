#pragma once
// Import of Unreal text maps: the polygons of every brush become triangles of the project, a fan
// around each polygon's first vertex, on nodes shared wherever vertex positions are exactly equal.
// Every node and every triangle is an undoable action of its own; MinZ and MaxZ follow.
#include <string>
#include <string_view>

namespace terravel {

class TEditor;
class TT3DMap;

// Reads and parses the file, then converts it; redrawing stays suspended meanwhile. A file error,
// a parse error (EParseError) or a vertex that times the scale lies outside the single-precision
// range (EInvalidFileError "Line %d: the coordinate %s lies outside the single-precision range.")
// is thrown before anything in the document changes. True when the import completes.
bool ImportUnrealText(TEditor& editor, const std::string& path, float scale);
// The same from the bytes of a file already read.
bool ImportUnrealTextBytes(TEditor& editor, std::string_view bytes, float scale);

// The conversion of a parsed map alone (no redraw suspension): nodes, triangles, MinZ and MaxZ;
// the range check above comes first.
void ConvertUnrealText(TEditor& editor, const TT3DMap& map, float scale);

// MinZ and MaxZ after an import whose vertices reach from lowest to highest: the nearest
// multiples of the step outside that range (or on its ends). A step of 0 or one that is not a
// finite number gives the range itself; a negative step counts as its magnitude.
struct TZRange {
  float MinZ = 0;
  float MaxZ = 0;
};
TZRange ImportZRange(float lowest, float highest, float step);

}  // namespace terravel
