// The usage text of terravel-cli. The lines and paragraphs of export and import are made from the
// format table, so a format added there is listed, ordered and described here without more.
#include <algorithm>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/FormatOptions.h"
#include "model/formats/FormatTable.h"

namespace terravel::cli {

namespace {

constexpr std::size_t kUsageWidth = 100;      // usage lines, continued 16 columns in
constexpr std::size_t kParagraphWidth = 92;   // the paragraphs below them, continued 11 columns in

// The items joined as a list: "a", "a or b", "a, b or c".
std::string Listed(const std::vector<std::string>& items) {
  std::string text;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) text += i + 1 == items.size() ? " or " : ", ";
    text += items[i];
  }
  return text;
}

// Words (or "[...]" groups) added to a line while they fit, then on a new line after `indent`.
std::string Wrapped(const std::string& first, const std::vector<std::string>& words, std::size_t indent,
                    std::size_t width) {
  std::string text, line = first;
  bool lineStarted = false;
  for (const std::string& word : words) {
    if (lineStarted && line.size() + 1 + word.size() > width) {
      text += line + "\n";
      line = std::string(indent, ' ') + word;
    } else {
      line += (lineStarted ? " " : "") + word;
    }
    lineStarted = true;
  }
  return text + line + "\n";
}

std::vector<std::string> SplitWords(const std::string& text) {
  std::vector<std::string> words;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find(' ', start), text.size());
    if (end > start) words.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return words;
}

// "[--a A] [--b B]" as groups that stay whole on a line.
void AddGroups(std::vector<std::string>& words, const std::string& usage) {
  std::size_t start = 0;
  while ((start = usage.find('[', start)) != std::string::npos) {
    const std::size_t end = usage.find(']', start);
    words.push_back(usage.substr(start, end - start + 1));
    start = end + 1;
  }
}

std::string Names(const std::vector<const TExchangeFormatInfo*>& formats) {
  std::string names;
  for (const TExchangeFormatInfo* format : formats) names += (names.empty() ? "" : "|") + format->Name;
  return names;
}

std::string ExportLines() {
  const auto formats = CommandLineFormats(false);
  std::vector<std::string> words = {"terravel-cli", "export", "FILE.tvp", "OUT", "[--format " + Names(formats) + "]"};
  std::vector<TFormatOptions> kinds;
  for (const TExchangeFormatInfo* format : formats) {
    if (std::find(kinds.begin(), kinds.end(), format->WriteOptions) != kinds.end()) continue;
    kinds.push_back(format->WriteOptions);
    AddGroups(words, UsageOf(format->WriteOptions));
  }
  return Wrapped("  ", words, 16, kUsageWidth);
}

// One line for each kind of options and file, in the order the formats come.
std::string ImportLines() {
  const auto formats = CommandLineFormats(true);
  std::vector<const TExchangeFormatInfo*> done;
  std::string text;
  for (const TExchangeFormatInfo* format : formats) {
    if (std::find(done.begin(), done.end(), format) != done.end()) continue;
    std::vector<const TExchangeFormatInfo*> group;
    for (const TExchangeFormatInfo* other : formats) {
      if (other->ReadOptions == format->ReadOptions && other->FileWord == format->FileWord) group.push_back(other);
    }
    done.insert(done.end(), group.begin(), group.end());
    std::vector<std::string> words = {"terravel-cli", "import", format->FileWord, "OUT.tvp",
                                      "[--format " + Names(group) + "]"};
    AddGroups(words, UsageOf(format->ReadOptions));
    words.push_back("[--into PROJECT.tvp]");
    text += Wrapped("  ", words, 16, kUsageWidth);
  }
  return text;
}

std::string ExportParagraph() {
  std::vector<std::string> listed;
  std::string notes;
  for (const TExchangeFormatInfo* format : CommandLineFormats(false)) {
    if (!format->ExportNote.empty()) {
      notes += "; " + format->ExportNote;
      continue;
    }
    listed.push_back(format->Words + " (." + format->DefaultExtension() +
                     (format->WriteOptions == TFormatOptions::Scale ? ", --scale applies" : "") + ")");
  }
  const std::string text = Listed(listed) + "; the format follows OUT's extension unless --format is given" + notes;
  return Wrapped("  export   ", SplitWords(text), 11, kParagraphWidth);
}

