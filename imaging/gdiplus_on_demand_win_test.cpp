// The launcher's GDI+ session starts on first use: a title whose pictures are all copied
// never loads gdiplus.dll; the first picture that needs GDI+ starts it, and it then stays.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/gdi.h"
#include "imaging/gdiplus_win.h"
#include "imaging/painting_win.h"

namespace ear {
namespace {

bool GdiplusLoaded() { return GetModuleHandleW(L"gdiplus.dll") != nullptr; }

TEST(GdiplusOnDemand, StartsOnlyForAPictureACopyCannotDraw) {
  ASSERT_FALSE(GdiplusLoaded()) << "nothing in this test program may load GDI+ before the session";
  EXPECT_FALSE(gdiplus::EnsureStarted()) << "no session, no GDI+";
  ASSERT_FALSE(GdiplusLoaded());

  gdiplus::Session session(gdiplus::Session::StartAt::firstUse);
  gdi::Dib dib = gdi::CreateDib24(64, 40);
  const gdi::MemoryDC dc(nullptr);
  const gdi::Select select(dc.Get(), dib.bitmap.Get());
  const std::string testdata = EAR_JPEG_TESTDATA;

  // A JPEG at its own size (24 × 16 in a 24 × 16 box) is copied.
  EXPECT_EQ(DrawKeyedImage(dc.Get(), testdata + "/blocks.jpg", 24, 16, 0, 1, 0), 1);
  GdiFlush();
  EXPECT_EQ(dib.bits[3 * 3 + 2], 254) << "the red block is drawn";  // row 0, x 3: red
  // So is a PNG with fully transparent pixels (a 10 × 4 palette picture in its own box).
  EXPECT_EQ(DrawKeyedImage(dc.Get(), std::string(EAR_PNG_TESTDATA) + "/palette_keyed.png", 10, 4, 30, 2, 0), 2);
  EXPECT_FALSE(GdiplusLoaded());
  EXPECT_FALSE(session.Started());

  // Scaled up twice, it needs GDI+'s interpolation: GDI+ starts and draws.
  EXPECT_EQ(DrawKeyedImage(dc.Get(), testdata + "/odd13x5.jpg", 26, 10, 20, 30, 0), 30);
  EXPECT_TRUE(GdiplusLoaded());
  EXPECT_TRUE(session.Started());
  GdiFlush();
  const BYTE* drawn = dib.bits + 25 * dib.stride + 40 * 3;
  EXPECT_NE(drawn[0] + drawn[1] + drawn[2], 0) << "the scaled picture is drawn";
}

}  // namespace
}  // namespace ear
