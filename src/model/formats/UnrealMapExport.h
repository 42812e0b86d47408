#pragma once
// The Unreal map export: the terrain as brush actors of a whole map ("Begin Map" ... "End Map") in
// UnrealEd's own syntax and number format (+00128.000000), so that UnrealEd's File > Import reads
// it and builds it without work by hand: closed brushes, on the grid, with aligned textures.
#include <string>

#include "model/formats/ExchangeFormat.h"
#include "model/formats/MapBrushes.h"

namespace terravel {

class TEditor;

// The whole file of the brushes and actors, lines ending in CR LF.
std::string UnrealMapOf(const TMapBrushes& brushes);

// What the export writes and reports, without a file.
std::string UnrealMapText(const TEditor& editor, const TMapExportOptions& options);

// Builds the brushes (errors as BuildMapBrushes, before the file is touched) and replaces the file
// with the map. Reports the brushes, the largest brush, the largest Z change by snapping and the
// polygons written although snapping spoilt them.
TExport ExportUnrealMap(const TEditor& editor, const std::string& path, const TMapExportOptions& options);

}  // namespace terravel
