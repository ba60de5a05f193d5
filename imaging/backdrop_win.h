#pragma once
// The texture backdrop. GDI+ reads the textures that the JPEG decoder refuses; it starts
// through the run's session (ear::gdiplus::Session) when it does.
#include <windows.h>

#include <functional>
#include <string>

namespace ear {

// Fills the rectangle (0, 0, width, height) of the surface (a picture control's bitmap
// selected into a DC) with the texture tiled from 10 pixels right of the left edge and
// frames it in dark green. A texture that cannot be loaded leaves only the frame; nothing
// is reported.
void PaintBackdrop(HDC surface, const std::string& textureFile, int width, int height);

// PaintBackdrop kept as a way to draw: called with a DC, it draws the same pixels there,
// the tiles placed from the DC's logical origin. Empty when the texture is no JPEG that the
// decoder reads (PaintBackdrop then needs a surface to draw on through GDI+).
std::function<void(HDC)> BackdropPainter(const std::string& textureFile, int width, int height);

// PaintBackdrop with the texture already tried: painter, as BackdropPainter gave it, draws;
// when it is empty, GDI+ reads the texture. The file is read and decoded once either way.
void PaintBackdrop(HDC surface, const std::function<void(HDC)>& painter, const std::string& textureFile,
                   int width, int height);

// The steps of PaintBackdrop, apart for the tests that hold the fast path to the texture
// brush's pixels.
namespace backdrop_detail {
// The fill from the JPEG decoder with a pattern brush; false, drawing nothing, when the file
// cannot be read or decoded as a JPEG.
bool FillWithJpegTexture(HDC surface, const std::string& textureFile, int width, int height);
// The fill with a GDI+ texture brush translated by the shift (any format GDI+ reads).
void FillWithGdiplusTexture(HDC surface, const std::string& textureFile, int width, int height);
// The frame: a 2.0-wide dark-green line centred on the rectangle's outline, drawn with GDI
// (one pixel inside each edge), and the same with a GDI+ pen.
void DrawFrame(HDC surface, int width, int height);
void DrawFrameWithGdiplus(HDC surface, int width, int height);
}  // namespace backdrop_detail

}  // namespace ear
