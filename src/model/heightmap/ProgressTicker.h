#pragma once
// Telling the progress of a long build often enough for a Cancel to answer at once, and seldom
// enough to cost nothing: at most every 50 ms, looking at the clock every 64 steps.
#include <chrono>

#include "model/heightmap/HeightmapErrors.h"
#include "model/heightmap/TerrainMesh.h"

namespace terravel {

class TProgressTicker {
 public:
  explicit TProgressTicker(const THeightmapProgress& progress) : progress_(progress) {}

  // One step of work; EHeightmapCancelled when the progress asks to stop.
  void Step(int done, int total) {
    if (!progress_ || (++steps_ & 63) != 0) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - last_ < std::chrono::milliseconds(50)) return;
    last_ = now;
    Tell(done, total);
  }

  // Tells the progress now, whatever the time since the last.
  void Tell(int done, int total) {
    if (progress_ && !progress_(done, total)) throw EHeightmapCancelled();
  }

 private:
  const THeightmapProgress& progress_;
  unsigned steps_ = 0;
  std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

}  // namespace terravel
