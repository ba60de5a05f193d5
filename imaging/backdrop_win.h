#pragma once
// The texture backdrop. GDI+ must have been started (ear::gdiplus::Session).
#include <windows.h>

#include <string>

namespace ear {

// Fills the rectangle (0, 0, width, height) of the surface (a picture control's bitmap
// selected into a DC) with the texture tiled from 10 pixels right of the left edge and
// frames it in dark green. A texture that cannot be loaded leaves only the frame; nothing
// is reported.
void PaintBackdrop(HDC surface, const std::string& textureFile, int width, int height);

}  // namespace ear
