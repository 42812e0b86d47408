#pragma once
// The sculpt brush: a stroke of dabs that raise, lower, smooth or flatten the heights of the nodes
// within a radius (in world units, X and Y) of the pointer, weighted by a falloff. The stroke is a
// transaction of the history and every dab one action inside it, so the nodes change at once and
// the windows follow; its end commits the whole stroke as one step ("Sculpt 12 nodes") whose undo
// gives back every height as it was at the press. An undo in the middle of the stroke commits it
// and takes it back; the dabs after that change nothing. Nodes outside the selection stay put when
// something is selected.
//
// A stroke follows the path of the pointer, not the rate of its events: MoveTo places dabs along
// the straight line from the last point at a fixed spacing (a fraction of the radius), carrying
// the rest of the distance over to the next move, so the same path drawn fast or slow gives the
// same heights.
#include <string>
#include <vector>


namespace terravel {

class TEditor;

enum class TSculptMode { Raise, Lower, Smooth, Flatten };
enum class TFalloff { Smooth, Linear, Constant };

// The distance between two dabs along a stroke's path, as a fraction of the radius.
inline constexpr double kDabSpacing = 0.1;

struct TSculptBrush {
  TSculptMode Mode = TSculptMode::Raise;
  float Radius = 512;   // > 0
  // The most a pass of the brush's centre changes a height over a path of one radius; each dab of a
  // stroke's path changes a height by at most kDabSpacing times this.
  float Strength = 16;
  TFalloff Falloff = TFalloff::Smooth;
};

// The ranges the brush panel and the brush keys keep to (a stroke itself takes any radius above 0).
inline constexpr float kMinBrushRadius = 1;
inline constexpr float kMaxBrushRadius = 1e6f;
inline constexpr float kMaxBrushStrength = 1e5f;

// One press of the radius keys: a quarter larger or a fifth smaller, in whole units and by at least
// one, within the range.
float StepRadius(float radius, bool larger);
// One press of the strength keys: the same in tenths, between 0 and the maximum.
float StepStrength(float strength, bool stronger);
// The mode a stroke with Ctrl held works in: Raise and Lower swap; Smooth and Flatten have no
// opposite and stay.
TSculptMode Inverted(TSculptMode mode);

// The weight at a distance from the centre: 1 at the centre, 0 from the radius on; Constant is 1
// up to and including the radius.
double FalloffAt(TFalloff falloff, double distance, double radius);

class TSculptStroke {
 public:
  // A radius or strength out of range is an input error (ETerravelError).
  TSculptStroke(TEditor& editor, const TSculptBrush& brush);
  TSculptStroke(const TSculptStroke&) = delete;
  TSculptStroke& operator=(const TSculptStroke&) = delete;
  // A stroke neither ended nor cancelled is taken back.
  ~TSculptStroke();

  // One dab of the full strength centred at the world point; true when a height changed (the
  // project is then modified).
  bool Dab(float x, float y);
  // Moves the brush along the path to the world point: the first move dabs there, each later one
  // at every kDabSpacing radius of path since the last dab, with kDabSpacing of the strength.
  // True when a height changed.
  bool MoveTo(float x, float y);
  // From now on the stroke raises where its brush lowers and the other way round (see Inverted).
  void SetInverted(bool inverted) { inverted_ = inverted; }
  // Commits the stroke as one step in the history (nothing when no height changed).
  void End();
  // Takes the stroke back: every height as it was at the press.
  void Cancel();
  // The stroke's transaction is still open (no undo, new project or end came in between).
  bool Open() const;

  int TouchedCount() const { return static_cast<int>(touched_.size()); }

 private:
  TEditor& editor_;
  TSculptBrush brush_;
  std::string Description() const;
  bool DabWith(double x, double y, double strength);
  std::vector<bool> chosen_;
  long long transaction_ = 0;
  bool moved_ = false;
  bool inverted_ = false;
  double lastX_ = 0, lastY_ = 0;  // where the last dab of the path was
  double travel_ = 0;             // path since the last dab
  std::vector<int> touched_;      // in the order of their first change
  std::vector<float> startZ_;     // of each touched node, at its first change
  std::vector<bool> isTouched_;
  bool flattenSet_ = false;
  double flattenZ_ = 0;
};

}  // namespace terravel
