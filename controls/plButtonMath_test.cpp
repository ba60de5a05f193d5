#include "controls/plButtonMath.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "forms/shift_state.h"

namespace controls {
namespace {

constexpr Rgb kActionBegin = 0xD79400;  // RGB (0, 148, 215)
constexpr Rgb kActionEnd = 0x884900;    // RGB (0, 73, 136)
constexpr Rgb kCloseBegin = 0x888888;
constexpr Rgb kCloseEnd = 0x39393F;     // RGB (63, 57, 57)

TEST(Gradient, RowsTruncateTowardZero) {
  struct Case { Rgb begin, end; int height, y; int r, g, b; };
  const Case cases[] = {
      {kActionBegin, kActionEnd, 28, 0, 0, 148, 215},
      {kActionBegin, kActionEnd, 28, 1, 0, 146, 213},
      {kActionBegin, kActionEnd, 28, 2, 0, 143, 210},
      {kActionBegin, kActionEnd, 28, 13, 0, 112, 177},
      {kActionBegin, kActionEnd, 28, 26, 0, 76, 139},
      {kActionBegin, kActionEnd, 28, 27, 0, 73, 136},
      // 26 high: -948 / 25 is -37 (not -38 as flooring would give)
      {kActionBegin, kActionEnd, 26, 12, 0, 112, 178},
      {kActionBegin, kActionEnd, 26, 1, 0, 145, 212},
      {kActionBegin, kActionEnd, 26, 25, 0, 73, 136},
      {kCloseBegin, kCloseEnd, 28, 0, 136, 136, 136},
      {kCloseBegin, kCloseEnd, 28, 1, 134, 134, 134},
      {kCloseBegin, kCloseEnd, 28, 14, 99, 96, 96},
      {kCloseBegin, kCloseEnd, 28, 27, 63, 57, 57},
      // rising channels
      {MakeRgb(10, 0, 0), MakeRgb(20, 0, 0), 4, 1, 13, 0, 0},
      {MakeRgb(10, 0, 0), MakeRgb(20, 0, 0), 4, 2, 16, 0, 0},
      {0x000000, 0xFFFFFF, 3, 1, 127, 127, 127},
      // default white to silver
      {0xFFFFFF, 0xC0C0C0, 26, 1, 253, 253, 253},
      {0xFFFFFF, 0xC0C0C0, 2, 1, 192, 192, 192},
  };
  for (const auto& c : cases) {
    const Rgb row = GradientRow(c.begin, c.end, c.y, c.height);
    EXPECT_EQ(row, MakeRgb(c.r, c.g, c.b))
        << std::hex << c.begin << "->" << c.end << std::dec << " h=" << c.height << " y=" << c.y;
  }
}

TEST(Gradient, RowListCoversEveryRowAndTheDegenerateHeights) {
  EXPECT_TRUE(GradientRows(kActionBegin, kActionEnd, 0).empty());
  EXPECT_TRUE(GradientRows(kActionBegin, kActionEnd, -3).empty());
  EXPECT_EQ(GradientRows(kActionBegin, kActionEnd, 1), std::vector<Rgb>{kActionBegin});
  EXPECT_EQ(GradientRows(kActionBegin, kActionEnd, 2), (std::vector<Rgb>{kActionBegin, kActionEnd}));
  const auto rows = GradientRows(kActionBegin, kActionEnd, 28);
  ASSERT_EQ(rows.size(), 28u);
  EXPECT_EQ(rows.front(), kActionBegin);
  EXPECT_EQ(rows[13], MakeRgb(0, 112, 177));
  EXPECT_EQ(rows.back(), kActionEnd);
  // a very tall face must not overflow: row 9999 of 10000 is exactly the end colour
  EXPECT_EQ(GradientRow(0xFFFFFF, 0x000000, 9999, 10000), 0x000000u);
  EXPECT_EQ(GradientRow(0xFFFFFF, 0x000000, 5000, 10001), 0x808080u);
}

TEST(CaptionPlacement, CentredAndFixedTops) {
  struct Case { CaptionLayoutInput in; int topA, topB, captionTop; };
  const Case cases[] = {
      // height, hA, hB, lineSpace, captionTop, vertCenter, hasA, hasB
      {{28, 12, 12, 4, 0, true, true, false}, 9, 25, 9},
      {{28, 12, 12, 4, 0, true, false, true}, 0, 8, 8},     // only CaptionB; topA is not drawn
      {{28, 12, 12, 4, 0, true, true, true}, 0, 16, 0},
      {{26, 12, 12, 4, 3, true, true, false}, 8, 24, 8},
      {{10, 13, 13, 4, 0, true, true, false}, 0, 17, 0},    // (10-13)/2 is -1
      {{10, 13, 13, 5, 0, true, true, true}, -10, 8, -10},  // -21/2 is -10
      {{9, 12, 12, 4, 0, true, false, true}, -9, -1, -1},   // -3/2 is -1
      {{28, 12, 12, 4, 8, false, true, false}, 8, 24, 8},
      {{28, 12, 12, 4, 3, false, true, true}, 3, 19, 3},
      {{28, 12, 12, 4, 5, false, false, true}, 5, 5, 5},
      {{28, 12, 12, 6, -2, false, true, true}, -2, 16, -2},
  };
  for (const auto& c : cases) {
    const CaptionLayout out = PlaceCaptions(c.in);
    EXPECT_EQ(out.topA, c.topA) << "h=" << c.in.height << " a=" << c.in.hasA << " b=" << c.in.hasB;
    EXPECT_EQ(out.topB, c.topB) << "h=" << c.in.height << " a=" << c.in.hasA << " b=" << c.in.hasB;
    EXPECT_EQ(out.captionTop, c.captionTop) << "h=" << c.in.height << " a=" << c.in.hasA << " b=" << c.in.hasB;
  }
}

TEST(CaptionPlacement, AnchorPerAlignment) {
  struct Case {
    TplBtnAlignment alignment; int width, left, right, n, top, offset;
    int x, y; unsigned textAlign; bool even; int available;
  };
  const Case cases[] = {
      {taCenter, 80, 5, 3, 4, 9, 0, 40, 9, AnchorCenter, false, 0},
      {taCenter, 75, 0, 0, 4, 9, 0, 37, 9, AnchorCenter, false, 0},
      {taCenter, 80, 0, 0, 4, 9, 1, 41, 10, AnchorCenter, false, 0},
      {taLeft, 80, 5, 3, 4, 9, 0, 7, 9, AnchorLeft, false, 0},
      {taLeft, 80, -4, 3, 4, 0, 1, -1, 1, AnchorLeft, false, 0},
      {taRight, 80, 5, 3, 4, 9, 0, 75, 9, AnchorRight, false, 0},
      {taRight, 80, 5, 3, 4, 9, 1, 76, 10, AnchorRight, false, 0},
      {taEven, 80, 5, 3, 4, 9, 0, 7, 9, AnchorLeft, true, 68},
      {taEven, 80, 5, 3, 4, 9, 1, 8, 10, AnchorLeft, true, 68},
      {taEven, 10, 5, 3, 2, 0, 0, 7, 0, AnchorLeft, true, -2},
      {taEven, 81, 5, 3, 1, 9, 0, 40, 9, AnchorCenter, false, 0},  // one character: centred
  };
  for (const auto& c : cases) {
    const CaptionAnchor a = AnchorCaption(c.alignment, c.width, c.left, c.right, c.n, c.top, c.offset);
    SCOPED_TRACE(testing::Message() << "alignment " << int(c.alignment) << " width " << c.width
                                    << " n " << c.n << " offset " << c.offset);
    EXPECT_EQ(a.x, c.x);
    EXPECT_EQ(a.y, c.y);
    EXPECT_EQ(a.textAlign, c.textAlign);
    EXPECT_EQ(a.even, c.even);
    if (c.even) {
      EXPECT_EQ(a.available, c.available);
    }
  }
}

TEST(CaptionPlacement, PressedOffsetAndDisabledLook) {
  EXPECT_EQ(PressedOffset(true, true), 1);
  EXPECT_EQ(PressedOffset(false, true), 0);
  EXPECT_EQ(PressedOffset(true, false), 0);
  struct Case { bool enabled, hasFocus, disableImage, look; };
  const Case cases[] = {{false, true, false, true}, {false, false, false, false},
                        {false, false, true, true}, {true, true, true, false}};
  for (const auto& c : cases)
    EXPECT_EQ(DisabledLook(c.enabled, c.hasFocus, c.disableImage), c.look)
        << c.enabled << c.hasFocus << c.disableImage;
}

TEST(EvenSpacing, StepAndRemainderKeepTheSignOfTheSpare) {
  struct Case { int spare, n, step, rem; };
  const Case cases[] = {{37, 4, 12, 1}, {-5, 4, -1, -2}, {0, 3, 0, 0},   {10, 2, 10, 0},
                        {-7, 3, -3, -1}, {5, 1, 0, 0},   {5, 0, 0, 0},   {2, 5, 0, 2}};
  for (const auto& c : cases) {
    const EvenSpacing s = SpreadEvenly(c.spare, c.n);
    EXPECT_EQ(s.step, c.step) << c.spare << "/" << c.n;
    EXPECT_EQ(s.rem, c.rem) << c.spare << "/" << c.n;
  }
}

TEST(EvenSpacing, CharacterPositionsUseUpTheSpare) {
  struct Case { int x0; std::vector<int> widths; EvenSpacing spacing; std::vector<int> xs; };
  const Case cases[] = {
      {2, {12, 12, 12, 12}, {12, 1}, {2, 27, 51, 75}},    // the first gap is one wider
      {2, {12, 12, 12, 12}, {-1, -2}, {2, 12, 22, 33}},   // the first two gaps one narrower
      {7, {6, 12, 6}, {3, 0}, {7, 16, 31}},
      {0, {}, {5, 1}, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(EvenPositions(c.x0, c.widths, c.spacing), c.xs);
  // the last character ends exactly at the available width: 2 + 48 + 37 = 87
  EXPECT_EQ(EvenPositions(2, {12, 12, 12, 12}, SpreadEvenly(37, 4)).back() + 12, 87);
}

TEST(Picture, CentringAndGreys) {
  EXPECT_EQ(CenterIn(28, 16), 6);
  EXPECT_EQ(CenterIn(75, 32), 21);
  EXPECT_EQ(CenterIn(10, 13), -1);
  struct Grey { int b, g, r; int grey; };
  const Grey greys[] = {{0, 148, 215, 180}, {255, 255, 255, 247}, {0, 0, 0, 120},
                        {255, 0, 0, 162},   {1, 1, 0, 120},       {3, 3, 3, 121}};
  for (const auto& c : greys) EXPECT_EQ(GreyLevel(c.b, c.g, c.r), c.grey) << c.r << "," << c.g << "," << c.b;
}

TEST(Picture, GreyPixelsLeavesRowPaddingAlone) {
  // 2 x 2 pixels, rows of 8 bytes: 6 pixel bytes and 2 padding bytes
  std::array<std::uint8_t, 16> bits = {0, 148, 215, 255, 255, 255, 0xAA, 0xBB,
                                       0, 0,   0,   255, 0,   0,   0xCC, 0xDD};
  GreyPixels(bits.data(), 2, 2, 8);
  const std::array<std::uint8_t, 16> expected = {180, 180, 180, 247, 247, 247, 0xAA, 0xBB,
                                                 120, 120, 120, 162, 162, 162, 0xCC, 0xDD};
  EXPECT_EQ(bits, expected);
}

TEST(Keys, DialogKeyClicks) {
  struct Case { unsigned key, shift; bool active, cancel, hasFocus, clicks; };
  const Case cases[] = {
      {KeyReturn, 0, true, false, true, true},
      {KeyReturn, 0, false, true, true, false},   // Enter clicks only the focused button
      {KeyReturn, forms::ssShift, true, false, true, false},
      {KeyReturn, 0, true, false, false, false},  // HasFocus false
      {KeyEscape, 0, false, true, true, true},    // a cancel button wherever the focus is
      {KeyEscape, 0, true, false, true, false},
      {KeyEscape, forms::ssCtrl, false, true, true, false},
      {KeyEscape, forms::ssAlt, true, true, true, false},
      {KeyEscape, forms::ssLeft, false, true, true, true},  // a mouse button is no modifier
      {KeyEscape, 0, false, true, false, false},
      {0x20, 0, true, true, true, false},         // the space bar never clicks
  };
  for (const auto& c : cases)
    EXPECT_EQ(ClicksOnDialogKey(c.key, c.shift, c.active, c.cancel, c.hasFocus), c.clicks)
        << "key " << c.key << " shift " << c.shift << " active " << c.active << " cancel "
        << c.cancel << " hasFocus " << c.hasFocus;
}

TEST(Frames, KindPerStyleAndState) {
  struct Case { TplButtonStyle style; TplBtnFrameType type; bool pressed; FrameKind kind; };
  const Case cases[] = {
      {bsNormal, bffFlat, false, FrameKind::RaisedEdge},
      {bsNormal, bffBump, true, FrameKind::PressedRings},
      {bsFlat, bffFlat, false, FrameKind::FlatBumpEdge},
      {bsFlat, bffEtched, true, FrameKind::EtchedEdge},  // only bsNormal has a pressed frame
      {bsFlat, bffBump, false, FrameKind::BumpEdge},
      {bsFlatNoFrame, bffBump, true, FrameKind::None},
      {bsRoundRect, bffFlat, true, FrameKind::RoundOutline},
      {bsRoundRectNoFrame, bffFlat, false, FrameKind::None},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FrameFor(c.style, c.type, c.pressed), c.kind) << int(c.style) << "/" << int(c.type);
  EXPECT_EQ(RegionRect(80, 28), (Rect{0, 0, 81, 29}));
  EXPECT_TRUE(IsRounded(bsRoundRect));
  EXPECT_TRUE(IsRounded(bsRoundRectNoFrame));
  EXPECT_FALSE(IsRounded(bsFlatNoFrame));
}

TEST(Frames, FocusMarkInsets) {
  struct Case { TplButtonStyle style; TplBtnFrameType type; bool rounded; Rect rect; int corner; };
  const Case cases[] = {
      {bsNormal, bffFlat, false, {2, 2, 78, 26}, 0},
      {bsNormal, bffBump, false, {2, 2, 78, 26}, 0},  // the frame type matters for bsFlat only
      {bsFlat, bffFlat, false, {2, 2, 78, 26}, 0},
      {bsFlat, bffBump, false, {2, 2, 79, 27}, 0},
      {bsFlat, bffEtched, false, {2, 2, 77, 25}, 0},
      {bsFlatNoFrame, bffEtched, false, {2, 2, 78, 26}, 0},
      {bsRoundRect, bffBump, true, {2, 2, 78, 26}, 5},
      {bsRoundRectNoFrame, bffFlat, true, {2, 2, 78, 26}, 5},
  };
  for (const auto& c : cases) {
    const FocusMark m = FocusMarkFor(c.style, c.type, 80, 28);
    EXPECT_EQ(m.rounded, c.rounded) << int(c.style) << "/" << int(c.type);
    EXPECT_EQ(m.rect, c.rect) << int(c.style) << "/" << int(c.type);
    if (c.rounded) {
      EXPECT_EQ(m.corner, c.corner);
    }
  }
  // a 1-pixel button gives an empty (inverted) rectangle, which draws nothing
  EXPECT_EQ(FocusMarkFor(bsNormal, bffFlat, 1, 1).rect, (Rect{2, 2, -1, -1}));
}

}  // namespace
}  // namespace controls