std::string ImportParagraph() {
  std::vector<std::string> listed;
  std::string notes;
  bool scaled = false;
  for (const TExchangeFormatInfo* format : CommandLineFormats(true)) {
    if (!format->ImportNote.empty()) {
      notes += "; " + format->ImportNote;
      continue;
    }
    listed.push_back(format->Words);
    scaled = scaled || format->ReadOptions == TFormatOptions::Scale;
  }
  const std::string text = Listed(listed) + " into a new blank project, or into --into PROJECT.tvp, saved as OUT.tvp" +
                           (scaled ? "; --scale multiplies every coordinate (default 1)" : "") + notes;
  return Wrapped("  import   ", SplitWords(text), 11, kParagraphWidth);
}

}  // namespace

std::string Usage() {
  return "Usage:\n"
         "  terravel-cli info FILE.tvp [--json]\n" +
         ExportLines() + ImportLines() +
         "  terravel-cli new OUT.tvp [--blank | --triangle | --mesh N]\n"
         "  terravel-cli render FILE.tvp OUT.png [--size WxH] [--fit] [--pick] [--show LIST]\n"
         "                [--no-gradient-lines] [--background IMAGE [--origin X,Y] [--scale W,H]] [--relief]\n"
         "  terravel-cli render FILE.tvp OUT.png --3d [--size WxH] [--camera AZIMUTH,ELEVATION[,DISTANCE]]\n"
         "                [--exaggerate F]\n"
         "  terravel-cli triangulate FILE.tvp OUT.tvp [--max-edge L] [--sky]\n"
         "  terravel-cli simplify FILE.tvp OUT.tvp (--max-triangles N | --max-error E)\n"
         "  terravel-cli smooth FILE.tvp OUT.tvp [--passes N] [--strength S]\n"
         "  terravel-cli check FILE.tvp [--snap G] [--json]\n"
         "  terravel-cli --help | --version\n"
         "\n"
         "  info     counts of nodes and polygons, the selection and the project values\n" +
         ExportParagraph() + ImportParagraph() +
         "  new      a new project: the single triangle (default), a blank one, or an N x N mesh\n"
         "  render   draws the project as the editor's viewport shows it into a PNG (960x594 and the\n"
         "           project's view unless --size and --fit say otherwise); --pick writes the pick\n"
         "           buffer; --show takes z,nodes,polygons,textures,position,scale or none; --relief\n"
         "           draws the terrain hill-shaded in the gradient's colours instead; --3d draws the 3-D\n"
         "           view's picture (800x600, the whole terrain from azimuth 30 and elevation 45 degrees\n"
         "           unless --camera says otherwise; heights exaggerated 1 to 10 times)\n"
         "  triangulate  fills the hull of the selected nodes (all nodes when nothing is selected)\n"
         "           with ground triangles (sky with --sky) where no polygon is yet, around the\n"
         "           existing polygons; --max-edge leaves out triangles with a longer side\n"
         "  simplify joins the selected polygons (all when nothing is selected) by edge collapse\n"
         "           until at most N are left or the next would raise the height error above E;\n"
         "           the outline (in X and Y) and the edges between groups or textures stay; it\n"
         "           exits 1, the file written, when they keep more than N\n"
         "  smooth   moves the heights of the selected nodes (all nodes when nothing is selected)\n"
         "           towards the mean of their neighbours, N passes (default 1) of strength S (above 0,\n"
         "           at most 1; default 0.5); the border of the selection stays\n"
         "  check    lists what would cut or hole UnrealEd's BSP: nodes off the grid of G (1; 0: off),\n"
         "           slivers, T-junctions, edges of more than two polygons, overlaps in plan view, ground\n"
         "           and sky on one edge, texture names UnrealEd cannot hold, triangles snapping spoils;\n"
         "           and what the Unreal map export makes of it; exit status 1 when it finds anything\n";
}

std::string CommandUsage(const std::string& command) {
  // The command's usage lines and its paragraph, each with the lines that continue it.
  const std::string text = Usage();
  const std::string usageStart = "  terravel-cli " + command + " ";
  const std::string paragraphStart = "  " + command + " ";
  std::string lines = "Usage:\n", paragraph;
  std::string* into = nullptr;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    const std::string line = text.substr(start, end - start);
    start = end + 1;
    if (line.rfind(usageStart, 0) == 0) {
      into = &lines;
    } else if (line.rfind(paragraphStart, 0) == 0) {
      into = &paragraph;
    } else if (line.rfind("   ", 0) != 0) {
      into = nullptr;  // a line of another command
    }
    if (into != nullptr) *into += line + "\n";
  }
  return lines + "\n" + paragraph;
}

}  // namespace terravel::cli
