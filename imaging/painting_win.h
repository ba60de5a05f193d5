#pragma once
// The screen painting helpers: colour-keyed pictures fitted into boxes, picture controls
// centred by their file's width, and the rounded region of the wizard windows.
// GDI+ must have been started (ear::gdiplus::Session).
#include <windows.h>

#include <string>

#include "forms/form.h"
#include "forms/picture.h"

namespace ear {

// Draws the picture file onto target's surface with pure white (255, 255, 255) transparent,
// scaled to the largest size that fits boxWidth × boxHeight with its proportions kept, its
// top edge at top and its left edge at askedLeft when that is above 0, else centred on
// centringWidth. Returns the left edge used; 0 without drawing when the file does not exist.
// GetDimension's errors pass through before anything is drawn.
int DrawKeyedImage(forms::Image& target, const std::string& fileName, int boxWidth,
                   int boxHeight, int top, int askedLeft, int centringWidth);

// The same onto a device context (a picture control's surface is one).
int DrawKeyedImage(HDC surface, const std::string& fileName, int boxWidth, int boxHeight,
                   int top, int askedLeft, int centringWidth);

// Moves image so that a picture of the file's width is centred on screen, then loads the
// file into it. A missing file changes nothing; GetDimension's errors pass through first.
void CenterImageByFile(forms::Form& screen, forms::Image& image, const std::string& fileName);

// Gives the window the region of its outer size with corners rounded by 20 × 20 ellipses
// (the wizard screens' WM_AFTERSHOW); the window owns the region from then on.
void ApplyRoundedRegion(HWND window);

}  // namespace ear
