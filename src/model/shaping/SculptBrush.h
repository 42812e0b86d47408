#pragma once
// The sculpt brush: a stroke of dabs that raise, lower, smooth or flatten the heights of the nodes
// within a radius (in world units, X and Y) of the pointer, weighted by a falloff. While the stroke
// runs the nodes change at once, without history; its end records the whole stroke as one step
// ("Sculpt 12 nodes") whose undo gives back every height as it was at the press. Nodes outside
// the selection stay put when something is selected.
#include <vector>

#include "model/shaping/MeshAdjacency.h"

namespace terravel {

class TEditor;

enum class TSculptMode { Raise, Lower, Smooth, Flatten };
enum class TFalloff { Smooth, Linear, Constant };

struct TSculptBrush {
  TSculptMode Mode = TSculptMode::Raise;
  float Radius = 512;   // > 0
  float Strength = 16;  // the most one dab changes a height: at the centre, or everywhere (Constant)
  TFalloff Falloff = TFalloff::Smooth;
};

// The weight at a distance from the centre: 1 at the centre, 0 from the radius on; Constant is 1
// up to and including the radius.
double FalloffAt(TFalloff falloff, double distance, double radius);

class TSculptStroke {
 public:
  // A radius or strength out of range is an input error (ETerravelError).
  TSculptStroke(TEditor& editor, const TSculptBrush& brush);
  TSculptStroke(const TSculptStroke&) = delete;
  TSculptStroke& operator=(const TSculptStroke&) = delete;

  // One dab centred at the world point; true when a height changed (the project is then modified).
  bool Dab(float x, float y);
  // Records the stroke as one step in the history (nothing when no height changed).
  void End();
  // Puts every height back as it was at the press.
  void Cancel();

  int TouchedCount() const { return static_cast<int>(touched_.size()); }

 private:
  TEditor& editor_;
  TSculptBrush brush_;
  std::vector<bool> chosen_;
  TMeshAdjacency adjacency_;  // for smoothing
  std::vector<float> startZ_;
  std::vector<int> touched_;
  std::vector<bool> isTouched_;
  bool flattenSet_ = false;
  double flattenZ_ = 0;
};

}  // namespace terravel
