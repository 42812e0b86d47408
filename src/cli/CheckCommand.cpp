#include "cli/CheckCommand.h"

#include <charconv>
#include <cstdio>

#include "cli/Arguments.h"
#include "model/editor/Editor.h"
#include "model/project/OpenProject.h"
#include "model/reports/TerrainCheck.h"

namespace terravel::cli {

namespace {

std::string JsonText(const std::string& text) {
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", c);
      quoted += escape;
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

std::string JsonList(const std::vector<int>& items) {
  std::string text = "[";
  for (std::size_t i = 0; i < items.size(); ++i) text += (i > 0 ? ", " : "") + std::to_string(items[i]);
  return text + "]";
}

std::string JsonNumber(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

}  // namespace

int RunCheck(const std::vector<std::string>& words, std::ostream& out) {
  const TArguments arguments = ParseArguments(words, {"--snap"}, {"--json"});
  ExpectPositional(arguments, 1);
  double grid = 1;
  if (auto snap = arguments.Value("--snap")) {
    grid = ParseOptionNumber("--snap", *snap);
    if (!(grid >= 0)) throw EUsageError("--snap takes a grid of 0 (off) or more, not \"" + *snap + "\"");
  }
  TEditor editor;
  OpenProject(editor, arguments.Positional[0]);
  const TTerrainCheck check = CheckTerrain(editor.Nodes, editor.Polygons, grid);
  if (arguments.Has("--json")) {
    out << "{\"problems\": [";
    for (std::size_t i = 0; i < check.Problems.size(); ++i) {
      const TTerrainProblem& problem = check.Problems[i];
      out << (i > 0 ? ",\n  " : "\n  ") << "{\"kind\": \"" << ProblemKindWord(problem.Kind)
          << "\", \"text\": " << JsonText(problem.Text) << ", \"nodes\": " << JsonList(problem.Nodes)
          << ", \"polygons\": " << JsonList(problem.Polygons) << "}";
    }
    out << (check.Problems.empty() ? "" : "\n") << "], \"brushes\": " << check.Brushes
        << ", \"largestBrush\": " << check.LargestBrush
        << ", \"polygonsPerBrush\": " << JsonNumber(check.PolygonsPerBrush)
        << ", \"exportError\": " << JsonText(check.ExportError) << "}\n";
  } else {
    for (const std::string& line : TerrainCheckLines(check)) out << line << "\n";
  }
  return check.Problems.empty() && check.ExportError.empty() ? 0 : 1;
}

}  // namespace terravel::cli
