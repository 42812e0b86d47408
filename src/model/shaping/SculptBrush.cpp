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
  IndexChosen();
}

void TSculptStroke::IndexChosen() {
  // A node off the plane (a coordinate that is no finite number) is under no dab.
  for (int i = 0; i < editor_.Nodes.Count(); ++i) {
    const T3DCoord& node = editor_.Nodes[i];
    if (!std::isfinite(node.X) || !std::isfinite(node.Y)) chosen_[static_cast<std::size_t>(i)] = false;
  }
  double right = 0, top = 0;
  bool any = false;
  for (int i = 0; i < editor_.Nodes.Count(); ++i) {
    if (!chosen_[static_cast<std::size_t>(i)]) continue;
    const T3DCoord& node = editor_.Nodes[i];
    if (!any || node.X < left_) left_ = node.X;
    if (!any || node.Y < bottom_) bottom_ = node.Y;
    if (!any || node.X > right) right = node.X;
    if (!any || node.Y > top) top = node.Y;
    any = true;
  }
  // Cells of one radius, but no more than kMostCells a side.
  constexpr double kMostCells = 1024;
  cell_ = std::max({double(brush_.Radius), (right - left_) / kMostCells, (top - bottom_) / kMostCells});
  columns_ = any ? static_cast<int>((right - left_) / cell_) + 1 : 0;
  rows_ = any ? static_cast<int>((top - bottom_) / cell_) + 1 : 0;
  cellStart_.assign(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_) + 1, 0);
  const auto cellOf = [this](const T3DCoord& node) {
    const int column = std::min(columns_ - 1, static_cast<int>((node.X - left_) / cell_));
    const int row = std::min(rows_ - 1, static_cast<int>((node.Y - bottom_) / cell_));
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) +
           static_cast<std::size_t>(column);
  };
  for (int i = 0; i < editor_.Nodes.Count(); ++i) {
    if (chosen_[static_cast<std::size_t>(i)]) ++cellStart_[cellOf(editor_.Nodes[i]) + 1];
  }
  for (std::size_t c = 1; c < cellStart_.size(); ++c) cellStart_[c] += cellStart_[c - 1];
  cellNodes_.resize(static_cast<std::size_t>(cellStart_.back()));
  std::vector<int> next(cellStart_.begin(), cellStart_.end() - 1);
  for (int i = 0; i < editor_.Nodes.Count(); ++i) {
    if (chosen_[static_cast<std::size_t>(i)])
      cellNodes_[static_cast<std::size_t>(next[cellOf(editor_.Nodes[i])]++)] = i;
  }
}

bool TSculptStroke::MoveTo(float x, float y) {
  const double strength = brush_.Strength * kDabSpacing;
  if (!moved_) {
    moved_ = true;
    lastX_ = x, lastY_ = y, travel_ = 0;
    return DabWith(x, y, strength);
  }
  const double spacing = brush_.Radius * kDabSpacing;
  const double dx = x - lastX_, dy = y - lastY_;
  const double length = std::hypot(dx, dy);
  bool changed = false;
  double at = spacing - travel_;  // along this segment, where the next dab goes
  for (; at <= length; at += spacing) {
    if (DabWith(lastX_ + dx * at / length, lastY_ + dy * at / length, strength)) changed = true;
  }
  travel_ = length - (at - spacing);
  lastX_ = x, lastY_ = y;
  return changed;
}

bool TSculptStroke::Dab(float x, float y) {
  return DabWith(x, y, brush_.Strength);
}

bool TSculptStroke::DabWith(double x, double y, double strength) {
  if (!std::isfinite(x) || !std::isfinite(y)) return false;
  const double radius = brush_.Radius;
  // The chosen nodes in the cells the dab's square touches, in the order of the node list.
  std::vector<int> near;
  if (columns_ > 0) {
    const auto clampTo = [](double v, int most) {
      return static_cast<int>(std::clamp(v, 0.0, double(most)));
    };
    const int c0 = clampTo(std::floor((x - radius - left_) / cell_), columns_ - 1);
    const int c1 = clampTo(std::floor((x + radius - left_) / cell_), columns_ - 1);
    const int r0 = clampTo(std::floor((y - radius - bottom_) / cell_), rows_ - 1);
    const int r1 = clampTo(std::floor((y + radius - bottom_) / cell_), rows_ - 1);
    for (int r = r0; r <= r1; ++r) {
      const auto row = static_cast<std::size_t>(r) * static_cast<std::size_t>(columns_);
      near.insert(near.end(), cellNodes_.begin() + cellStart_[row + static_cast<std::size_t>(c0)],
                  cellNodes_.begin() + cellStart_[row + static_cast<std::size_t>(c1) + 1]);
    }
    std::sort(near.begin(), near.end());
  }
  std::vector<std::pair<int, double>> under;  // node, weight
  const int count = std::min(editor_.Nodes.Count(), static_cast<int>(startZ_.size()));
  for (const int i : near) {
    if (i >= count) continue;
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
    const double step = strength * weight;
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
