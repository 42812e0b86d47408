#pragma once
// Progress of a long shaping command and the way to stop it. The commands work out their change
// before they touch the document, so a stop leaves the document as it was.
#include <chrono>
#include <functional>

#include "model/core/Errors.h"

namespace terravel {

// Told (done, total) now and then; returns false to stop the work. Empty: nobody asks.
using TShapingProgress = std::function<bool(int done, int total)>;

class EShapingCancelled : public ETerravelError {
 public:
  EShapingCancelled() : ETerravelError("The command was cancelled.") {}
};

// Tells the progress at the 64th step and then at most every 50 ms, looking at the clock every 64
// steps, so that a Cancel answers at once and the telling costs nothing.
class TShapingTicker {
 public:
  explicit TShapingTicker(const TShapingProgress& progress) : progress_(progress) {}

  // One step of work; EShapingCancelled when the progress asks to stop.
  void Step(long long done, long long total) {
    if (!progress_ || (++steps_ & 63) != 0) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - last_ < std::chrono::milliseconds(50)) return;
    last_ = now;
    // Counts beyond an int are told in thousands.
    const bool large = total > 1'000'000'000LL;
    if (!progress_(static_cast<int>(large ? done / 1000 : done), static_cast<int>(large ? total / 1000 : total)))
      throw EShapingCancelled();
  }

 private:
  const TShapingProgress& progress_;
  unsigned steps_ = 0;
  std::chrono::steady_clock::time_point last_{};
};

}  // namespace terravel
