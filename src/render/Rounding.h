#pragma once
// Round: to nearest, halves to the even neighbour (the default rounding mode). rint gives the same
// values as nearbyint without saving and restoring the floating-point state on every call.
#include <cmath>

namespace terravel {

inline long double RoundHalfEven(long double value) {
  return std::rint(value);
}
inline double RoundHalfEven(double value) {
  return std::rint(value);
}

}  // namespace terravel
