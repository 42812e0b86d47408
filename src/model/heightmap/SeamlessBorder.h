#pragma once
// The border of a tile that must meet its neighbours: each side of the picture is thinned on its
// own, from its pixels alone, so that two tiles cut from one heightmap and built with the same
// budget put the same points on the side they share.
#include <vector>

namespace terravel {

// Up to `limit` positions strictly between the ends of one side, ascending: the pixel where the
// line through the points chosen so far misses the side most is chosen next (the first of equals),
// until none misses it by more than `noError`.
std::vector<int> ChooseSidePoints(const std::vector<float>& side, int limit, double noError);

}  // namespace terravel
