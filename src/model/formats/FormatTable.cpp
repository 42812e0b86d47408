#include "model/formats/FormatTable.h"

#include <algorithm>

#include "model/formats/ProjectTextExport.h"
#include "model/formats/UnrealTextExport.h"
#include "model/formats/UnrealTextImport.h"
#include "model/formats/WavefrontOBJ.h"
#include "model/formats/XYZText.h"
#include "model/text/NumberText.h"

namespace terravel {

namespace {

const char* const kUnrealImportWarning =
    "This feature is experimental. Current restrictions:\r"
    "- Only supports *.t3d files exported via File -> Export in UnrealEd.\r"
    "- Import might take some time even for decently sized brushes.\r"
    "- Polygons with more than three vertices are split during import.\r"
    "- Relative position of multiple brushes to each other might not be kept.\r"
    "- No preservation of texture panning/scale.\r"
    "- No support for unapplied rotation/scale of brushes (invoke \"Transform Permanently\" in UnrealEd "
    "before exporting).";

std::vector<TExchangeFormatInfo> MakeTable() {
  std::vector<TExchangeFormatInfo> table(5);

  TExchangeFormatInfo& xyz = table[0];
  xyz.Format = TExchangeFormat::XYZText;
  xyz.Name = "txt";
  xyz.Extensions = {"txt"};
  xyz.Caption = "X, Y, Z, Tab-separated (*.txt)";
  xyz.Title = "XYZ Text";
  xyz.Description =
      "Description:\rImports/exports a coordinate text file, in which the X, Y and Z coordinates are "
      "separated by tabs in a single line. Scale factor adjustable.";
  xyz.Pattern = "*.txt";
  // The XYZ reader never reports an unfinished import.
  xyz.Read = [](TEditor& editor, const std::string& path, float scale) {
    ImportXYZText(editor, path, scale);
    return true;
  };
  xyz.Write = [](const TEditor& editor, const std::string& path, float scale) {
    ExportXYZText(editor, path, scale);
  };
  xyz.ExportTakesScale = true;
  xyz.RepeatedByExportAgain = true;
  xyz.OfferedBothWays = true;

  TExchangeFormatInfo& unreal = table[1];
  unreal.Format = TExchangeFormat::UnrealText;
  unreal.Name = "t3d";
  unreal.Extensions = {"t3d"};
  unreal.Caption = "Unreal Text (*.t3d)";
  unreal.Title = "Unreal Text";
  unreal.Description =
      "Description:\rUnreal Text format. This file type can be used to exchange data between Terravel and "
      "UnrealEd.";
  unreal.Pattern = "*.t3d";
  unreal.ImportWarning = kUnrealImportWarning;
  unreal.Read = &ImportUnrealText;
  // UnrealEd gets the coordinates as stored: the Unreal text is never scaled.
  unreal.Write = [](const TEditor& editor, const std::string& path, float) {
    ExportUnrealText(editor, path);
  };
  unreal.RepeatedByExportAgain = true;
  unreal.OfferedBothWays = true;

  TExchangeFormatInfo& project = table[2];
  project.Format = TExchangeFormat::ProjectText;
  project.Name = "tvt";
  project.Extensions = {"tvt"};
  project.Caption = "Terravel Text (*.tvt)";
  project.Title = "Terravel Text";
  project.Description =
      "Description:\rImports/exports a TVP project as a text file, which can be edited with a text editor.";
  project.Pattern = "*.tvt";
  project.OfferedBothWays = true;
  project.Write = [](const TEditor& editor, const std::string& path, float) {
    ExportProjectText(editor, path);
  };

  TExchangeFormatInfo& heightmap = table[3];
  heightmap.Format = TExchangeFormat::Heightmap;
  heightmap.Name = "heightmap";
  heightmap.Extensions = {"png", "r16", "raw"};
  heightmap.Caption = "Heightmap (*.png *.r16 *.raw)";
  heightmap.Title = "Heightmap";
  heightmap.Description =
      "Description:\rBuilds a terrain from a greyscale picture (8 or 16 bit PNG, or raw 16 bit): a regular mesh, "
      "or at most a given number of triangles placed where they follow the heights best.";
  heightmap.Pattern = "*.png;*.r16;*.raw";
  heightmap.ReadsHeightmap = true;

  TExchangeFormatInfo& obj = table[4];
  obj.Format = TExchangeFormat::WavefrontOBJ;
  obj.Name = "obj";
  obj.Extensions = {"obj"};
  obj.Caption = "Wavefront OBJ (*.obj)";
  obj.Title = "Wavefront OBJ";
  obj.Description =
      "Description:\rExports the terrain as a Wavefront OBJ mesh for other engines and modelling programs: Y up, "
      "one object per group, the texture names as materials (their colours in a .mtl file beside it).";
  obj.Pattern = "*.obj";
  obj.Write = [](const TEditor& editor, const std::string& path, float) { ExportWavefrontOBJ(editor, path); };
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
