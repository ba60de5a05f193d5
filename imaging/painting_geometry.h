#pragma once
// The arithmetic of the screen painting helpers: fitting a keyed picture into its box,
// centring a picture control.
#include <cstdint>

namespace ear {

// Nearest integer, halves to the even neighbour; NaN gives 0 and values beyond the
// 64-bit range give its ends.
std::int64_t RoundHalfEvenSaturated(double value);

// A 64-bit layout value as a control coordinate, held to the int range.
int ClampToInt(std::int64_t value);

// Where DrawKeyedImage puts a picture of w × h: scaled by the smaller of the two box
// ratios (proportions kept, not rounded), left edge as asked when above 0, else centred.
struct KeyedPlacement {
  double scale = 0;
  double width = 0;   // drawn width, w × scale
  double height = 0;  // drawn height, h × scale
  std::int64_t left = 0;
};
KeyedPlacement PlaceKeyedImage(std::uint32_t w, std::uint32_t h, int boxWidth, int boxHeight,
                               int askedLeft, int centringWidth);

// Left edge that centres a picture or a self-sizing label of the given width on a screen:
// (screen - width) / 2, halves to the even neighbour.
std::int64_t CenteredLeft(std::int64_t screenWidth, std::int64_t width);

}  // namespace ear
