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

std::int64_t CenteredLeft(int screenWidth, std::uint32_t pictureWidth) {
  const std::int64_t room = std::int64_t{screenWidth} - std::int64_t{pictureWidth};
  return RoundHalfEvenSaturated(static_cast<double>(room) / 2.0);
}

RegionPlace PlaceInRoundedRect(int x, int y, int regionWidth, int regionHeight, int ellipse) {
  const int width = regionWidth - 1;
  const int height = regionHeight - 1;
  if (x < 0 || y < 0 || x >= width || y >= height) return RegionPlace::Outside;
  // The system shrinks an ellipse larger than the rectangle to the rectangle's size.
  const double rx = std::min(ellipse, width) / 2.0;
  const double ry = std::min(ellipse, height) / 2.0;
  if (rx <= 0 || ry <= 0) return RegionPlace::Inside;
  const double px = x + 0.5;
  const double py = y + 0.5;
  const double cx = px < rx ? rx : (px > width - rx ? width - rx : px);
  const double cy = py < ry ? ry : (py > height - ry ? height - ry : py);
  if (cx == px || cy == py) return RegionPlace::Inside;
  const double dx = (px - cx) / rx;
  const double dy = (py - cy) / ry;
  // Distance from the curve in pixels, measured along the ellipse's normalised radius.
  const double off = (std::sqrt(dx * dx + dy * dy) - 1.0) * std::min(rx, ry);
  if (off >= 0.5) return RegionPlace::Outside;
  if (off <= -0.5) return RegionPlace::Inside;
  return RegionPlace::Border;
}

}  // namespace ear
