// Our decoder against GDI+ on the same files: every picture it takes on must come out
// pixel for pixel as GDI+ loads it, or the fast path would change what the screens show.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

#include "imaging/gdiplus_win.h"
#include "imaging/painting_test_support.h"
#include "imaging/png/png_decode.h"
#include "imaging/png/png_test_writer.h"

namespace ear {
namespace {

using pngtest::Bytes;

// Loads the bytes through GDI+ from a file, as the screens do, and compares its 32-bit ARGB
// pixels with ours; where GDI+ says alpha 0 only the alpha is compared.
void ExpectSameAsGdiplus(const Bytes& bytes) {
  const auto ours = DecodePng(bytes.data(), bytes.size());
  ASSERT_TRUE(ours.has_value());
  TestFolder folder;
  const std::string path = folder.File("タイトル.png");
  WriteBytes(path, bytes);
  gdiplus::Bitmap bitmap;
  ASSERT_EQ(gdiplus::Flat::GdipCreateBitmapFromFile(gdiplus::WideFileName(path).c_str(), bitmap.Put()), Gdiplus::Ok)
      << "GDI+ refuses it";
  UINT width = 0, height = 0;
  gdiplus::Flat::GdipGetImageWidth(reinterpret_cast<gdiplus::GpImage*>(bitmap.Get()), &width);
  gdiplus::Flat::GdipGetImageHeight(reinterpret_cast<gdiplus::GpImage*>(bitmap.Get()), &height);
  ASSERT_EQ(static_cast<int>(width), ours->width);
  ASSERT_EQ(static_cast<int>(height), ours->height);
  const Gdiplus::Rect all(0, 0, ours->width, ours->height);
  Gdiplus::BitmapData data{};
  ASSERT_EQ(gdiplus::Flat::GdipBitmapLockBits(bitmap.Get(), &all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data),
            Gdiplus::Ok);
  int wrong = 0;
  for (int y = 0; y < ours->height; ++y) {
    const auto* theirs = static_cast<const unsigned char*>(data.Scan0) + static_cast<std::ptrdiff_t>(data.Stride) * y;
    const unsigned char* mine = ours->Row(y);
    for (int x = 0; x < ours->width; ++x) {
      const unsigned char* a = theirs + 4 * x;
      const unsigned char* b = mine + 4 * x;
      const bool same = a[3] == 0 ? b[3] == 0 : std::equal(a, a + 4, b);
      if (!same && ++wrong <= 3) {
        ADD_FAILURE() << "pixel " << x << "," << y << " B G R A: GDI+ " << int{a[0]} << " " << int{a[1]} << " "
                      << int{a[2]} << " " << int{a[3]} << ", ours " << int{b[0]} << " " << int{b[1]} << " "
                      << int{b[2]} << " " << int{b[3]};
      }
    }
  }
  gdiplus::Flat::GdipBitmapUnlockBits(bitmap.Get(), &data);
  bitmap.Reset();  // the file is deleted with the folder
  EXPECT_EQ(wrong, 0);
}

TEST(DecodePngAgainstGdiplus, EveryPictureKindWeTakeOn) {
  for (const auto& [name, png] : pngtest::AcceptedPictures()) {
    SCOPED_TRACE(name);
    ExpectSameAsGdiplus(pngtest::WritePng(png));
  }
}

TEST(DecodePngAgainstGdiplus, FilesMadeByImageMagick) {
  for (const char* name : {"rgb.png", "palette_keyed.png", "grey.png", "interlaced.png"}) {
    SCOPED_TRACE(name);
    std::ifstream in(std::string(EAR_PNG_TESTDATA) + "/" + name, std::ios::binary);
    ASSERT_TRUE(in.good());
    ExpectSameAsGdiplus(Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
  }
}

}  // namespace
}  // namespace ear
