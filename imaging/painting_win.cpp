#include "imaging/painting_win.h"

#include <cstdint>
#include <optional>
#include <vector>

#include "base/error.h"
#include "base/file_win.h"
#include "base/gdi.h"
#include "imaging/MainGetDimension.h"
#include "imaging/gdiplus_win.h"
#include "imaging/jpeg/jpeg_decode.h"
#include "imaging/painting_geometry.h"
#include "imaging/png/png_decode.h"

namespace ear {
namespace {

constexpr int kCornerEllipse = 20;
// Colour-key bounds: only red, green and blue all 255 fall between them.
constexpr Gdiplus::ARGB kPureWhite = 0xFFFFFFFF;
// Pictures drawn at their own size fit a box of a few hundred pixels; larger files go to GDI+.
constexpr std::uint64_t kMaxOwnFileBytes = 16u << 20;

// The picture as our own decoders give it when their pixels are exactly GDI+'s (JPEG
// through libjpeg, as GDI+'s codec decodes it, and the PNGs DecodePng takes on); none for
// anything else, which GDI+ then reads.
std::optional<DecodedImage> DecodeOwn(const std::string& fileName) {
  const std::optional<std::vector<unsigned char>> data = ReadFileBytes(fileName, kMaxOwnFileBytes);
  if (!data || data->size() < 2) return std::nullopt;
  if ((*data)[0] == 0x89 && (*data)[1] == 'P') return DecodePng(data->data(), data->size());
  if ((*data)[0] == 0xFF && (*data)[1] == 0xD8) {
    try {
      return DecodeJpeg(data->data(), data->size(), PixelLayout::Bgr24);
    } catch (const Error&) {
      return std::nullopt;
    }
  }
  return std::nullopt;
}

// True when dc draws on a 24-bit bitmap, unmoved and unclipped, as on the title's picture:
// on other surfaces GDI's keyed copy and GDI+ differ (a 32-bit one's fourth byte).
bool PlainSurface(HDC dc) {
  BITMAP bitmap{};
  const HGDIOBJ selected = GetCurrentObject(dc, OBJ_BITMAP);
  if (selected == nullptr || GetObjectW(selected, sizeof bitmap, &bitmap) == 0 || bitmap.bmBitsPixel != 24) {
    return false;
  }
  POINT viewport{}, window{};
  GetViewportOrgEx(dc, &viewport);
  GetWindowOrgEx(dc, &window);
  const gdi::Region clip(CreateRectRgn(0, 0, 0, 0));
  return viewport.x == 0 && viewport.y == 0 && window.x == 0 && window.y == 0 &&
         GetGraphicsMode(dc) == GM_COMPATIBLE && GetClipRgn(dc, clip.Get()) == 0;
}

}  // namespace

namespace painting_detail {

bool DrawKeyedByCopy(HDC dc, const DecodedImage& picture, std::int64_t left, int top) {
  if (picture.bytesPerPixel != 3 && picture.bytesPerPixel != 4) return false;
  if (!PlainSurface(dc)) return false;
  // Fully transparent pixels become the key colour, so one keyed copy leaves both out.
  gdi::Dib copy = gdi::CreateDib24(picture.width, picture.height);
  if (!copy.bitmap) return false;
  for (int y = 0; y < picture.height; ++y) {
    const unsigned char* s = picture.Row(y);
    unsigned char* d = copy.bits + static_cast<std::size_t>(copy.stride) * y;
    for (int x = 0; x < picture.width; ++x, s += picture.bytesPerPixel, d += 3) {
      const unsigned char alpha = picture.bytesPerPixel == 4 ? s[3] : 255;
      if (alpha != 0 && alpha != 255) return false;  // needs blending
      d[0] = alpha == 0 ? 255 : s[0];
      d[1] = alpha == 0 ? 255 : s[1];
      d[2] = alpha == 0 ? 255 : s[2];
    }
  }
  const gdi::MemoryDC source(dc);
  const gdi::Select select(source.Get(), copy.bitmap.Get());
  return TransparentBlt(dc, ClampToInt(left), top, picture.width, picture.height, source.Get(), 0, 0,
                        picture.width, picture.height, RGB(255, 255, 255)) != FALSE;
}

void DrawKeyedWithGdiplus(HDC dc, const std::string& fileName, float left, float top, float width, float height,
                          std::uint32_t w, std::uint32_t h) {
  gdiplus::EnsureStarted();
  gdiplus::Graphics graphics;
  gdiplus::Flat::GdipCreateFromHDC(dc, graphics.Put());
  gdiplus::Bitmap bitmap;
  gdiplus::Flat::GdipCreateBitmapFromFile(gdiplus::WideFileName(fileName).c_str(), bitmap.Put());
  gdiplus::ImageAttributes attributes;
  gdiplus::Flat::GdipCreateImageAttributes(attributes.Put());
  gdiplus::Flat::GdipSetImageAttributesColorKeys(attributes.Get(), Gdiplus::ColorAdjustTypeDefault,
                                                 TRUE, kPureWhite, kPureWhite);
  gdiplus::Flat::GdipDrawImageRectRect(graphics.Get(), bitmap.Get(), left, top, width, height, 0.0f, 0.0f,
                                       static_cast<float>(w), static_cast<float>(h), Gdiplus::UnitPixel,
                                       attributes.Get(), nullptr, nullptr);
}

}  // namespace painting_detail

namespace {

// The surface is asked for only after the probe, so a rejected file leaves the target as it was.
template <typename Surface>
int DrawKeyed(Surface&& surface, const std::string& fileName, int boxWidth, int boxHeight,
              int top, int askedLeft, int centringWidth) {
  if (!FileExists(fileName)) return 0;
  std::uint32_t w = 0;
  std::uint32_t h = 0;
  GetDimension(fileName, w, h);
  const KeyedPlacement place = PlaceKeyedImage(w, h, boxWidth, boxHeight, askedLeft, centringWidth);

  // A picture drawn at its own size needs no interpolation; one whose pixels are all opaque
  // or clear needs no blending: those are copied, GDI+ draws the rest.
  std::optional<DecodedImage> own;
  if (place.width == w && place.height == h) own = DecodeOwn(fileName);
  if (own && (own->width != static_cast<std::int64_t>(w) || own->height != static_cast<std::int64_t>(h))) own.reset();
  const HDC dc = surface();
  if (!own || !painting_detail::DrawKeyedByCopy(dc, *own, place.left, top)) {
    painting_detail::DrawKeyedWithGdiplus(dc, fileName, static_cast<float>(place.left), static_cast<float>(top),
                                          static_cast<float>(place.width), static_cast<float>(place.height), w, h);
  }
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
