#pragma once
// Ground and sky polygons: the winding of the corners in world X and Y (Y grows downwards).
#include <string_view>

#include "model/document/Records.h"

namespace terravel {

// The sum over the edges 1->2, 2->3, 3->1 of (x_to - x_from) * (y_to + y_from), from the stored X
// and Y in single precision: the viewport's labels and the add-polygon command decide with the
// same number. Each step is its own statement so that no compiler fuses a product with the
// following addition or keeps it wider.
// Any point with float X and Y will do.
template <typename Point>
inline float SingleOrientationSum(const Point& n1, const Point& n2, const Point& n3) {
  const auto term = [](const Point& from, const Point& to) {
    const float dx = to.X - from.X;
    const float sy = to.Y + from.Y;
    const float product = dx * sy;
    return product;
  };
  const float t12 = term(n1, n2);
  const float t23 = term(n2, n3);
  const float t31 = term(n3, n1);
  const float sum = t12 + t23;
  return sum + t31;
}

// A sum >= 0 is ground (three corners on one line included), a negative sum is sky.
inline bool IsGround(const T3DCoord& n1, const T3DCoord& n2, const T3DCoord& n3) {
  return SingleOrientationSum(n1, n2, n3) >= 0;
}

// The word of the texture label: "ground" or "sky".
inline std::string_view OrientationWord(bool ground) {
  return ground ? "ground" : "sky";
}

}  // namespace terravel
