#include "model/shaping/SculptBrush.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "model/actions/ShapingActions.h"
#include "model/core/Errors.h"
#include "model/editor/Editor.h"
#include "model/shaping/ShapingScope.h"

namespace terravel {

double FalloffAt(TFalloff falloff, double distance, double radius) {
  if (distance > radius) return 0;
  const double t = distance / radius;
  switch (falloff) {
    case TFalloff::Smooth:
      return 1 - t * t * (3 - 2 * t);
    case TFalloff::Linear:
      return 1 - t;
    case TFalloff::Constant:
      break;
  }
  return 1;
}

TSculptStroke::TSculptStroke(TEditor& editor, const TSculptBrush& brush) : editor_(editor), brush_(brush) {
  if (!(brush.Radius > 0) || !std::isfinite(brush.Radius))
    throw ETerravelError("The radius must be above 0.");
  if (!(brush.Strength >= 0) || !std::isfinite(brush.Strength)) {
    throw ETerravelError("The strength must be 0 or more.");
  }
  chosen_ = ChosenNodes(editor);
  if (brush.Mode == TSculptMode::Smooth) adjacency_ = BuildAdjacency(editor);
  startZ_.resize(static_cast<std::size_t>(editor.Nodes.Count()));
  for (int i = 0; i < editor.Nodes.Count(); ++i) startZ_[static_cast<std::size_t>(i)] = editor.Nodes[i].Z;
  isTouched_.assign(startZ_.size(), false);
}

bool TSculptStroke::Dab(float x, float y) {
  const double radius = brush_.Radius;
  std::vector<std::pair<int, double>> under;  // node, weight
  const int count = std::min(editor_.Nodes.Count(), static_cast<int>(startZ_.size()));
  for (int i = 0; i < count; ++i) {
    if (!chosen_[static_cast<std::size_t>(i)]) continue;
    const T3DCoord& node = editor_.Nodes[i];
    const double dx = double(node.X) - x, dy = double(node.Y) - y;
    if (std::fabs(dx) > radius || std::fabs(dy) > radius) continue;
    const double weight = FalloffAt(brush_.Falloff, std::hypot(dx, dy), radius);
    if (weight > 0) under.emplace_back(i, weight);
  }
  if (brush_.Mode == TSculptMode::Flatten && !flattenSet_ && !under.empty()) {
    // The level of the stroke: the weighted mean height under its first dab.
    double sum = 0, weights = 0;
    for (const auto& [i, weight] : under) sum += weight * editor_.Nodes[i].Z, weights += weight;
    flattenZ_ = sum / weights;
    flattenSet_ = true;
  }
  std::vector<double> target(under.size());
  for (std::size_t k = 0; k < under.size(); ++k) {
    const auto at = static_cast<std::size_t>(under[k].first);
    const double z = editor_.Nodes[under[k].first].Z;
    double to = z;
    if (brush_.Mode == TSculptMode::Flatten) {
      to = flattenZ_;
    } else if (brush_.Mode == TSculptMode::Smooth && adjacency_.Degree(under[k].first) > 0) {
      double sum = 0;
      for (int j = adjacency_.Start[at]; j < adjacency_.Start[at + 1]; ++j) {
        sum += editor_.Nodes[adjacency_.Neighbours[static_cast<std::size_t>(j)]].Z;
      }
      to = sum / adjacency_.Degree(under[k].first);
    }
    target[k] = to;
  }
  bool changed = false;
  for (std::size_t k = 0; k < under.size(); ++k) {
    const auto [i, weight] = under[k];
    T3DCoord& node = editor_.Nodes[i];
    const double step = brush_.Strength * weight;
    double z = node.Z;
    switch (brush_.Mode) {
      case TSculptMode::Raise:
        z += step;
        break;
      case TSculptMode::Lower:
        z -= step;
        break;
      case TSculptMode::Smooth:
      case TSculptMode::Flatten:
        z += std::clamp(target[k] - z, -step, step);
        break;
    }
    const auto value = static_cast<float>(z);
    if (value == node.Z || !std::isfinite(value)) continue;
    node.Z = value;
    changed = true;
    if (!isTouched_[static_cast<std::size_t>(i)]) {
      isTouched_[static_cast<std::size_t>(i)] = true;
      touched_.push_back(i);
    }
  }
  if (changed) editor_.Host().SetModified(true);
  return changed;
}

void TSculptStroke::End() {
  TMeshEdit edit;
  std::sort(touched_.begin(), touched_.end());
  for (const int i : touched_) {
    if (i >= editor_.Nodes.Count()) continue;  // the list changed under the stroke
    T3DCoord& node = editor_.Nodes[i];
    const float start = startZ_[static_cast<std::size_t>(i)];
    if (node.Z != start) edit.Heights.push_back({i, node.Z});
    node.Z = start;  // the action applies the stroke again and keeps these for its undo
  }
  touched_.clear();
  std::fill(isTouched_.begin(), isTouched_.end(), false);
  if (edit.Empty()) return;
  const std::string description =
      "Sculpt " + FormatCount(static_cast<long long>(edit.Heights.size())) + " nodes";
  editor_.History.Perform(std::make_unique<TMeshEditAction>(editor_, description, std::move(edit)));
}

void TSculptStroke::Cancel() {
  for (const int i : touched_) {
    if (i < editor_.Nodes.Count()) editor_.Nodes[i].Z = startZ_[static_cast<std::size_t>(i)];
  }
  touched_.clear();
  std::fill(isTouched_.begin(), isTouched_.end(), false);
}

}  // namespace terravel
