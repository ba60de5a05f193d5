#pragma once
#include <cmath>
#include <cstdint>

namespace ear {

// Nearest integer, halves to the even neighbour (the layout rounding rule).
inline std::int64_t RoundHalfEven(double v) {
  const double f = std::floor(v);
  const double diff = v - f;
  std::int64_t r = static_cast<std::int64_t>(f);
  if (diff > 0.5 || (diff == 0.5 && (r % 2 != 0))) ++r;
  return r;
}

}  // namespace ear
