#pragma once
// The gradient button's arithmetic: everything the painting and input handling
// compute, free of any platform call.
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "forms/shift_state.h"
#include "forms/system_color.h"

namespace controls {

enum TplButtonStyle : std::uint8_t { bsNormal, bsFlat, bsFlatNoFrame, bsRoundRect, bsRoundRectNoFrame };
enum TplBtnFrameType : std::uint8_t { bffFlat, bffEtched, bffBump };
enum TplBtnAlignment : std::uint8_t { taCenter, taLeft, taRight, taEven };

// Width and height of the corner ellipse of the rounded styles.
constexpr int CornerSize = 7;

// 0x00BBGGRR.
using Rgb = std::uint32_t;
constexpr Rgb MakeRgb(int r, int g, int b) {
  return static_cast<Rgb>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int RedOf(Rgb c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(Rgb c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Rgb c) { return static_cast<int>((c >> 16) & 0xFF); }

using forms::ResolveColor;

// Colour of pixel row y of a face `height` rows high, from `begin` (row 0) to `end`.
Rgb GradientRow(Rgb begin, Rgb end, int y, int height);
// Every row's colour; empty when height <= 0, the begin colour alone when height is 1.
std::vector<Rgb> GradientRows(Rgb begin, Rgb end, int height);

struct CaptionLayoutInput {
  int height = 0;       // button height
  int heightA = 0;      // text height of CaptionA
  int heightB = 0;      // text height of CaptionB
  int lineSpace = 4;
  int captionTop = 0;   // the stored CaptionTop
  bool vertCenter = true;
  bool hasA = false;    // CaptionA's text is not empty
  bool hasB = false;
};
struct CaptionLayout {
  int topA = 0;
  int topB = 0;
  int captionTop = 0;   // CaptionTop after the placement
};
CaptionLayout PlaceCaptions(const CaptionLayoutInput& in);

// SetTextAlign values.
enum TextAnchor : unsigned { AnchorLeft = 0, AnchorRight = 2, AnchorCenter = 6 };

struct CaptionAnchor {
  int x = 0;
  int y = 0;
  unsigned textAlign = AnchorLeft;
  bool even = false;     // drawn character by character
  int available = 0;     // width to spread the characters over (even only)
};
// Where a caption line of `charCount` characters starts, with the pressed offset applied.
CaptionAnchor AnchorCaption(TplBtnAlignment alignment, int width, int left, int right,
                            int charCount, int top, int pressedOffset);

// 1 when the caption and picture move right and down.
constexpr int PressedOffset(bool hasFocus, bool pressed) { return hasFocus && pressed ? 1 : 0; }

// Embossed captions and greyed pictures.
constexpr bool DisabledLook(bool enabled, bool hasFocus, bool disableImage) {
  return !enabled && (hasFocus || disableImage);
}

struct EvenSpacing {
  int step = 0;
  int rem = 0;
};
// Spreads `spare` pixels over the charCount - 1 gaps; remainder keeps the sign of spare.
EvenSpacing SpreadEvenly(int spare, int charCount);
// The x of each character, drawn from x0 with the given widths.
std::vector<int> EvenPositions(int x0, const std::vector<int>& widths, EvenSpacing spacing);

// Picture centring; a picture larger than the button gets a negative offset.
constexpr int CenterIn(int outer, int inner) { return (outer - inner) / 2; }

constexpr std::uint8_t GreyLevel(int blue, int green, int red) {
  return static_cast<std::uint8_t>(120 + ((blue + green + red) / 3) / 2);
}
// Greys rows of 24-bit pixels (blue, green, red) in place.
void GreyPixels(std::uint8_t* bits, int width, int height, int stride);

using forms::ShiftFromKeyboardState;

constexpr unsigned KeyReturn = 0x0D;
constexpr unsigned KeyEscape = 0x1B;
// Enter clicks only the focused button, Escape any cancel button; never with a modifier.
bool ClicksOnDialogKey(unsigned key, unsigned shift, bool isActiveControl, bool cancel,
                       bool hasFocus);

constexpr bool IsRounded(TplButtonStyle style) {
  return style == bsRoundRect || style == bsRoundRectNoFrame;
}

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const Rect&) const = default;
};

// The window region's rounded rectangle (the region excludes its right and bottom edge).
constexpr Rect RegionRect(int width, int height) { return Rect{0, 0, width + 1, height + 1}; }

enum class FrameKind { None, RaisedEdge, PressedRings, FlatBumpEdge, EtchedEdge, BumpEdge, RoundOutline };
FrameKind FrameFor(TplButtonStyle style, TplBtnFrameType frameType, bool pressed);

struct FocusMark {
  bool rounded = false;  // an alternate-pixel round rectangle, else a focus rectangle
  Rect rect;
  int corner = 0;
};
FocusMark FocusMarkFor(TplButtonStyle style, TplBtnFrameType frameType, int width, int height);

}  // namespace controls
