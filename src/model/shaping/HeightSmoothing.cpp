#include "model/shaping/HeightSmoothing.h"

#include <cmath>

#include "model/core/Errors.h"
#include "model/editor/Editor.h"
#include "model/shaping/MeshAdjacency.h"
#include "model/shaping/ShapingScope.h"

namespace terravel {

TMeshEdit SmoothHeights(const TEditor& editor, const TSmoothOptions& options, const TShapingProgress& progress) {
  if (options.Passes < 1 || options.Passes > kMaxSmoothPasses) {
    throw ETerravelError("The number of passes must be from 1 to " + std::to_string(kMaxSmoothPasses) + ".");
  }
  if (!(options.Strength > 0 && options.Strength <= 1)) {
    throw ETerravelError("The strength must be greater than 0 and at most 1.");
  }
  const std::vector<bool> chosen = ChosenNodes(editor);
  const TMeshAdjacency adjacency = BuildAdjacency(editor);
  const int count = editor.Nodes.Count();

  std::vector<int> moving;
  for (int i = 0; i < count; ++i) {
    const auto at = static_cast<std::size_t>(i);
    if (!chosen[at] || adjacency.OnBorder[at] || adjacency.Degree(i) == 0) continue;
    bool inside = true;
    for (int k = adjacency.Start[at]; k < adjacency.Start[at + 1] && inside; ++k) {
      inside = chosen[static_cast<std::size_t>(adjacency.Neighbours[static_cast<std::size_t>(k)])];
    }
    if (inside) moving.push_back(i);
  }

  std::vector<double> z(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) z[static_cast<std::size_t>(i)] = editor.Nodes[i].Z;
  std::vector<double> next(moving.size());
  TShapingTicker ticker(progress);
  const long long work = static_cast<long long>(options.Passes) * static_cast<long long>(moving.size());
  for (int pass = 0; pass < options.Passes; ++pass) {
    for (std::size_t m = 0; m < moving.size(); ++m) {
      ticker.Step(static_cast<long long>(pass) * static_cast<long long>(moving.size()) + static_cast<long long>(m), work);
      const auto at = static_cast<std::size_t>(moving[m]);
      double sum = 0;
      for (int k = adjacency.Start[at]; k < adjacency.Start[at + 1]; ++k) {
        sum += z[static_cast<std::size_t>(adjacency.Neighbours[static_cast<std::size_t>(k)])];
      }
      const double mean = sum / adjacency.Degree(moving[m]);
      next[m] = z[at] + options.Strength * (mean - z[at]);
    }
    for (std::size_t m = 0; m < moving.size(); ++m) z[static_cast<std::size_t>(moving[m])] = next[m];
  }

  TMeshEdit edit;
  for (const int i : moving) {
    const auto value = static_cast<float>(z[static_cast<std::size_t>(i)]);
    if (std::isfinite(value) && value != editor.Nodes[i].Z) edit.Heights.push_back({i, value});
  }
  return edit;
}

}  // namespace terravel
