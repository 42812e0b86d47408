#pragma once
// The Unreal text (".t3d") writer: every polygon of the project as one bare brush polygon list
// that UnrealEd imports. Coordinates are written as stored, always with "." as the decimal point.
#include <string>

namespace terravel {

class TEditor;

// The whole file: "Begin PolyList", per polygon its header, three vertex lines (Node1, Node2,
// Node3) and "   End Polygon", then "End PolyList"; every line ends with CR LF. A node whose
// coordinate is no finite number refuses the export (ETerravelError naming it), as UnrealEd reads
// no "nan" or "inf".
std::string UnrealTextOf(const TEditor& editor);

// Writes UnrealTextOf to the path, replacing the file only once the new one is complete.
void ExportUnrealText(const TEditor& editor, const std::string& path);

}  // namespace terravel
