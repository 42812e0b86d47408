#pragma once
// The exchange formats in one table: how terravel-cli names them, the extensions they are known by,
// what the format chooser shows for them, and their readers and writers. Whatever chooses a format by
// a name or a file's extension asks here, so a format added or renamed changes in one place.
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace terravel {

class TEditor;

// In the chooser's list order: the position in the list is the format's identity there.
enum class TExchangeFormat { XYZText = 0, UnrealText = 1, ProjectText = 2, Heightmap = 3, WavefrontOBJ = 4 };

struct TExchangeFormatInfo {
  // Reads the file into the document, every coordinate times the scale; false when the import
  // did not complete.
  using TReader = bool (*)(TEditor& editor, const std::string& path, float scale);
  // Writes the whole document; writers that take no scale ignore it.
  using TWriter = void (*)(const TEditor& editor, const std::string& path, float scale);

  TExchangeFormat Format;
  std::string Name;                     // as --format takes it: "t3d"
  std::vector<std::string> Extensions;  // lower case, without the dot; the first is the default one
  std::string Caption;                  // the chooser's list entry, also the filter's shown name
  std::string Title;                    // the format in words, for "Import Terravel Text"
  std::string Description;              // "\r" is a line break
  std::string Pattern;                  // the file dialog's pattern: "*.t3d"; several are split by ";"
  std::string ImportWarning;            // shown before every import; empty for none
  TReader Read = nullptr;               // none: the format is written only
  TWriter Write = nullptr;              // none: the format is read only
  bool ExportTakesScale = false;        // every reader takes a scale, the writers only where this says
  bool RepeatedByExportAgain = false;   // "Export again" remembers an export of this format
  // Imported by ImportHeightmap with its own options (cell size, Z range, step, budget) from a
  // picture the caller decodes, instead of by Read.
  bool ReadsHeightmap = false;
  // The chooser lists the format for import and export alike and answers a missing direction
  // with "not yet implemented"; the others it lists only where they work.
  bool OfferedBothWays = false;

  bool Imports() const { return Read != nullptr || ReadsHeightmap; }
  bool Exports() const { return Write != nullptr; }
  const std::string& DefaultExtension() const { return Extensions.front(); }
};

// Every format, in the chooser's list order.
std::span<const TExchangeFormatInfo> ExchangeFormats();
const TExchangeFormatInfo& FormatInfo(TExchangeFormat format);

// The format of that exact name ("t3d"); none for an unknown name.
const TExchangeFormatInfo* FindFormatByName(std::string_view name);
// The format a file name's extension stands for, ignoring letter case ("Map.T3D"); none without a
// known extension.
const TExchangeFormatInfo* FindFormatByPath(std::string_view path);

}  // namespace terravel
