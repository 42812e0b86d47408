#pragma once
// What every exchange format implements. A reader reads a file and returns what it read, without
// touching the document; the caller decides where it goes (a new project or the open one, after
// asking the user) and puts it in with ApplyImport. A writer takes the document and writes the
// whole file. The format table (FormatTable.h) lists the formats with their readers and writers.
#include <array>
#include <string>
#include <variant>
#include <vector>

#include "model/formats/MapExportOptions.h"
#include "model/heightmap/HeightGrid.h"
#include "model/heightmap/HeightmapExport.h"
#include "model/heightmap/HeightmapImport.h"

namespace terravel {

class TEditor;

// The options a reader or writer takes. The command line and the windows each ask for them in
// their own way; a format names its kind in its table row.
enum class TFormatOptions {
  None,
  Scale,      // a factor for every coordinate
  Heightmap,  // THeightmapOptions, read from a picture
  Axes,       // which axis points up
  Raster,     // THeightmapExportOptions, and a picture to compare the heightmap with
  Map,        // TMapExportOptions
};

struct TReadOptions {
  float Scale = 1;
  THeightmapOptions Heightmap;
  // The project's MinZ and MaxZ, for options that default to them.
  float MinZ = 0;
  float MaxZ = 0;
  // The picture of a heightmap, decoded by the caller: the model reads no picture format. Without
  // one, the reader decodes what it can itself (raw 16-bit files).
  const THeightGrid* Picture = nullptr;
  // A long read reports here and stops with EHeightmapCancelled when it answers false.
  THeightmapProgress Progress;
};

// The caller's encoder of a heightmap picture (the model writes no picture format): its bytes.
using THeightmapEncoder = std::string (*)(const THeightRaster& raster);

struct TWriteOptions {
  float Scale = 1;
  bool ZUp = false;  // Axes: keep Terravel's axes instead of turning Z up into Y up
  THeightmapExportOptions Heightmap;
  // Without an encoder the heightmap export writes raw files only.
  THeightmapEncoder EncodeHeightmap = nullptr;
  // The picture the heightmap came from, decoded by the caller: the export reports how far it
  // strays from it.
  const THeightGrid* Compare = nullptr;
  TMapExportOptions Map;
};

// Nodes and ground polygons appended straight into the lists, outside the history: nothing is
// recorded, so earlier actions keep their indices. Nodes get an empty group and automatic names,
// triangles (corners index into Nodes) the default texture.
struct TAppendedMesh {
  std::vector<std::array<float, 3>> Nodes;  // X, Y, Z
  std::vector<std::array<int, 3>> Triangles;
};

// Polygons of any number of corners put in through the request functions, every new node and
// triangle an undoable action, all of them selected: each polygon becomes a fan of triangles
// around its first corner, on nodes shared wherever positions are exactly equal (the document's
// own nodes included; the first node at a position is used). Afterwards MinZ and MaxZ take the
// range of the corners, widened to multiples of PgInc. Redrawing is suspended meanwhile.
struct TRecordedPolygons {
  struct TPolygon {
    std::string NodeName;  // the name of the nodes it adds
    std::string Name;
    std::string Texture;
    std::size_t FirstCorner = 0;  // into Corners
    std::size_t CornerCount = 0;
  };
  std::vector<TPolygon> Polygons;
  std::vector<std::array<float, 3>> Corners;
};

// What a reader read.
struct TImport {
  std::variant<TAppendedMesh, TRecordedPolygons> Delta;
  std::vector<std::string> Log;  // lines for the log, written once the delta is in
  std::string Summary;           // a line the command-line tool prints after its own, or empty
};

// What a writer reports besides the file it wrote.
struct TExport {
  std::vector<std::string> Log;  // lines for the log
  std::string Written;           // what was written in words ("a 513 x 513 heightmap"); empty: the
                                 // command-line tool counts as the format's row says
  std::string Summary;           // lines the command-line tool prints after its own, or empty
};

// Reads the file at the path; throws (ETerravelError and its kinds) before anything is returned
// when the file cannot be read or is no such file.
using TFormatReader = TImport (*)(const std::string& path, const TReadOptions& options);
// Writes the whole document to the path, replacing the file only once the new one is complete.
using TFormatWriter = TExport (*)(const TEditor& editor, const std::string& path, const TWriteOptions& options);

// MinZ and MaxZ after recorded polygons whose corners reach from lowest to highest: the nearest
// multiples of the step outside that range (or on its ends). A step of 0 or one that is not a
// finite number gives the range itself; a negative step counts as its magnitude.
struct TZRange {
  float MinZ = 0;
  float MaxZ = 0;
};
TZRange ImportZRange(float lowest, float highest, float step);

// Puts what was read into the document as its delta says, then writes the log lines. Appended
// records go in outside the history and are published as one change of everything that marks the
// project modified; recorded polygons publish as their actions run. Appended records tell the
// progress as they go; when it asks to stop, they are taken out again (EHeightmapCancelled).
void ApplyImport(TEditor& editor, const TImport& import, const THeightmapProgress& progress = {});

// The two deltas alone, without the log and (for the recorded polygons) without suspending the
// redraw, for callers that suspend it around more than the change.
void AppendMesh(TEditor& editor, const TAppendedMesh& mesh, const THeightmapProgress& progress = {});
void RecordPolygons(TEditor& editor, const TRecordedPolygons& polygons);

}  // namespace terravel
