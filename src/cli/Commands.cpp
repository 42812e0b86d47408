#include "cli/Commands.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <span>

#include "cli/Arguments.h"
#include "model/core/Errors.h"
#include "model/editor/Editor.h"
#include "model/formats/FormatTable.h"
#include "model/formats/WavefrontOBJ.h"
#include "model/heightmap/HeightmapErrors.h"
#include "model/heightmap/HeightmapImport.h"
#include "model/project/NewProject.h"
#include "model/project/OpenProject.h"
#include "model/projectfile/ProjectFile.h"
#include "render/HeightmapPicture.h"

namespace terravel::cli {

const char* const kUsage =
    "Usage:\n"
    "  terravel-cli info FILE.tvp [--json]\n"
    "  terravel-cli export FILE.tvp OUT [--format t3d|txt|tvt|obj] [--scale S] [--z-up]\n"
    "  terravel-cli import IN OUT.tvp [--format txt|t3d] [--scale S] [--into PROJECT.tvp]\n"
    "  terravel-cli import HEIGHTMAP OUT.tvp [--format heightmap] [--cell SIZE] [--z LOW,HIGH] [--step N]\n"
    "                [--max-triangles N] [--max-error E] [--seamless-border] [--into PROJECT.tvp]\n"
    "  terravel-cli new OUT.tvp [--blank | --triangle | --mesh N]\n"
    "  terravel-cli render FILE.tvp OUT.png [--size WxH] [--fit] [--pick] [--show LIST]\n"
    "                [--no-gradient-lines] [--background IMAGE [--origin X,Y] [--scale W,H]] [--relief]\n"
    "  terravel-cli --help | --version\n"
    "\n"
    "  info     counts of nodes and polygons, the selection and the project values\n"
    "  export   Unreal text (.t3d), X/Y/Z text (.txt, --scale applies) or project text (.tvt);\n"
    "           the format follows OUT's extension unless --format is given; Wavefront OBJ (.obj)\n"
    "           is written Y up unless --z-up keeps Terravel's axes\n"
    "  import   X/Y/Z text or Unreal text into a new blank project, or into --into PROJECT.tvp,\n"
    "           saved as OUT.tvp; --scale multiplies every coordinate (default 1); a heightmap\n"
    "           (.png, .r16, .raw) becomes a regular mesh, or with --max-triangles a terrain of at\n"
    "           most N triangles, or with --max-error until no pixel is off by more than E (Z\n"
    "           units; both: whichever comes first); --cell is the world size of a pixel (64), --z\n"
    "           the Z of black and white (the project's MinZ and MaxZ); the border points compete\n"
    "           with the inner ones, which follows the picture closest: give --seamless-border for\n"
    "           tiles that must meet their neighbours, cut from one picture and built with one budget\n"
    "  new      a new project: the single triangle (default), a blank one, or an N x N mesh\n"
    "  render   draws the project as the editor's viewport shows it into a PNG (960x594 and the\n"
    "           project's view unless --size and --fit say otherwise); --pick writes the pick\n"
    "           buffer; --show takes z,nodes,polygons,textures,position,scale or none; --relief\n"
    "           draws the terrain hill-shaded in the gradient's colours instead\n";

namespace {

void ExpectPositional(const TArguments& arguments, std::size_t count) {
  if (arguments.Positional.size() != count) {
    throw EUsageError("expected " + std::to_string(count) + " file name" + (count == 1 ? "" : "s") + ", got " +
                      std::to_string(arguments.Positional.size()));
  }
}

// The shortest text that reads back as the same float: valid JSON as well as readable.
std::string NumberText(float value) {
  if (!std::isfinite(value)) return "0";
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

// Formats in the order the usage lists them for each command: the common case first.
const TExchangeFormat kExportOrder[] = {TExchangeFormat::UnrealText, TExchangeFormat::XYZText,
                                        TExchangeFormat::ProjectText, TExchangeFormat::WavefrontOBJ};
const TExchangeFormat kImportOrder[] = {TExchangeFormat::XYZText, TExchangeFormat::UnrealText,
                                        TExchangeFormat::Heightmap};

// A whole number from `least` up, for --step and --max-triangles.
int ParseCount(const std::string& option, const std::string& text, int least) {
  int value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size() || value < least) {
    throw EUsageError(option + " takes a whole number from " + std::to_string(least) + " up, not \"" + text + "\"");
  }
  return value;
}

// A number given to a heightmap option, named in the message when it is none.
float ParseOptionNumber(const std::string& option, const std::string& text) {
  try {
    return ParseScale(text);
  } catch (const EUsageError&) {
    throw EUsageError(option + " takes a number, not \"" + text + "\"");
  }
}

// The options of a heightmap import as given; what depends on the picture is checked with it.
THeightmapOptions HeightmapOptionsOf(const TArguments& arguments) {
  THeightmapOptions options;
  if (auto cell = arguments.Value("--cell")) {
    options.CellSize = ParseOptionNumber("--cell", *cell);
    if (options.CellSize <= 0) throw EUsageError("--cell takes a size above 0");
  }
  if (auto z = arguments.Value("--z")) {
    const auto comma = z->find(',');
    if (comma == std::string::npos) throw EUsageError("--z takes LOW,HIGH");
    options.LowZ = ParseOptionNumber("--z", z->substr(0, comma));
    options.HighZ = ParseOptionNumber("--z", z->substr(comma + 1));
  }
  if (auto step = arguments.Value("--step")) options.Step = ParseCount("--step", *step, 1);
  if (auto budget = arguments.Value("--max-triangles")) options.MaxTriangles = ParseCount("--max-triangles", *budget, 2);
  if (auto bound = arguments.Value("--max-error")) {
    options.MaxError = ParseOptionNumber("--max-error", *bound);
    if (*options.MaxError < 0) throw EUsageError("--max-error takes a number of 0 or more");
  }
  options.SeamlessBorder = arguments.Has("--seamless-border");
  return options;
}

// The option a refused heightmap setting came from.
const char* HeightmapOptionName(THeightmapField field) {
  switch (field) {
    case THeightmapField::CellSize:
      return "--cell";
    case THeightmapField::LowZ:
    case THeightmapField::HighZ:
      return "--z";
    case THeightmapField::Step:
      return "--step";
    case THeightmapField::MaxTriangles:
      return "--max-triangles";
    case THeightmapField::MaxError:
      break;
  }
  return "--max-error";
}

// The format --format names, or else the one of the path's extension; it must be one of `known`.
const TExchangeFormatInfo& FormatOf(const TArguments& arguments, const std::string& path,
                                    std::span<const TExchangeFormat> known) {
  const auto name = arguments.Value("--format");
  const TExchangeFormatInfo* info = name ? FindFormatByName(*name) : FindFormatByPath(path);
  if (info != nullptr && std::find(known.begin(), known.end(), info->Format) != known.end()) return *info;
  std::string list;
  for (TExchangeFormat format : known) list += (list.empty() ? "" : ", ") + FormatInfo(format).Name;
  if (name) throw EUsageError("unknown format \"" + *name + "\" (use " + list + ")");
  throw EUsageError("cannot tell the format from \"" + path + "\": give --format (" + list + ")");
}

}  // namespace

int RunInfo(const std::vector<std::string>& words, std::ostream& out) {
  const TArguments arguments = ParseArguments(words, {}, {"--json"});
  ExpectPositional(arguments, 1);
  TEditor editor;
  OpenProject(editor, arguments.Positional[0]);
  const TProjectValues& v = editor.Values;
  if (arguments.Has("--json")) {
    out << "{\"nodes\": " << editor.Nodes.Count() << ", \"polygons\": " << editor.Polygons.Count()
        << ", \"selectedNodes\": " << editor.State.SelectedNodeCount()
        << ", \"selectedPolygons\": " << editor.State.SelectedPolygonCount() << ", \"minZ\": " << NumberText(v.MinZ)
        << ", \"maxZ\": " << NumberText(v.MaxZ) << ", \"pgInc\": " << NumberText(v.PgInc)
        << ", \"showZ\": " << (v.ShowZ ? "true" : "false") << ", \"panX\": " << NumberText(v.PanX)
        << ", \"panY\": " << NumberText(v.PanY) << ", \"zoom\": " << NumberText(v.Zoom) << ", \"gridX\": " << v.GridX
        << ", \"gridY\": " << v.GridY << "}\n";
  } else {
    out << "Nodes: " << editor.Nodes.Count() << "\n"
        << "Polygons: " << editor.Polygons.Count() << "\n"
        << "Selected nodes: " << editor.State.SelectedNodeCount() << "\n"
        << "Selected polygons: " << editor.State.SelectedPolygonCount() << "\n"
        << "MinZ: " << NumberText(v.MinZ) << "\n"
        << "MaxZ: " << NumberText(v.MaxZ) << "\n"
        << "PgInc: " << NumberText(v.PgInc) << "\n"
        << "ShowZ: " << (v.ShowZ ? "yes" : "no") << "\n"
        << "PanX: " << NumberText(v.PanX) << "\n"
        << "PanY: " << NumberText(v.PanY) << "\n"
        << "Zoom: " << NumberText(v.Zoom) << "\n"
        << "GridX: " << v.GridX << "\n"
        << "GridY: " << v.GridY << "\n";
  }
  return 0;
}

int RunExport(const std::vector<std::string>& words, std::ostream& out) {
  const TArguments arguments = ParseArguments(words, {"--format", "--scale"}, {"--z-up"});
  ExpectPositional(arguments, 2);
  const std::string& output = arguments.Positional[1];
  const TExchangeFormatInfo& format = FormatOf(arguments, output, kExportOrder);
  const bool zUp = arguments.Has("--z-up");
  if (zUp && format.Format != TExchangeFormat::WavefrontOBJ) throw EUsageError("--z-up applies to the obj format only");
  float scale = 1;
  if (auto text = arguments.Value("--scale")) {
    if (!format.ExportTakesScale) throw EUsageError("--scale applies to the txt format only");
    scale = ParseScale(*text);
  }
  TEditor editor;
  OpenProject(editor, arguments.Positional[0]);
  if (zUp) {
    ExportWavefrontOBJ(editor, output, TObjAxes::ZUp);
  } else {
    format.Write(editor, output, scale);
  }
  out << "Wrote ";
  switch (format.Format) {
    case TExchangeFormat::UnrealText:
      out << editor.Polygons.Count() << " polygons";
      break;
    case TExchangeFormat::XYZText:
      out << editor.Nodes.Count() << " nodes";
      break;
    case TExchangeFormat::ProjectText:
      out << editor.Nodes.Count() << " nodes and " << editor.Polygons.Count() << " polygons";
      break;
    case TExchangeFormat::WavefrontOBJ:
      out << editor.Polygons.Count() << " triangles";
      break;
    case TExchangeFormat::Heightmap:  // read only
      break;
  }
  out << " to " << output << "\n";
  return 0;
}

int RunImport(const std::vector<std::string>& words, std::ostream& out) {
  const TArguments arguments = ParseArguments(
      words, {"--format", "--scale", "--into", "--cell", "--z", "--step", "--max-triangles", "--max-error"},
      {"--seamless-border"});
  ExpectPositional(arguments, 2);
  const std::string& input = arguments.Positional[0];
  const std::string& output = arguments.Positional[1];
  const TExchangeFormatInfo& format = FormatOf(arguments, input, kImportOrder);
  for (const char* option : {"--cell", "--z", "--step", "--max-triangles", "--max-error", "--seamless-border"}) {
    if (!format.ReadsHeightmap && arguments.Has(option))
      throw EUsageError(std::string(option) + " applies to the heightmap format only");
  }
  if (format.ReadsHeightmap && arguments.Has("--scale")) throw EUsageError("--scale does not apply to a heightmap: use --cell");
  const float scale = arguments.Has("--scale") ? ParseScale(*arguments.Value("--scale")) : 1.0f;
  // Everything about the heightmap is checked before a project is touched.
  std::optional<THeightmapOptions> heightmapOptions;
  THeightGrid heightmap;
  std::string note;
  if (format.ReadsHeightmap) {
    heightmapOptions = HeightmapOptionsOf(arguments);
    heightmap = ReadHeightmapFile(input, note);
  }
  TEditor editor;
  if (auto into = arguments.Value("--into")) {
    OpenProject(editor, *into);
  } else {
    NewProject(editor, false);
  }
  const int nodesBefore = editor.Nodes.Count(), polygonsBefore = editor.Polygons.Count();
  std::optional<THeightmapResult> heightmapResult;
  if (heightmapOptions) {
    try {
      heightmapResult = ImportHeightmap(editor, heightmap, *heightmapOptions);
    } catch (const EHeightmapOptionError& error) {
      throw EUsageError(std::string(HeightmapOptionName(error.Field)) + ": " + error.what());
    }
  } else {
    format.Read(editor, input, scale);
  }
  SaveProjectFile(editor, output);
  if (!note.empty()) out << note << "\n";
  out << "Imported " << editor.Nodes.Count() - nodesBefore << " nodes and " << editor.Polygons.Count() - polygonsBefore
      << " polygons; wrote " << output << "\n";
  if (heightmapResult) {
    char errors[96];
    std::snprintf(errors, sizeof errors, "Height error: max %.3f, mean %.3f\n", heightmapResult->MaxError,
                  heightmapResult->MeanError);
    out << errors;
    if (const std::string stop = HeightmapStopText(*heightmapResult); !stop.empty()) out << stop << "\n";
  }
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
