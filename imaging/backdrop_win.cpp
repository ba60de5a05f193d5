#include "imaging/backdrop_win.h"

#include <memory>
#include <optional>
#include <vector>

#include "base/error.h"
#include "base/file_win.h"
#include "base/gdi.h"
#include "imaging/gdiplus_win.h"
#include "imaging/jpeg/jpeg_decode.h"

namespace ear {

namespace {
constexpr Gdiplus::ARGB kFrameColor = 0xFF006400;
constexpr COLORREF kFrameRgb = RGB(0, 100, 0);
constexpr float kFrameWidth = 2.0f;
constexpr int kTileShift = 10;

// The texture decoded once, as a pattern brush.
struct Tile {
  gdi::Dib bitmap;
  gdi::Brush brush;
};

std::shared_ptr<Tile> DecodeTile(const std::string& textureFile) {
  const std::optional<std::vector<unsigned char>> data = ReadFileBytes(textureFile, 1 << 30);
  if (!data || data->empty()) return nullptr;
  auto tile = std::make_shared<Tile>();
  try {
    DecodeJpegInto(data->data(), data->size(), PixelLayout::Bgr24, [&tile](int w, int h, std::size_t) {
      tile->bitmap = gdi::CreateDib24(w, h);
      return tile->bitmap.bits;
    });
  } catch (const Error&) {
    return nullptr;
  }
  tile->brush.Reset(CreatePatternBrush(tile->bitmap.bitmap.Get()));
  return tile->brush ? tile : nullptr;
}

void FillWithTile(HDC surface, const Tile& tile, int width, int height) {
  // One pattern fill with the brush origin at the shift: the tiles start kTileShift pixels
  // right of the left edge, as the texture brush translated by that much puts them. The
  // origin is a device point: a DC drawing a control inside a larger target is moved.
  POINT origin{kTileShift, 0};
  LPtoDP(surface, &origin, 1);
  const int w = tile.bitmap.width, h = tile.bitmap.height;
  POINT oldOrigin{};
  SetBrushOrgEx(surface, (origin.x % w + w) % w, (origin.y % h + h) % h, &oldOrigin);
  const HGDIOBJ oldBrush = SelectObject(surface, tile.brush.Get());
  PatBlt(surface, 0, 0, width, height, PATCOPY);
  SelectObject(surface, oldBrush);
  SetBrushOrgEx(surface, oldOrigin.x, oldOrigin.y, nullptr);
}

}  // namespace

std::function<void(HDC)> BackdropPainter(const std::string& textureFile, int width, int height) {
  std::shared_ptr<const Tile> tile = DecodeTile(textureFile);
  if (!tile) return {};
  return [tile, width, height](HDC dc) {
    FillWithTile(dc, *tile, width, height);
    backdrop_detail::DrawFrame(dc, width, height);
  };
}

namespace backdrop_detail {

bool FillWithJpegTexture(HDC surface, const std::string& textureFile, int width, int height) {
  const std::shared_ptr<const Tile> tile = DecodeTile(textureFile);
  if (!tile) return false;
  FillWithTile(surface, *tile, width, height);
  return true;
}

void FillWithGdiplusTexture(HDC surface, const std::string& textureFile, int width, int height) {
  using namespace gdiplus;
  EnsureStarted();
  // Declared in creation order: leaving the scope releases brush, bitmap, graphics.
  Graphics graphics;
  Flat::GdipCreateFromHDC(surface, graphics.Put());
  Bitmap bitmap;
  Flat::GdipCreateBitmapFromFile(WideFileName(textureFile).c_str(), bitmap.Put());
  Texture brush;
  if (bitmap) Flat::GdipCreateTexture(bitmap.Get(), Gdiplus::WrapModeTile, brush.Put());
  if (brush) {
    Flat::GdipTranslateTextureTransform(brush.Get(), static_cast<float>(kTileShift), 0.0f,
                                        Gdiplus::MatrixOrderPrepend);
    Flat::GdipFillRectangleI(graphics.Get(), brush.Get(), 0, 0, width, height);
  }
}

void DrawFrameWithGdiplus(HDC surface, int width, int height) {
  using namespace gdiplus;
  EnsureStarted();
  Graphics graphics;
  Flat::GdipCreateFromHDC(surface, graphics.Put());
  Pen pen;
  Flat::GdipCreatePen1(kFrameColor, kFrameWidth, Gdiplus::UnitWorld, pen.Put());
  Flat::GdipDrawRectangleI(graphics.Get(), pen.Get(), 0, 0, width, height);
}

void DrawFrame(HDC surface, int width, int height) {
  // The 2-pixel pen centred on the rectangle's outline covers one pixel inside each edge.
  const gdi::Brush brush(CreateSolidBrush(kFrameRgb));
  const RECT edges[] = {{0, 0, width, 1}, {0, height - 1, width, height}, {0, 0, 1, height},
                        {width - 1, 0, width, height}};
  for (const RECT& edge : edges) FillRect(surface, &edge, brush.Get());
}

}  // namespace backdrop_detail

void PaintBackdrop(HDC surface, const std::string& textureFile, int width, int height) {
  PaintBackdrop(surface, BackdropPainter(textureFile, width, height), textureFile, width, height);
}

void PaintBackdrop(HDC surface, const std::function<void(HDC)>& painter, const std::string& textureFile,
                   int width, int height) {
  // The JPEG decoder and a pattern brush give the texture brush's pixels at a fraction of
  // its cost; GDI+ still reads whatever the decoder refuses (another format under the name).
  if (painter) {
    painter(surface);
    return;
  }
  backdrop_detail::FillWithGdiplusTexture(surface, textureFile, width, height);
  backdrop_detail::DrawFrame(surface, width, height);
}

}  // namespace ear
