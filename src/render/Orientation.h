#pragma once
// Ground and sky polygons: the winding of the corners in world X and Y (Y grows downwards).
#include <string_view>

#include "model/document/Records.h"

namespace terravel {

// The sum over the edges 1->2, 2->3, 3->1 of (x_to - x_from) * (y_to + y_from), from the stored X
// and Y and formed in extended precision.
inline long double OrientationSum(const T3DCoord& n1, const T3DCoord& n2, const T3DCoord& n3) {
  using Extended = long double;
  const auto term = [](const T3DCoord& from, const T3DCoord& to) {
    return (Extended(to.X) - from.X) * (Extended(to.Y) + from.Y);
  };
  return term(n1, n2) + term(n2, n3) + term(n3, n1);
}

// A sum >= 0 is ground (three corners on one line included), a negative sum is sky.
inline bool IsGround(const T3DCoord& n1, const T3DCoord& n2, const T3DCoord& n3) {
  return OrientationSum(n1, n2, n3) >= 0;
}

// The word of the texture label: "ground" or "sky".
inline std::string_view OrientationWord(bool ground) {
  return ground ? "ground" : "sky";
}

}  // namespace terravel
