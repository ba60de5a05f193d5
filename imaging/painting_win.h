#pragma once
// The screen painting helpers: colour-keyed pictures fitted into boxes, picture controls
// centred by their file's width, and the rounded region of the wizard windows.
// What needs GDI+ starts it through the run's session (ear::gdiplus::Session).
//
// They take plain GDI targets; screens/screen_painting.h applies them to picture controls.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "imaging/jpeg/jpeg_decode.h"

namespace ear {

// Draws the picture file onto the surface with pure white (255, 255, 255) transparent,
// scaled to the largest size that fits boxWidth × boxHeight with its proportions kept, its
// top edge at top and its left edge at askedLeft when that is above 0, else centred on
// centringWidth. Returns the left edge used; 0 without drawing when the file does not exist.
// GetDimension's errors pass through before anything is drawn.
int DrawKeyedImage(HDC surface, const std::string& fileName, int boxWidth, int boxHeight,
                   int top, int askedLeft, int centringWidth);

// The same, asking for the surface only once the file has passed the probe, so that a
// missing or rejected file leaves the target as it was.
int DrawKeyedImage(const std::function<HDC()>& surface, const std::string& fileName, int boxWidth,
                   int boxHeight, int top, int askedLeft, int centringWidth);

// The left edge that centres a picture of the file's width on a screen of screenWidth;
// none when the file does not exist. GetDimension's errors pass through.
std::optional<int> CenteredLeftOfFile(int screenWidth, const std::string& fileName);

namespace painting_detail {
// The two ways DrawKeyedImage draws, open to the tests that hold them to the same pixels.
// By copy: false, drawing nothing, unless every pixel of picture is opaque or clear and dc
// draws on a 24-bit bitmap, unmoved and unclipped.
bool DrawKeyedByCopy(HDC dc, const DecodedImage& picture, std::int64_t left, int top);
void DrawKeyedWithGdiplus(HDC dc, const std::string& fileName, float left, float top, float width, float height,
                          std::uint32_t w, std::uint32_t h);
}  // namespace painting_detail

// Gives the window the region of its outer size with corners rounded by 20 × 20 ellipses
// (the wizard screens' WM_AFTERSHOW); the window owns the region from then on.
void ApplyRoundedRegion(HWND window);

}  // namespace ear
