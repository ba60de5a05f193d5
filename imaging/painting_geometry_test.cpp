#include "imaging/painting_geometry.h"

#include <gtest/gtest.h>

#include "imaging/rounded_region_model_test.h"

#include <cmath>
#include <limits>

namespace ear {
namespace {

constexpr int kIntMax = std::numeric_limits<int>::max();
constexpr int kIntMin = std::numeric_limits<int>::min();
constexpr std::int64_t kInt64Max = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kInt64Min = std::numeric_limits<std::int64_t>::min();

TEST(PlaceKeyedImage, FitsIntoTheBoxAndCentresOrTakesTheAskedLeft) {
  struct Case {
    const char* what;
    std::uint32_t w, h;
    int boxWidth, boxHeight, askedLeft, centringWidth;
    double scale, width, height;
    std::int64_t left;
  };
  const Case cases[] = {
      {"height limits, centred: 238.5 -> 238", 100, 10, 219, 17, 0, 647, 1.7, 170, 17, 238},
      {"exact size is unscaled", 219, 17, 219, 17, 0, 647, 1, 219, 17, 214},
      {"same proportions fill the box", 438, 34, 219, 17, 0, 647, 0.5, 219, 17, 214},
      {"width limits, scaled up", 20, 10, 100, 500, 0, 300, 5, 100, 50, 100},
      {"asked left 1 is used, centring width ignored", 100, 10, 219, 17, 1, 647, 1.7, 170, 17, 1},
      {"asked left 0 centres", 100, 10, 219, 17, 0, 647, 1.7, 170, 17, 238},
      {"asked left -1 centres", 100, 10, 219, 17, -1, 647, 1.7, 170, 17, 238},
      {"asked left 300 lies outside the centring width", 100, 10, 219, 17, 300, 100, 1.7, 170, 17, 300},
      {"wider than the centring width: negative", 860, 10, 860, 10, 0, 640, 1, 860, 10, -110},
      {"273.5 -> 274", 100, 10, 100, 10, 0, 647, 1, 100, 10, 274},
      {"272.5 -> 272", 100, 10, 100, 10, 0, 645, 1, 100, 10, 272},
      // 170.5 is rounded to 170 before the subtraction: (649 - 170) / 2 = 239.5 -> 240,
      // where the unrounded width would give 239.25 -> 239.
      {"drawn width rounded before centring", 341, 2, 1000, 1, 0, 649, 0.5, 170.5, 1, 240},
      {"zero width draws nothing, centre of the width", 0, 10, 219, 17, 0, 647, 0, 0, 0, 324},
      {"zero height draws nothing", 10, 0, 219, 17, 0, 646, 0, 0, 0, 323},
      {"zero box", 100, 10, 0, 0, 0, 647, 0, 0, 0, 324},
  };
  for (const auto& c : cases) {
    const KeyedPlacement p = PlaceKeyedImage(c.w, c.h, c.boxWidth, c.boxHeight, c.askedLeft,
                                             c.centringWidth);
    EXPECT_DOUBLE_EQ(p.scale, c.scale) << c.what;
    EXPECT_DOUBLE_EQ(p.width, c.width) << c.what;
    EXPECT_DOUBLE_EQ(p.height, c.height) << c.what;
    EXPECT_EQ(p.left, c.left) << c.what;
  }
}

TEST(PlaceKeyedImage, ExtremeSizesStayDefined) {
  // A 4294967295-pixel-wide picture shrinks to the box width.
  KeyedPlacement p = PlaceKeyedImage(4294967295u, 1, 219, 17, 0, 647);
  EXPECT_NEAR(p.width, 219, 1e-6);
  EXPECT_NEAR(p.height, 219.0 / 4294967295.0, 1e-15);
  EXPECT_EQ(p.left, 214);

  // (INT_MIN - INT_MAX) / 2 = -2147483647.5 -> -2147483648, below what a control can take.
  p = PlaceKeyedImage(1, 1, kIntMax, kIntMax, 0, kIntMin);
  EXPECT_DOUBLE_EQ(p.width, kIntMax);
  EXPECT_EQ(p.left, -2147483648LL);
  EXPECT_EQ(ClampToInt(p.left), kIntMin);

  // A negative box height scales by -2^31: width -(2^32 - 1) * 2^31; the difference is
  // 2^63 - 1, which as a double is 2^63, halved 2^62.
  p = PlaceKeyedImage(4294967295u, 1, kIntMax, kIntMin, 0, kIntMax);
  EXPECT_DOUBLE_EQ(p.width, -4294967295.0 * 2147483648.0);
  EXPECT_EQ(p.left, 4611686018427387904LL);
  EXPECT_EQ(ClampToInt(p.left), kIntMax);
}

TEST(CenteredLeft, HalvesTheRoomInSigned64Bits) {
  struct Case { int screenWidth; std::int64_t pictureWidth; std::int64_t left; };
  const Case cases[] = {
      // The title's exam name label.
      {647, 0, 324},    // empty exam name: 323.5 goes to 324
      {647, 2, 322},    // 322.5 goes to 322
      {647, 1, 323},
      {647, 441, 103},
      {647, 439, 104},
      {646, 1, 322},    // 322.5
      {646, 3, 322},    // 321.5
      {647, 700, -26},  // -26.5: a label wider than the screen starts left of it
      {647, 702, -28},  // -27.5
      // Pictures, whose widths are 32 bits without a sign.
      {640, 860, -110},
      {647, 100, 274},  // 273.5
      {645, 100, 272},  // 272.5
      {640, 640, 0},
      {640, 0, 320},
      {640, 4294967295u, -2147483328LL},  // -2147483327.5, even neighbour
      {kIntMin, 4294967295u, -3221225472LL},  // (-2^31 - 2^32 + 1) / 2 = -3221225471.5
  };
  for (const auto& c : cases)
    EXPECT_EQ(CenteredLeft(c.screenWidth, c.pictureWidth), c.left)
        << c.screenWidth << " " << c.pictureWidth;
}

TEST(RoundHalfEvenSaturated, SaturatesInsteadOfOverflowing) {
  struct Case { double value; std::int64_t expected; };
  const Case cases[] = {
      {238.5, 238},
      {-110.0, -110},
      {std::nan(""), 0},
      {INFINITY, kInt64Max},
      {-INFINITY, kInt64Min},
      {1e300, kInt64Max},
      {-1e300, kInt64Min},
      {9223372036854775808.0, kInt64Max},
      {-9223372036854775808.0, kInt64Min},
      {4611686018427387904.0, 4611686018427387904LL},
  };
  for (const auto& c : cases) EXPECT_EQ(RoundHalfEvenSaturated(c.value), c.expected) << c.value;

  struct IntCase { std::int64_t value; int expected; };
  const IntCase ints[] = {{-110, -110}, {3000000000LL, kIntMax}, {-3000000000LL, kIntMin},
                          {kIntMax, kIntMax}, {kIntMin, kIntMin}};
  for (const auto& c : ints) EXPECT_EQ(ClampToInt(c.value), c.expected) << c.value;
}

TEST(PlaceInRoundedRect, CornersAreCutByQuarterEllipses) {
  using testing_model::PlaceInRoundedRect;
  using testing_model::RegionPlace;
  using enum RegionPlace;
  struct Case { int x, y, width, height; RegionPlace expected; int ellipse = 20; };
  const Case cases[] = {
      // The 647 x 501 wizard window: the four corner pixels are cut off.
      {0, 0, 647, 501, Outside},
      {645, 0, 647, 501, Outside},
      {0, 499, 647, 501, Outside},
      {645, 499, 647, 501, Outside},
      // Centre and edge midpoints; the last column and row lie outside.
      {323, 250, 647, 501, Inside},
      {323, 0, 647, 501, Inside},
      {0, 250, 647, 501, Inside},
      {645, 250, 647, 501, Inside},
      {323, 499, 647, 501, Inside},
      {646, 250, 647, 501, Outside},
      {323, 500, 647, 501, Outside},
      {-1, 250, 647, 501, Outside},
      {323, -1, 647, 501, Outside},
      // Diagonal of the top-left corner: pixel centres 12.02, 10.61 and 9.19 from (10, 10).
      {1, 1, 647, 501, Outside},
      {2, 2, 647, 501, Outside},
      {3, 3, 647, 501, Inside},
      // The bottom-right corner mirrors it about (636, 490).
      {644, 498, 647, 501, Outside},
      {643, 497, 647, 501, Outside},
      {642, 496, 647, 501, Inside},
      // Within half a pixel of the curve: 9.82 and 9.51 from the centre.
      {7, 0, 647, 501, Border},
      {9, 0, 647, 501, Border},
      {0, 5, 647, 501, Outside},  // 10.51
      // Just past the corner squares the edges are straight.
      {10, 0, 647, 501, Inside},
      {0, 10, 647, 501, Inside},
      // An ellipse larger than the region shrinks to it.
      {5, 3, 10, 6, Inside},
      {0, 0, 40, 40, Outside},
      {20, 20, 40, 40, Inside},
      // No rounding at all.
      {0, 0, 30, 30, Inside, 0},
      {28, 28, 30, 30, Inside, 0},
      {29, 28, 30, 30, Outside, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PlaceInRoundedRect(c.x, c.y, c.width, c.height, c.ellipse), c.expected)
        << c.x << "," << c.y << " in " << c.width << "x" << c.height;
  }
}

}  // namespace
}  // namespace ear
