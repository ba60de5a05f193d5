#include "imaging/backdrop_win.h"

#include "imaging/gdiplus_win.h"

namespace ear {

namespace {
constexpr Gdiplus::ARGB kFrameColor = 0xFF006400;
constexpr float kFrameWidth = 2.0f;
constexpr float kTileShift = 10.0f;
}  // namespace

void PaintBackdrop(HDC surface, const std::string& textureFile, int width, int height) {
  using namespace gdiplus;
  // Declared in creation order: leaving the scope releases pen, brush, bitmap, graphics.
  Graphics graphics;
  Flat::GdipCreateFromHDC(surface, graphics.Put());
  Bitmap bitmap;
  Flat::GdipCreateBitmapFromFile(WideFileName(textureFile).c_str(), bitmap.Put());
  Texture brush;
  if (bitmap) Flat::GdipCreateTexture(bitmap.Get(), Gdiplus::WrapModeTile, brush.Put());
  Pen pen;
  Flat::GdipCreatePen1(kFrameColor, kFrameWidth, Gdiplus::UnitWorld, pen.Put());
  if (brush) {
    Flat::GdipTranslateTextureTransform(brush.Get(), kTileShift, 0.0f, Gdiplus::MatrixOrderPrepend);
    Flat::GdipFillRectangleI(graphics.Get(), brush.Get(), 0, 0, width, height);
  }
  Flat::GdipDrawRectangleI(graphics.Get(), pen.Get(), 0, 0, width, height);
}

}  // namespace ear
