#include "cli/Commands.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <set>

#include "cli/Arguments.h"
#include "cli/FormatOptions.h"
#include "model/core/Errors.h"
#include "model/editor/Editor.h"
#include "model/formats/FormatTable.h"
#include "model/project/NewProject.h"
#include "model/project/OpenProject.h"
#include "model/projectfile/ProjectFile.h"
#include "render/HeightmapPicture.h"

namespace terravel::cli {

namespace {

// The shortest text that reads back as the same float: valid JSON as well as readable.
std::string NumberText(float value) {
  if (!std::isfinite(value)) return "0";
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

// The format --format names, or else the one of the path's extension; it must be one of `known`.
const TExchangeFormatInfo& FormatOf(const TArguments& arguments, const std::string& path,
                                    const std::vector<const TExchangeFormatInfo*>& known) {
  const auto name = arguments.Value("--format");
  const TExchangeFormatInfo* info = name ? FindFormatByName(*name) : FindFormatByPath(path);
  if (info != nullptr && std::find(known.begin(), known.end(), info) != known.end()) return *info;
  std::string list;
  for (const TExchangeFormatInfo* format : known) list += (list.empty() ? "" : ", ") + format->Name;
  if (name) throw EUsageError("unknown format \"" + *name + "\" (use " + list + ")");
  throw EUsageError("cannot tell the format from \"" + path + "\": give --format (" + list + ")");
}

TFormatOptions OptionsKind(const TExchangeFormatInfo& format, bool imports) {
  return imports ? format.ReadOptions : format.WriteOptions;
}

// Every option the formats of one direction take, flags first, in the formats' order.
std::vector<std::string> FormatOptionWords(const std::vector<const TExchangeFormatInfo*>& formats, bool imports) {
  std::vector<std::string> words;
  for (const bool flags : {true, false}) {
    for (const TExchangeFormatInfo* format : formats) {
      const TFormatOptions kind = OptionsKind(*format, imports);
      for (const std::string& word : flags ? FlagsOf(kind) : ValueOptionsOf(kind)) {
        if (std::find(words.begin(), words.end(), word) == words.end()) words.push_back(word);
      }
    }
  }
  return words;
}

TArguments FormatArguments(const std::vector<std::string>& words, const std::vector<const TExchangeFormatInfo*>& formats,
                           bool imports, std::set<std::string> valueOptions) {
  std::set<std::string> flags;
  for (const TExchangeFormatInfo* format : formats) {
    const TFormatOptions kind = OptionsKind(*format, imports);
    for (const std::string& word : ValueOptionsOf(kind)) valueOptions.insert(word);
    for (const std::string& word : FlagsOf(kind)) flags.insert(word);
  }
  return ParseArguments(words, valueOptions, flags);
}

// An option given that belongs to other formats than the chosen one is a usage error.
void RefuseOtherOptions(const TArguments& arguments, const TExchangeFormatInfo& chosen,
                        const std::vector<const TExchangeFormatInfo*>& formats, bool imports) {
  const TFormatOptions kind = OptionsKind(chosen, imports);
  for (const std::string& word : FormatOptionWords(formats, imports)) {
    if (!arguments.Has(word) || TakesOption(kind, word)) continue;
    std::vector<const TExchangeFormatInfo*> takers;
    for (const TExchangeFormatInfo* format : formats) {
      if (TakesOption(OptionsKind(*format, imports), word)) takers.push_back(format);
    }
    if (takers.size() == 1) throw EUsageError(word + " applies to the " + takers.front()->Name + " format only");
    throw EUsageError(word + " does not apply to a " + chosen.Words + InsteadOf(kind, word));
  }
}

}  // namespace

int RunInfo(const std::vector<std::string>& words, std::ostream& out) {
  const TArguments arguments = ParseArguments(words, {}, {"--json"});
  ExpectPositional(arguments, 1);
  TEditor editor;
  OpenProject(editor, arguments.Positional[0]);
  const TProjectValues& v = editor.Values;
  const TViewState& view = editor.View;
  if (arguments.Has("--json")) {
    out << "{\"nodes\": " << editor.Nodes.Count() << ", \"polygons\": " << editor.Polygons.Count()
        << ", \"selectedNodes\": " << editor.State.SelectedNodeCount()
        << ", \"selectedPolygons\": " << editor.State.SelectedPolygonCount() << ", \"minZ\": " << NumberText(v.MinZ)
        << ", \"maxZ\": " << NumberText(v.MaxZ) << ", \"pgInc\": " << NumberText(v.PgInc)
        << ", \"showZ\": " << (view.ShowZ ? "true" : "false") << ", \"panX\": " << NumberText(view.PanX)
        << ", \"panY\": " << NumberText(view.PanY) << ", \"zoom\": " << NumberText(view.Zoom) << ", \"gridX\": " << v.GridX
        << ", \"gridY\": " << v.GridY << "}\n";
  } else {
    out << "Nodes: " << editor.Nodes.Count() << "\n"
        << "Polygons: " << editor.Polygons.Count() << "\n"
        << "Selected nodes: " << editor.State.SelectedNodeCount() << "\n"
        << "Selected polygons: " << editor.State.SelectedPolygonCount() << "\n"
        << "MinZ: " << NumberText(v.MinZ) << "\n"
        << "MaxZ: " << NumberText(v.MaxZ) << "\n"
        << "PgInc: " << NumberText(v.PgInc) << "\n"
        << "ShowZ: " << (view.ShowZ ? "yes" : "no") << "\n"
        << "PanX: " << NumberText(view.PanX) << "\n"
        << "PanY: " << NumberText(view.PanY) << "\n"
        << "Zoom: " << NumberText(view.Zoom) << "\n"
        << "GridX: " << v.GridX << "\n"
        << "GridY: " << v.GridY << "\n";
  }
  return 0;
}

int RunExport(const std::vector<std::string>& words, std::ostream& out) {
  const auto formats = CommandLineFormats(false);
  const TArguments arguments = FormatArguments(words, formats, false, {"--format"});
  ExpectPositional(arguments, 2);
  const std::string& output = arguments.Positional[1];
  const TExchangeFormatInfo& format = FormatOf(arguments, output, formats);
  RefuseOtherOptions(arguments, format, formats, false);
  TWriteOptions options = WriteOptionsOf(format.WriteOptions, arguments);
  options.EncodeHeightmap = &EncodeHeightmapPng;
  THeightGrid original;
  if (auto compare = arguments.Value("--compare")) {
    std::string note;
    original = ReadHeightmapFile(*compare, note);
    options.Compare = &original;
  }
  RefuseOutputOverInput(arguments.Positional[0], output);
  TEditor editor;
  OpenProject(editor, arguments.Positional[0]);
  const TExport written = format.Write(editor, output, options);
  out << "Wrote " << WrittenText(format, editor, written) << " to " << output
      << "\n";
  if (!written.Summary.empty()) out << written.Summary << "\n";
  return 0;
}

int RunImport(const std::vector<std::string>& words, std::ostream& out) {
  const auto formats = CommandLineFormats(true);
  const TArguments arguments = FormatArguments(words, formats, true, {"--format", "--into"});
  ExpectPositional(arguments, 2);
  const std::string& input = arguments.Positional[0];
  const std::string& output = arguments.Positional[1];
  const TExchangeFormatInfo& format = FormatOf(arguments, input, formats);
  RefuseOtherOptions(arguments, format, formats, true);
  // Everything about the options and a picture is checked before a project is touched.
  TReadOptions options = ReadOptionsOf(format.ReadOptions, arguments);
  THeightGrid picture;
  std::string note;
  if (format.ReadOptions == TFormatOptions::Heightmap) {
    picture = ReadHeightmapFile(input, note);
    options.Picture = &picture;
  }
  TEditor editor;
  if (auto into = arguments.Value("--into")) {
    OpenProject(editor, *into);
  } else {
    NewProject(editor, false);
  }
  options.MinZ = editor.Values.MinZ;
  options.MaxZ = editor.Values.MaxZ;
  const int nodesBefore = editor.Nodes.Count(), polygonsBefore = editor.Polygons.Count();
  std::string summary;
  {
    TImport imported;
    try {
      imported = format.Read(input, options);
    } catch (const EHeightmapOptionError& error) {
      throw EUsageError(std::string(HeightmapOptionName(error.Field)) + ": " + error.what());
    }
    ApplyImport(editor, imported);
    summary = imported.Summary;
  }
  SaveProjectFile(editor, output);
  if (!note.empty()) out << note << "\n";
  out << "Imported " << editor.Nodes.Count() - nodesBefore << " nodes and " << editor.Polygons.Count() - polygonsBefore
      << " polygons; wrote " << output << "\n";
  if (!summary.empty()) out << summary << "\n";
  return 0;
}

int RunNew(const std::vector<std::string>& words, std::ostream& out) {
  const TArguments arguments = ParseArguments(words, {"--mesh"}, {"--blank", "--triangle"});
  ExpectPositional(arguments, 1);
  const int kinds = int(arguments.Has("--blank")) + int(arguments.Has("--triangle")) + int(arguments.Has("--mesh"));
  if (kinds > 1) throw EUsageError("choose one of --blank, --triangle and --mesh");
  TEditor editor;
  if (auto mesh = arguments.Value("--mesh")) {
    int n = 0;
    const auto result = std::from_chars(mesh->data(), mesh->data() + mesh->size(), n);
    if (result.ec != std::errc() || result.ptr != mesh->data() + mesh->size() || n < 2 || n > 1024 || n % 2 != 0) {
      throw EUsageError("--mesh takes an even number from 2 to 1024");
    }
    NewMesh(editor, n);
  } else {
    NewProject(editor, !arguments.Has("--blank"));
  }
  SaveProjectFile(editor, arguments.Positional[0]);
  out << "Wrote " << editor.Nodes.Count() << " nodes and " << editor.Polygons.Count() << " polygons to "
      << arguments.Positional[0] << "\n";
  return 0;
}

}  // namespace terravel::cli
