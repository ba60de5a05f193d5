#pragma once
// Test model of the rounded window region: where CreateRoundRectRgn(0, 0, width, height,
// ellipse, ellipse) puts a pixel, for checking real regions pixel by pixel.
#include <algorithm>
#include <cmath>

namespace ear::testing_model {

// The system leaves out the last column and row: the region is a (width − 1) × (height − 1)
// rectangle whose corners are cut by quarters of the ellipse. Border is within half a pixel of
// a corner's curve, where rasterisers may differ.
enum class RegionPlace { Inside, Outside, Border };

inline RegionPlace PlaceInRoundedRect(int x, int y, int regionWidth, int regionHeight, int ellipse) {
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

}  // namespace ear::testing_model
