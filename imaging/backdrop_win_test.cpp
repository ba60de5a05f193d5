// The texture backdrop: the JPEG decoder with a pattern brush and the GDI frame give
// exactly the pixels of the GDI+ texture brush and pen; what the decoder refuses still
// reaches GDI+.
#include "imaging/backdrop_win.h"

#include "imaging/painting_test_support.h"

namespace ear {
namespace {

// A white 24-bit picture of the kind a picture control draws on, its bytes comparable.
class Picture24 {
 public:
  Picture24(int width, int height) : dib_(gdi::CreateDib24(width, height)) {
    std::fill_n(dib_.bits, static_cast<size_t>(dib_.stride) * height, 0xFF);
    select_.emplace(dc_.Get(), dib_.bitmap.Get());
  }
  HDC Dc() const { return dc_.Get(); }
  std::vector<unsigned char> Bytes() const {
    GdiFlush();
    return std::vector<unsigned char>(dib_.bits, dib_.bits + static_cast<size_t>(dib_.stride) * dib_.height);
  }
  // Where two pictures first differ, for the failure message.
  std::string FirstDifference(const Picture24& other) const {
    const auto a = Bytes(), b = other.Bytes();
    for (size_t i = 0; i < a.size(); ++i) {
      if (a[i] != b[i]) {
        return "x " + std::to_string(i % dib_.stride / 3) + " y " + std::to_string(i / dib_.stride) + ": " +
               std::to_string(a[i]) + " against " + std::to_string(b[i]);
      }
    }
    return "none";
  }

 private:
  gdi::Dib dib_;
  gdi::MemoryDC dc_{nullptr};
  std::optional<gdi::Select> select_;
};

const char* const kTextures[] = {"blocks.jpg", "odd13x5.jpg", "gray.jpg", "progressive.jpg", "big.jpg", "cmyk.jpg"};
struct Size {
  int width, height;
};
// The backdrop of a 1024 x 768 screen, the three header bands, sizes below one tile.
const Size kSizes[] = {{1024, 768}, {463, 122}, {676, 122}, {513, 122}, {7, 3}, {1, 1}};

std::string TestData(const std::string& name) { return std::string(EAR_JPEG_TESTDATA) + "/" + name; }

TEST(BackdropFill, JpegTexturesFillExactlyAsTheTextureBrush) {
  for (const char* texture : kTextures) {
    for (const Size size : kSizes) {
      Picture24 fast(size.width, size.height), brush(size.width, size.height);
      ASSERT_TRUE(backdrop_detail::FillWithJpegTexture(fast.Dc(), TestData(texture), size.width, size.height))
          << texture;
      backdrop_detail::FillWithGdiplusTexture(brush.Dc(), TestData(texture), size.width, size.height);
      EXPECT_TRUE(fast.Bytes() == brush.Bytes())
          << texture << " " << size.width << "x" << size.height << ", first difference " << fast.FirstDifference(brush);
    }
  }
}

TEST(BackdropFill, FrameLiesExactlyWhereTheGdiplusPenDrawsIt) {
  for (const Size size : kSizes) {
    Picture24 fast(size.width, size.height), pen(size.width, size.height);
    backdrop_detail::DrawFrame(fast.Dc(), size.width, size.height);
    backdrop_detail::DrawFrameWithGdiplus(pen.Dc(), size.width, size.height);
    EXPECT_TRUE(fast.Bytes() == pen.Bytes())
        << size.width << "x" << size.height << ", first difference " << fast.FirstDifference(pen);
  }
}

TEST(BackdropFill, WhatTheDecoderRefusesGoesToGdiplusAndAMissingFileLeavesTheFrame) {
  TestFolder folder;
  // A BMP under the texture's name: GDI+ reads it, the JPEG decoder does not.
  const std::string bmp = folder.File("bg.jpg");
  WriteBmp(bmp, 9, 5, [](int x, int y) { return x == 0 && y == 0 ? kRed : Rgb{10, 20 * y, 25 * x}; });
  const std::string missing = folder.Path() + "ない.jpg";
  for (const std::string& file : {bmp, missing}) {
    Picture24 painted(120, 40), expected(120, 40);
    EXPECT_FALSE(backdrop_detail::FillWithJpegTexture(painted.Dc(), file, 120, 40));
    PaintBackdrop(painted.Dc(), file, 120, 40);
    backdrop_detail::FillWithGdiplusTexture(expected.Dc(), file, 120, 40);
    backdrop_detail::DrawFrameWithGdiplus(expected.Dc(), 120, 40);
    EXPECT_TRUE(painted.Bytes() == expected.Bytes()) << file << ", first difference " << painted.FirstDifference(expected);
  }
  Picture24 frameOnly(120, 40), white(120, 40);
  PaintBackdrop(frameOnly.Dc(), missing, 120, 40);
  backdrop_detail::DrawFrame(white.Dc(), 120, 40);
  EXPECT_TRUE(frameOnly.Bytes() == white.Bytes());
}

}  // namespace
}  // namespace ear
