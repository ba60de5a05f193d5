// Keyed pictures drawn at their own size are copied, not drawn through GDI+: the copy must
// give GDI+'s pixels exactly, on the 24-bit surfaces it takes.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/file_win.h"
#include "base/gdi.h"
#include "imaging/gdiplus_win.h"
#include "imaging/jpeg/jpeg_decode.h"
#include "imaging/painting_win.h"
#include "imaging/png/png_decode.h"

namespace ear {
namespace {

// A DIB section selected into a memory DC, filled with a pattern that no picture pixel
// shares, so that a keyed pixel that was drawn (or one that was wrongly kept) shows.
class Target {
 public:
  Target(int width, int height, WORD bitCount, bool bottomUp) : width_(width), height_(height) {
    BITMAPINFO info = gdi::TopDownDibInfo(width, height, bitCount);
    if (bottomUp) info.bmiHeader.biHeight = height;
    void* bits = nullptr;
    bitmap_.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    bits_ = static_cast<unsigned char*>(bits);
    size_ = static_cast<std::size_t>((width * (bitCount / 8) + 3) & ~3) * height;
    for (std::size_t i = 0; i < size_; ++i) bits_[i] = static_cast<unsigned char>(7 + i * 13 % 97);
    select_.emplace(dc_.Get(), bitmap_.Get());
  }
  HDC Dc() const { return dc_.Get(); }
  std::vector<unsigned char> Bytes() const {
    GdiFlush();
    return {bits_, bits_ + size_};
  }

 private:
  int width_, height_;
  gdi::Bitmap bitmap_;
  gdi::MemoryDC dc_{nullptr};
  std::optional<gdi::Select> select_;
  unsigned char* bits_ = nullptr;
  std::size_t size_ = 0;
};

std::string Fixture(const std::string& name) {
  return (name.ends_with(".png") ? std::string(EAR_PNG_TESTDATA) : std::string(EAR_JPEG_TESTDATA)) + "/" + name;
}

DecodedImage DecodeFixture(const std::string& path) {
  const std::optional<std::vector<unsigned char>> data = ReadFileBytes(path, 1 << 20);
  EXPECT_TRUE(data.has_value()) << path;
  if (!path.ends_with(".png")) return DecodeJpeg(data->data(), data->size(), PixelLayout::Bgr24);
  std::optional<DecodedImage> png = DecodePng(data->data(), data->size());
  EXPECT_TRUE(png.has_value()) << path;
  return png.value_or(DecodedImage{});
}

class KeyedCopy : public ::testing::Test {
 protected:
  gdiplus::Session session;
};

TEST_F(KeyedCopy, GivesGdiplusPixelsOnEverySurfaceAndPlace) {
  // blocks.jpg holds a pure white block (keyed) beside coloured ones; the others cover
  // odd sizes, grey, progressive and Adobe CMYK JPEGs, and PNGs: RGB, grey, interlaced and
  // a palette whose white is fully transparent.
  const char* files[] = {"blocks.jpg", "odd13x5.jpg", "gray.jpg", "progressive.jpg", "cmyk.jpg",
                         "rgb.png", "grey.png", "interlaced.png", "palette_keyed.png"};
  struct Place { std::int64_t left; int top; };
  const Place places[] = {{0, 0}, {5, 3}, {-3, -2}, {30, 20}};
  struct Kind { WORD bits; bool bottomUp; };
  const Kind kinds[] = {{24, true}, {24, false}};
  for (const char* name : files) {
    const std::string path = Fixture(name);
    for (const Kind& kind : kinds) {
      for (const Place& place : places) {
        SCOPED_TRACE(testing::Message() << name << " on " << kind.bits << " bpp" << (kind.bottomUp ? " bottom-up" : "")
                                        << " at " << place.left << "," << place.top);
        DecodedImage picture = DecodeFixture(path);
        const float w = static_cast<float>(picture.width), h = static_cast<float>(picture.height);
        Target byGdiplus(40, 28, kind.bits, kind.bottomUp);
        painting_detail::DrawKeyedWithGdiplus(byGdiplus.Dc(), path, static_cast<float>(place.left),
                                              static_cast<float>(place.top), w, h, picture.width, picture.height);
        Target byCopy(40, 28, kind.bits, kind.bottomUp);
        ASSERT_TRUE(painting_detail::DrawKeyedByCopy(byCopy.Dc(), picture, place.left, place.top));
        const std::vector<unsigned char> expected = byGdiplus.Bytes();
        const std::vector<unsigned char> got = byCopy.Bytes();
        ASSERT_EQ(got.size(), expected.size());
        std::size_t differing = 0, first = got.size();
        for (std::size_t i = 0; i < got.size(); ++i) {
          if (got[i] != expected[i]) {
            ++differing;
            if (first == got.size()) first = i;
          }
        }
        EXPECT_EQ(differing, 0u) << "first differing byte " << first << " gdiplus " << int(expected[first]) << " "
                                 << int(expected[first + 1]) << " " << int(expected[first + 2]) << " copy "
                                 << int(got[first]) << " " << int(got[first + 1]) << " " << int(got[first + 2]);
      }
    }
  }
}

TEST_F(KeyedCopy, LeavesToGdiplusWhatACopyCannotDraw) {
  const std::string path = Fixture("blocks.jpg");
  DecodedImage picture = DecodeFixture(path);
  // A 32-bit surface (GDI's keyed copy rewrites its fourth bytes, GDI+ does not), one moved
  // by its viewport, and one clipped.
  Target wide(40, 28, 32, false);
  EXPECT_FALSE(painting_detail::DrawKeyedByCopy(wide.Dc(), picture, 0, 0));
  Target moved(40, 28, 24, false);
  SetViewportOrgEx(moved.Dc(), 2, 0, nullptr);
  EXPECT_FALSE(painting_detail::DrawKeyedByCopy(moved.Dc(), picture, 0, 0));
  Target clipped(40, 28, 24, false);
  IntersectClipRect(clipped.Dc(), 0, 0, 4, 4);
  EXPECT_FALSE(painting_detail::DrawKeyedByCopy(clipped.Dc(), picture, 0, 0));
  // A picture with half-transparent pixels needs blending.
  DecodedImage translucent;
  translucent.width = 2;
  translucent.height = 1;
  translucent.bytesPerPixel = 4;
  translucent.stride = 8;
  translucent.pixels = {10, 20, 30, 255, 10, 20, 30, 128};
  Target plain(40, 28, 24, false);
  EXPECT_FALSE(painting_detail::DrawKeyedByCopy(plain.Dc(), translucent, 0, 0));
  translucent.pixels[7] = 0;
  EXPECT_TRUE(painting_detail::DrawKeyedByCopy(plain.Dc(), translucent, 0, 0));
}

}  // namespace
}  // namespace ear
