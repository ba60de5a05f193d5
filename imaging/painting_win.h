#pragma once
// The screen painting helpers: colour-keyed pictures fitted into boxes, picture controls
// centred by their file's width, and the rounded region of the wizard windows.
// GDI+ must have been started (ear::gdiplus::Session).
//
// They take plain GDI targets; screens/screen_painting.h applies them to picture controls.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

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

// Gives the window the region of its outer size with corners rounded by 20 × 20 ellipses
// (the wizard screens' WM_AFTERSHOW); the window owns the region from then on.
void ApplyRoundedRegion(HWND window);

}  // namespace ear
