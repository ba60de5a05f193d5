#include "imaging/painting_win.h"

#include <cstdint>

#include "base/file_win.h"
#include "base/gdi.h"
#include "imaging/MainGetDimension.h"
#include "imaging/gdiplus_win.h"
#include "imaging/painting_geometry.h"

namespace ear {
namespace {

constexpr int kCornerEllipse = 20;
// Colour-key bounds: only red, green and blue all 255 fall between them.
constexpr Gdiplus::ARGB kPureWhite = 0xFFFFFFFF;

// The surface is asked for only after the probe, so a rejected file leaves the target as it was.
template <typename Surface>
int DrawKeyed(Surface&& surface, const std::string& fileName, int boxWidth, int boxHeight,
              int top, int askedLeft, int centringWidth) {
  if (!FileExists(fileName)) return 0;
  std::uint32_t w = 0;
  std::uint32_t h = 0;
  GetDimension(fileName, w, h);
  const KeyedPlacement place = PlaceKeyedImage(w, h, boxWidth, boxHeight, askedLeft, centringWidth);

  const HDC dc = surface();
  gdiplus::Graphics graphics;
  gdiplus::Flat::GdipCreateFromHDC(dc, graphics.Put());
  gdiplus::Bitmap bitmap;
  gdiplus::Flat::GdipCreateBitmapFromFile(gdiplus::WideFileName(fileName).c_str(), bitmap.Put());
  gdiplus::ImageAttributes attributes;
  gdiplus::Flat::GdipCreateImageAttributes(attributes.Put());
  gdiplus::Flat::GdipSetImageAttributesColorKeys(attributes.Get(), Gdiplus::ColorAdjustTypeDefault,
                                                 TRUE, kPureWhite, kPureWhite);
  gdiplus::Flat::GdipDrawImageRectRect(
      graphics.Get(), bitmap.Get(), static_cast<float>(place.left), static_cast<float>(top),
      static_cast<float>(place.width), static_cast<float>(place.height), 0.0f, 0.0f,
      static_cast<float>(w), static_cast<float>(h), Gdiplus::UnitPixel, attributes.Get(),
      nullptr, nullptr);
  return ClampToInt(place.left);
}

}  // namespace

int DrawKeyedImage(const std::function<HDC()>& surface, const std::string& fileName, int boxWidth,
                   int boxHeight, int top, int askedLeft, int centringWidth) {
  return DrawKeyed(surface, fileName, boxWidth, boxHeight, top, askedLeft, centringWidth);
}

int DrawKeyedImage(HDC surface, const std::string& fileName, int boxWidth, int boxHeight,
                   int top, int askedLeft, int centringWidth) {
  return DrawKeyed([surface] { return surface; }, fileName, boxWidth, boxHeight, top, askedLeft,
                   centringWidth);
}

std::optional<int> CenteredLeftOfFile(int screenWidth, const std::string& fileName) {
  if (!FileExists(fileName)) return std::nullopt;
  std::uint32_t w = 0;
  std::uint32_t h = 0;
  GetDimension(fileName, w, h);
  return ClampToInt(CenteredLeft(screenWidth, w));
}

void ApplyRoundedRegion(HWND window) {
  RECT outer{};
  GetWindowRect(window, &outer);
  gdi::Region region(CreateRoundRectRgn(0, 0, outer.right - outer.left, outer.bottom - outer.top,
                                        kCornerEllipse, kCornerEllipse));
  // Only a region the window accepted belongs to it.
  if (region && SetWindowRgn(window, region.Get(), TRUE) != 0) region.Release();
}

}  // namespace ear
