#include "model/shaping/HeightSmoothing.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "model/core/Errors.h"
#include "model/editor/Editor.h"
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
  const TMeshIndex& index = editor.Index;
  const int count = editor.Nodes.Count();

  std::vector<int> moving;
  for (int i = 0; i < count; ++i) {
    if (!chosen[static_cast<std::size_t>(i)] || index.OnBorder(i)) continue;
    const std::span<const int> around = index.NeighboursOf(i);
    if (!around.empty() && std::ranges::all_of(around, [&chosen](int n) { return chosen[static_cast<std::size_t>(n)]; }))
      moving.push_back(i);
  }

  std::vector<double> z(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) z[static_cast<std::size_t>(i)] = editor.Nodes[i].Z;
  std::vector<double> next(moving.size());
  TShapingTicker ticker(progress);
  const long long work = static_cast<long long>(options.Passes) * static_cast<long long>(moving.size());
  const auto height = [&z](int n) { return z[static_cast<std::size_t>(n)]; };
  for (int pass = 0; pass < options.Passes; ++pass) {
    for (std::size_t m = 0; m < moving.size(); ++m) {
      ticker.Step(static_cast<long long>(pass) * static_cast<long long>(moving.size()) + static_cast<long long>(m), work);
      const auto at = static_cast<std::size_t>(moving[m]);
      const double mean = index.NeighbourMean(moving[m], height);
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
