#pragma once
// The exchange formats in one table: how terravel-cli names them and lists them, the extensions
// they are known by, and their readers and writers (ExchangeFormat.h). Whatever chooses a format
// by a name or a file's extension asks here, so a format added or renamed changes in one place.
// The windows keep their own captions and descriptions of the formats.
//
// Adding a format: write its reader and/or writer in a file of its own (XYZText.cpp is a small
// example of both), then add its row to MakeTable in FormatTable.cpp and its value to
// TExchangeFormat.
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/formats/ExchangeFormat.h"

namespace terravel {

// In the chooser's list order: the position in the list is the format's identity there.
enum class TExchangeFormat {
  XYZText = 0,
  UnrealText = 1,
  ProjectText = 2,
  Heightmap = 3,
  WavefrontOBJ = 4,
  Gltf = 5,
  UnrealMap = 6,
};

// What terravel-cli counts when it says what an export wrote: "Wrote 12 polygons to ...".
enum class TExportCounts { Polygons, Nodes, NodesAndPolygons, Triangles };

struct TExchangeFormatInfo {
  TExchangeFormat Format;
  std::string Name;                     // as --format takes it: "t3d"
  std::vector<std::string> Extensions;  // lower case, without the dot; the first is the default one
  std::string Pattern;                  // the file dialog's pattern: "*.t3d"; several are split by ";"
  TFormatReader Read = nullptr;         // none: the format is written only
  TFormatWriter Write = nullptr;        // none: the format is read only
  TFormatOptions ReadOptions = TFormatOptions::None;
  TFormatOptions WriteOptions = TFormatOptions::None;
  bool RepeatedByExportAgain = false;   // "Export again" remembers an export of this format
  // The chooser lists the format for import and export alike and answers a missing direction
  // with "not yet implemented"; the others it lists only where they work.
  bool OfferedBothWays = false;

  // terravel-cli: the place in its lists, the common case first (-1: not offered that way), the
  // format in words for its help ("X/Y/Z text"), and a clause of its own in the help where the
  // format needs more than its place in the list. The file a reader reads is called FileWord in
  // the usage line.
  int ImportRank = -1;
  int ExportRank = -1;
  std::string Words;
  std::string ImportNote;
  std::string ExportNote;
  std::string FileWord = "IN";
  TExportCounts Counts = TExportCounts::Polygons;

  bool Imports() const { return Read != nullptr; }
  bool Exports() const { return Write != nullptr; }
  const std::string& DefaultExtension() const { return Extensions.front(); }
};

// Every format, in the chooser's list order.
std::span<const TExchangeFormatInfo> ExchangeFormats();
const TExchangeFormatInfo& FormatInfo(TExchangeFormat format);

// The formats that import (or export), in terravel-cli's order.
std::vector<const TExchangeFormatInfo*> CommandLineFormats(bool imports);

// What an export wrote, in words: the writer's own ("a 513 x 513 heightmap"), or else what the
// format counts ("12 polygons", "8,192 triangles").
std::string WrittenText(const TExchangeFormatInfo& format, const TEditor& editor, const TExport& written);

// The format of that exact name ("t3d"); none for an unknown name.
const TExchangeFormatInfo* FindFormatByName(std::string_view name);
// The format a file name's extension stands for, ignoring letter case ("Map.T3D"); none without a
// known extension.
const TExchangeFormatInfo* FindFormatByPath(std::string_view path);

}  // namespace terravel
