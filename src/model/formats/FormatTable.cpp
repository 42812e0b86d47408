#include "model/formats/FormatTable.h"

#include <algorithm>

#include "model/editor/Editor.h"
#include "model/formats/GltfExport.h"
#include "model/formats/HeightmapFormat.h"
#include "model/formats/ProjectTextExport.h"
#include "model/formats/UnrealMapExport.h"
#include "model/formats/UnrealTextExport.h"
#include "model/formats/UnrealTextImport.h"
#include "model/formats/WavefrontOBJ.h"
#include "model/formats/PolygonGroups.h"
#include "model/formats/XYZText.h"
#include "model/shaping/ShapingScope.h"
#include "model/text/NumberText.h"

namespace terravel {

namespace {

// The file dialog's pattern of the extensions: "*.png;*.r16;*.raw".
std::string PatternOf(const std::vector<std::string>& extensions) {
  std::string pattern;
  for (const std::string& extension : extensions) pattern += (pattern.empty() ? "*." : ";*.") + extension;
  return pattern;
}

std::vector<TExchangeFormatInfo> MakeTable() {
  // Each row is filled before the next one is added, which may move it.
  std::vector<TExchangeFormatInfo> table;
  const auto row = [&table](TExchangeFormat format, std::string name, std::vector<std::string> extensions) -> auto& {
    TExchangeFormatInfo& info = table.emplace_back();
    info.Format = format;
    info.Name = std::move(name);
    info.Extensions = std::move(extensions);
    info.Pattern = PatternOf(info.Extensions);
    return info;
  };

  TExchangeFormatInfo& xyz = row(TExchangeFormat::XYZText, "txt", {"txt"});
  xyz.Read = &ReadXYZText;
  xyz.Write = [](const TEditor& editor, const std::string& path, const TWriteOptions& options) {
    ExportXYZText(editor, path, options.Scale);
    return TExport{};
  };
  xyz.ReadOptions = xyz.WriteOptions = TFormatOptions::Scale;
  xyz.RepeatedByExportAgain = true;
  xyz.OfferedBothWays = true;
  xyz.ImportRank = 0;
  xyz.ExportRank = 1;
  xyz.Words = "X/Y/Z text";
  xyz.Counts = TExportCounts::Nodes;

  TExchangeFormatInfo& unreal = row(TExchangeFormat::UnrealText, "t3d", {"t3d"});
  unreal.Read = &ReadUnrealText;
  // UnrealEd gets the coordinates as stored: the Unreal text is never scaled.
  unreal.Write = [](const TEditor& editor, const std::string& path, const TWriteOptions&) {
    ExportUnrealText(editor, path);
    return TExport{};
  };
  unreal.ReadOptions = TFormatOptions::Scale;
  unreal.RepeatedByExportAgain = true;
  unreal.OfferedBothWays = true;
  unreal.ImportRank = 1;
  unreal.ExportRank = 0;
  unreal.Words = "Unreal text";

  TExchangeFormatInfo& project = row(TExchangeFormat::ProjectText, "tvt", {"tvt"});
  project.Write = [](const TEditor& editor, const std::string& path, const TWriteOptions&) {
    ExportProjectText(editor, path);
    return TExport{};
  };
  project.OfferedBothWays = true;
  project.ExportRank = 2;
  project.Words = "project text";
  project.Counts = TExportCounts::NodesAndPolygons;

  TExchangeFormatInfo& heightmap = row(TExchangeFormat::Heightmap, "heightmap", {"png", "r16", "raw"});
  heightmap.Read = &ReadHeightmap;
  heightmap.Write = &WriteHeightmap;
  heightmap.ReadOptions = TFormatOptions::Heightmap;
  heightmap.WriteOptions = TFormatOptions::Raster;
  heightmap.ImportRank = 2;
  heightmap.ExportRank = 5;
  heightmap.Words = "heightmap";
  heightmap.FileWord = "HEIGHTMAP";
  heightmap.ImportNote =
      "a heightmap (.png, .r16, .raw) becomes a regular mesh, or with --max-triangles a terrain of at most N "
      "triangles, or with --max-error until no pixel is off by more than E (Z units; both: whichever comes "
      "first); --cell is the world size of a pixel (64), --z the Z of black and white (the project's MinZ and "
      "MaxZ); the border points compete with the inner ones, which follows the picture closest: give "
      "--seamless-border for tiles that must meet their neighbours, cut from one picture and built with one "
      "budget";
  heightmap.ExportNote =
      "a heightmap (16-bit grey .png, or little-endian .r16 and .raw) samples the ground's bounding box, a pixel "
      "on each corner, at --size WxH or --pixel SIZE world units a pixel (the grid step); --range maps the "
      "project's MinZ and MaxZ (project, the default) or the ground's own lowest and highest Z (terrain) to 0 "
      "and 65535; pixels outside the ground get 0 and are counted; --compare prints the difference from a "
      "picture of the same size";

  TExchangeFormatInfo& obj = row(TExchangeFormat::WavefrontOBJ, "obj", {"obj"});
  obj.Write = [](const TEditor& editor, const std::string& path, const TWriteOptions& options) {
    ExportWavefrontOBJ(editor, path, options.ZUp ? TObjAxes::ZUp : TObjAxes::YUp);
    return TExport{};
  };
  obj.WriteOptions = TFormatOptions::Axes;
  obj.ExportRank = 3;
  obj.Words = "Wavefront OBJ";
  obj.Counts = TExportCounts::Triangles;
  obj.ExportNote = "Wavefront OBJ (.obj) is written Y up unless --z-up keeps Terravel's axes";

  TExchangeFormatInfo& gltf = row(TExchangeFormat::Gltf, "gltf", {"glb", "gltf"});
  gltf.Write = [](const TEditor& editor, const std::string& path, const TWriteOptions& options) {
    ExportGltf(editor, path, options.ZUp ? TGltfAxes::ZUp : TGltfAxes::YUp, options.Scale);
    // One mesh a polygon group.
    const int meshes = editor.Polygons.Empty() ? 0 : static_cast<int>(PolygonsByGroup(editor).size());
    const int triangles = editor.Polygons.Count();
    TExport report;
    report.Written = FormatCount(meshes) + (meshes == 1 ? " mesh, " : " meshes, ") + FormatCount(triangles) +
                     (triangles == 1 ? " triangle" : " triangles");
    return report;
  };
  gltf.WriteOptions = TFormatOptions::Axes;
  gltf.ExportRank = 4;
  gltf.Words = "glTF 2.0";
  gltf.Counts = TExportCounts::Triangles;
  gltf.ExportNote =
      "glTF 2.0 (.glb, or .gltf with the buffer inside) is written in metres, one Unreal unit being 1.905 cm, "
      "Y up unless --z-up keeps Terravel's axes";

  // The same extension as the polygon list, which keeps it: the map is chosen by name.
  TExchangeFormatInfo& map = row(TExchangeFormat::UnrealMap, "t3d-map", {"t3d"});
  map.Write = [](const TEditor& editor, const std::string& path, const TWriteOptions& options) {
    return ExportUnrealMap(editor, path, options.Map);
  };
  map.WriteOptions = TFormatOptions::Map;
  map.RepeatedByExportAgain = true;
  map.ExportRank = 6;
  map.Words = "Unreal map";
  map.ExportNote =
      "an Unreal map (--format t3d-map) holds the ground as closed brushes in tiles of --tile SIZE (2048) or "
      "of at most --max-brush-polygons N: --csg subtract (the ground is the floor of a subtracted space under "
      "--ceiling Z), add or semisolid (the top of a solid on --floor Z); sky polygons become two-sided sheets; "
      "--snap G rounds every vertex to the grid (1; 0: off) and stops at a triangle it spoils unless --force; "
      "--side-texture names the walls' and caps' texture, --invisible-sides hides them, --texture-scale sets "
      "texels per unit (1), --room adds a subtracted box (for add and semisolid), a light and a player start";
  return table;
}

const std::vector<TExchangeFormatInfo>& Table() {
  static const std::vector<TExchangeFormatInfo> table = MakeTable();
  return table;
}

}  // namespace

std::span<const TExchangeFormatInfo> ExchangeFormats() {
  return Table();
}

const TExchangeFormatInfo& FormatInfo(TExchangeFormat format) {
  return Table().at(static_cast<std::size_t>(format));
}

std::vector<const TExchangeFormatInfo*> CommandLineFormats(bool imports) {
  std::vector<const TExchangeFormatInfo*> formats;
  for (const TExchangeFormatInfo& info : Table()) {
    if ((imports ? info.ImportRank : info.ExportRank) >= 0) formats.push_back(&info);
  }
  std::sort(formats.begin(), formats.end(), [imports](const TExchangeFormatInfo* a, const TExchangeFormatInfo* b) {
    return imports ? a->ImportRank < b->ImportRank : a->ExportRank < b->ExportRank;
  });
  return formats;
}

std::string WrittenText(const TExchangeFormatInfo& format, const TEditor& editor, const TExport& written) {
  if (!written.Written.empty()) return written.Written;
  const auto counted = [](int count, const char* word) {
    return FormatCount(count) + " " + word + (count == 1 ? "" : "s");
  };
  const std::string nodes = counted(editor.Nodes.Count(), "node");
  const int polygons = editor.Polygons.Count();
  switch (format.Counts) {
    case TExportCounts::Nodes:
      return nodes;
    case TExportCounts::Polygons:
      return counted(polygons, "polygon");
    case TExportCounts::NodesAndPolygons:
      return nodes + " and " + counted(polygons, "polygon");
    case TExportCounts::Triangles:
      break;
  }
  return counted(polygons, "triangle");
}

const TExchangeFormatInfo* FindFormatByName(std::string_view name) {
  for (const TExchangeFormatInfo& info : Table())
    if (info.Name == name) return &info;
  return nullptr;
}

const TExchangeFormatInfo* FindFormatByPath(std::string_view path) {
  const auto slash = path.find_last_of('/');
  const auto dot = path.find_last_of('.');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return nullptr;
  const std::string extension = ToLowerAscii(path.substr(dot + 1));
  for (const TExchangeFormatInfo& info : Table()) {
    if (std::find(info.Extensions.begin(), info.Extensions.end(), extension) != info.Extensions.end())
      return &info;
  }
  return nullptr;
}

}  // namespace terravel
