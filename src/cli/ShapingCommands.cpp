#include "cli/ShapingCommands.h"

#include <charconv>
#include <string>

#include "cli/Arguments.h"
#include "model/actions/Requests.h"
#include "model/core/Errors.h"
#include "model/editor/Editor.h"
#include "model/project/OpenProject.h"
#include "model/projectfile/ProjectFile.h"
#include "model/shaping/ConstrainedTriangulation.h"
#include "model/shaping/EdgeCollapse.h"
#include "model/shaping/HeightSmoothing.h"
#include "model/text/NumberText.h"

namespace terravel::cli {

namespace {

int ParseCount(const std::string& option, const std::string& text) {
  int value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) {
    throw EUsageError(option + " takes a whole number, not \"" + text + "\"");
  }
  return value;
}

}  // namespace

int RunTriangulate(const std::vector<std::string>& words, std::ostream& out) {
  const TArguments arguments = ParseArguments(words, {"--max-edge"}, {"--sky"});
  ExpectPositional(arguments, 2);
  TTriangulateOptions options;
  options.Sky = arguments.Has("--sky");
  if (auto maxEdge = arguments.Value("--max-edge")) options.MaxEdge = ParseOptionNumber("--max-edge", *maxEdge);
  if (!(options.MaxEdge >= 0)) throw EUsageError("--max-edge takes a length of 0 (no limit) or more");
  TEditor editor;
  OpenProject(editor, arguments.Positional[0]);
  const TTriangulateResult result = DoTriangulate(editor, options);
  SaveProjectFile(editor, arguments.Positional[1]);
  const std::string leftOut = LeftOutReport(result, options.Sky);
  out << "Added " << result.Added << " polygons; " << (leftOut.empty() ? "" : leftOut + "; ") << "wrote "
      << arguments.Positional[1] << "\n";
  return 0;
}

int RunSimplify(const std::vector<std::string>& words, std::ostream& out) {
  const TArguments arguments = ParseArguments(words, {"--max-triangles", "--max-error"}, {});
  ExpectPositional(arguments, 2);
  const auto triangles = arguments.Value("--max-triangles");
  const auto error = arguments.Value("--max-error");
  if (triangles.has_value() == error.has_value())
    throw EUsageError("give one of --max-triangles and --max-error");
  TSimplifyOptions options;
  if (triangles) {
    options.MaxTriangles = ParseCount("--max-triangles", *triangles);
    if (options.MaxTriangles < 1) throw EUsageError("--max-triangles takes a number of 1 or more");
  } else {
    options.MaxError = ParseOptionNumber("--max-error", *error);
    if (!(options.MaxError >= 0)) throw EUsageError("--max-error takes a height of 0 or more");
  }
  TEditor editor;
  OpenProject(editor, arguments.Positional[0]);
  const TSimplifyResult result = DoSimplify(editor, options);
  SaveProjectFile(editor, arguments.Positional[1]);
  out << "Simplified " << result.PolygonsBefore << " polygons to " << result.PolygonsAfter
      << "; maximum height error " << FormatGeneral(result.MaxError) << "; wrote " << arguments.Positional[1]
      << "\n";
  // The file is written all the same: it is as near the budget as the fixed edges allow.
  if (result.Budget > 0 && result.PolygonsAfter > result.Budget) {
    throw ETerravelError("Simplified " + std::to_string(result.PolygonsBefore) + " polygons to " +
                         std::to_string(result.PolygonsAfter) + ", not " + std::to_string(result.Budget) +
                         ": the outline and the edges between groups or textures keep " +
                         std::to_string(result.PolygonsAfter));
  }
  return 0;
}

int RunSmooth(const std::vector<std::string>& words, std::ostream& out) {
  const TArguments arguments = ParseArguments(words, {"--passes", "--strength"}, {});
  ExpectPositional(arguments, 2);
  TSmoothOptions options;
  if (auto passes = arguments.Value("--passes")) options.Passes = ParseCount("--passes", *passes);
  if (auto strength = arguments.Value("--strength")) options.Strength = ParseOptionNumber("--strength", *strength);
  if (options.Passes < 1 || options.Passes > kMaxSmoothPasses) {
    throw EUsageError("--passes takes a number from 1 to " + std::to_string(kMaxSmoothPasses));
  }
  if (!(options.Strength > 0 && options.Strength <= 1))
    throw EUsageError("--strength takes a number above 0, at most 1");
  TEditor editor;
  OpenProject(editor, arguments.Positional[0]);
  const int changed = DoSmoothHeights(editor, options);
  SaveProjectFile(editor, arguments.Positional[1]);
  out << "Smoothed " << changed << " nodes; wrote " << arguments.Positional[1] << "\n";
  return 0;
}

}  // namespace terravel::cli
