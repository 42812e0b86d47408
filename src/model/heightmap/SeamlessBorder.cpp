#include "model/heightmap/SeamlessBorder.h"

#include <algorithm>
#include <cmath>
#include <queue>

namespace terravel {

namespace {

// A stretch of the side between two chosen points and the pixel on it the line misses most.
struct TSegment {
  int From = 0;
  int To = 0;
  double Error = 0;
  int WorstAt = -1;  // none above the threshold

  // The queue's order: the larger error first, then the pixel nearer the side's start.
  bool operator<(const TSegment& other) const {
    if (Error != other.Error) return Error < other.Error;
    return WorstAt > other.WorstAt;
  }
};

TSegment MeasureSegment(const std::vector<float>& side, int from, int to, double noError) {
  TSegment segment{from, to, noError, -1};
  for (int i = from + 1; i < to; ++i) {
    const double line = side[std::size_t(from)] +
                        (double(side[std::size_t(to)]) - side[std::size_t(from)]) * double(i - from) / double(to - from);
    const double error = std::fabs(line - side[std::size_t(i)]);
    if (error > segment.Error) {
      segment.Error = error;
      segment.WorstAt = i;
    }
  }
  return segment;
}

}  // namespace

std::vector<int> ChooseSidePoints(const std::vector<float>& side, int limit, double noError) {
  std::vector<int> chosen;
  std::priority_queue<TSegment> queue;
  const auto consider = [&](int from, int to) {
    const TSegment segment = MeasureSegment(side, from, to, noError);
    if (segment.WorstAt >= 0) queue.push(segment);
  };
  consider(0, int(side.size()) - 1);
  while (int(chosen.size()) < limit && !queue.empty()) {
    const TSegment worst = queue.top();
    queue.pop();
    chosen.push_back(worst.WorstAt);
    consider(worst.From, worst.WorstAt);
    consider(worst.WorstAt, worst.To);
  }
  std::sort(chosen.begin(), chosen.end());
  return chosen;
}

}  // namespace terravel
