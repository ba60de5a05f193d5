#include "imaging/painting_geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/rounding.h"

namespace ear {

std::int64_t RoundHalfEvenSaturated(double value) {
  if (std::isnan(value)) return 0;
  // 2^63 is the first double beyond the int64 range; its negation is the lowest value.
  constexpr double limit = 9223372036854775808.0;
  if (value >= limit) return std::numeric_limits<std::int64_t>::max();
  if (value <= -limit) return std::numeric_limits<std::int64_t>::min();
  return RoundHalfEven(value);
}

int ClampToInt(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

KeyedPlacement PlaceKeyedImage(std::uint32_t w, std::uint32_t h, int boxWidth, int boxHeight,
                               int askedLeft, int centringWidth) {
  KeyedPlacement p;
  // The probe rejects zero sizes; should one arrive anyway, nothing is drawn.
  if (w != 0 && h != 0) {
    const double sx = static_cast<double>(boxWidth) / w;
    const double sy = static_cast<double>(boxHeight) / h;
    p.scale = std::min(sx, sy);
    p.width = w * p.scale;
    p.height = h * p.scale;
  }
  if (askedLeft > 0) {
    p.left = askedLeft;
  } else {
    // The width lies within ±(2^32 − 1) × 2^31, so the difference fits in 64 bits.
    const std::int64_t room = std::int64_t{centringWidth} - RoundHalfEvenSaturated(p.width);
    p.left = RoundHalfEvenSaturated(static_cast<double>(room) / 2.0);
  }
  return p;
}

std::int64_t CenteredLeft(std::int64_t screenWidth, std::int64_t width) {
  // Both come from 32-bit values, so the difference fits in 64 bits.
  const std::int64_t room = screenWidth - width;
  return RoundHalfEvenSaturated(static_cast<double>(room) / 2.0);
}

}  // namespace ear
