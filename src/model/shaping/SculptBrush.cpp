#include "model/shaping/SculptBrush.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "model/actions/LiveActions.h"
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

namespace {

// A quarter more or a fifth less, rounded to the unit, at least one unit away, within the range.
float StepBy(float value, bool up, double unit, double low, double high) {
  const double scaled = std::round(double(value) * (up ? 1.25 : 0.8) / unit) * unit;
  const double next = up ? std::max(scaled, value + unit) : std::min(scaled, value - unit);
  return static_cast<float>(std::clamp(next, low, high));
}

}  // namespace

float StepRadius(float radius, bool larger) {
  return StepBy(radius, larger, 1, kMinBrushRadius, kMaxBrushRadius);
}

float StepStrength(float strength, bool stronger) {
  return StepBy(strength, stronger, 0.1, 0, kMaxBrushStrength);
}

TSculptMode Inverted(TSculptMode mode) {
  switch (mode) {
    case TSculptMode::Raise:
      return TSculptMode::Lower;
    case TSculptMode::Lower:
      return TSculptMode::Raise;
    case TSculptMode::Smooth:
    case TSculptMode::Flatten:
      break;
  }
  return mode;
}

TSculptStroke::TSculptStroke(TEditor& editor, const TSculptBrush& brush) : editor_(editor), brush_(brush) {
  if (!(brush.Radius > 0) || !std::isfinite(brush.Radius))
    throw ETerravelError("The radius must be above 0.");
  if (!(brush.Strength >= 0) || !std::isfinite(brush.Strength)) {
    throw ETerravelError("The strength must be 0 or more.");
  }
  chosen_ = ChosenNodes(editor);
  isTouched_.assign(chosen_.size(), false);
  transaction_ = editor.History.Begin("Sculpt");
}

TSculptStroke::~TSculptStroke() {
  try {
    Cancel();
  } catch (...) {  // NOLINT(bugprone-empty-catch): a destructor reports nothing
  }
}

bool TSculptStroke::Open() const {
  return editor_.History.InTransaction(transaction_);
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
  if (!Open() || !std::isfinite(x) || !std::isfinite(y)) return false;
  const double radius = brush_.Radius;
  std::vector<std::pair<int, double>> under;  // node, weight
  const int count = std::min(editor_.Nodes.Count(), static_cast<int>(chosen_.size()));
  for (const int i : editor_.Index.NodesNear(x, y, radius)) {
    if (i >= count || !chosen_[static_cast<std::size_t>(i)]) continue;
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
    const double z = editor_.Nodes[under[k].first].Z;
    double to = z;
    if (brush_.Mode == TSculptMode::Flatten) {
      to = flattenZ_;
    } else if (brush_.Mode == TSculptMode::Smooth && !editor_.Index.NeighboursOf(under[k].first).empty()) {
      to = editor_.Index.NeighbourMean(under[k].first, [this](int n) { return double(editor_.Nodes[n].Z); });
    }
    target[k] = to;
  }
  std::vector<THeightEntry> heights;
  for (std::size_t k = 0; k < under.size(); ++k) {
    const auto [i, weight] = under[k];
    const float old = editor_.Nodes[i].Z;
    const double step = strength * weight;
    double z = old;
    switch (inverted_ ? Inverted(brush_.Mode) : brush_.Mode) {
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
    if (value == old || !std::isfinite(value)) continue;
    heights.push_back({i, value});
    if (!isTouched_[static_cast<std::size_t>(i)]) {
      isTouched_[static_cast<std::size_t>(i)] = true;
      touched_.push_back(i);
      startZ_.push_back(old);
    }
  }
  if (heights.empty()) return false;
  // The count so far; the end counts the nodes that differ from the press.
  editor_.History.Describe("Sculpt " + FormatCount(static_cast<long long>(touched_.size())) + " nodes");
  editor_.History.Perform(std::make_unique<TSetHeightsAction>(editor_, std::move(heights)));
  return true;
}

std::string TSculptStroke::Description() const {
  // The nodes whose height differs from the press.
  long long changed = 0;
  for (std::size_t k = 0; k < touched_.size(); ++k) {
    const int i = touched_[k];
    if (i < editor_.Nodes.Count() && editor_.Nodes[i].Z != startZ_[k]) ++changed;
  }
  return "Sculpt " + FormatCount(changed) + " nodes";
}

void TSculptStroke::End() {
  if (!Open()) return;
  editor_.History.Describe(Description());
  editor_.History.Commit();
}

void TSculptStroke::Cancel() {
  if (Open()) editor_.History.Rollback();
}

}  // namespace terravel
