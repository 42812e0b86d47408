#pragma once
// The sculpt brush: a stroke of dabs that raise, lower, smooth or flatten the heights of the nodes
// within a radius (in world units, X and Y) of the pointer, weighted by a falloff. While the stroke
// runs the nodes change at once, without history; its end records the whole stroke as one step
// ("Sculpt 12 nodes") whose undo gives back every height as it was at the press. Nodes outside
// the selection stay put when something is selected.
//
// A stroke follows the path of the pointer, not the rate of its events: MoveTo places dabs along
// the straight line from the last point at a fixed spacing (a fraction of the radius), carrying
// the rest of the distance over to the next move, so the same path drawn fast or slow gives the
// same heights.
#include <vector>

#include "model/shaping/MeshAdjacency.h"

namespace terravel {

class TEditor;

enum class TSculptMode { Raise, Lower, Smooth, Flatten };
enum class TFalloff { Smooth, Linear, Constant };

// The distance between two dabs along a stroke's path, as a fraction of the radius.
inline constexpr double kDabSpacing = 0.1;

struct TSculptBrush {
  TSculptMode Mode = TSculptMode::Raise;
  float Radius = 512;  // > 0
  // The most a pass of the brush's centre changes a height over a path of one radius; each dab of a
  // stroke's path changes a height by at most kDabSpacing times this.
  float Strength = 16;
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

  // One dab of the full strength centred at the world point; true when a height changed (the
  // project is then modified).
  bool Dab(float x, float y);
  // Moves the brush along the path to the world point: the first move dabs there, each later one
  // at every kDabSpacing radius of path since the last dab, with kDabSpacing of the strength.
  // True when a height changed.
  bool MoveTo(float x, float y);
  // Records the stroke as one step in the history (nothing when no height changed).
  void End();
  // Puts every height back as it was at the press.
  void Cancel();

  int TouchedCount() const { return static_cast<int>(touched_.size()); }

 private:
  void IndexChosen();
  bool DabWith(double x, double y, double strength);

  TEditor& editor_;
  TSculptBrush brush_;
  std::vector<bool> chosen_;
  // The chosen nodes by square cells of one radius, for the dabs to find those under them.
  std::vector<int> cellStart_, cellNodes_;
  int columns_ = 0, rows_ = 0;
  double left_ = 0, bottom_ = 0, cell_ = 1;
  bool moved_ = false;
  double lastX_ = 0, lastY_ = 0;  // where the last dab of the path was
  double travel_ = 0;             // path since the last dab
  TMeshAdjacency adjacency_;      // for smoothing
  std::vector<float> startZ_;
  std::vector<int> touched_;
  std::vector<bool> isTouched_;
  bool flattenSet_ = false;
  double flattenZ_ = 0;
};

}  // namespace terravel
