// The painting helpers on real pixels, regions and files under Windows (Wine).
#include "imaging/painting_win.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "base/error.h"
#include "imaging/gdiplus_win.h"
#include "imaging/painting_test_support.h"
#include "imaging/painting_geometry.h"
#include "imaging/rounded_region_model_test.h"

namespace ear {
namespace {

// ---- GDI+ base ----

std::vector<int> releaseLog;
void RecordRelease(int* object) { releaseLog.push_back(*object); }
using Recorded = gdiplus::Holder<int, &RecordRelease>;

TEST(GdiplusHolder, ReleasesInReverseOrderAlsoWhenAStepThrows) {
  int a = 1, b = 2, c = 3;
  releaseLog.clear();
  {
    Recorded first(&a);
    Recorded second(&b);
    Recorded third(&c);
  }
  EXPECT_EQ(releaseLog, (std::vector<int>{3, 2, 1}));

  releaseLog.clear();
  try {
    Recorded first(&a);
    Recorded second(&b);
    throw std::runtime_error("step failed");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(releaseLog, (std::vector<int>{2, 1}));

  // An object that was never made is not released; Put frees what was held before.
  releaseLog.clear();
  {
    Recorded empty;
    Recorded held(&a);
    *held.Put() = &b;
    EXPECT_EQ(releaseLog, (std::vector<int>{1}));
    Recorded moved(std::move(held));
    EXPECT_FALSE(held);
    EXPECT_EQ(moved.Get(), &b);
  }
  EXPECT_EQ(releaseLog, (std::vector<int>{1, 2}));
}

TEST(GdiplusHolder, HoldsRealObjects) {
  gdiplus::Bitmap bitmap;
  ASSERT_EQ(gdiplus::Flat::GdipCreateBitmapFromScan0(4, 4, 0, PixelFormat32bppARGB, nullptr,
                                                     bitmap.Put()),
            Gdiplus::Ok);
  gdiplus::Texture texture;
  EXPECT_EQ(gdiplus::Flat::GdipCreateTexture(bitmap.Get(), Gdiplus::WrapModeTile, texture.Put()),
            Gdiplus::Ok);
  gdiplus::Pen pen;
  EXPECT_EQ(gdiplus::Flat::GdipCreatePen1(0xFF006400, 2.0f, Gdiplus::UnitWorld, pen.Put()),
            Gdiplus::Ok);
  gdiplus::ImageAttributes attributes;
  EXPECT_EQ(gdiplus::Flat::GdipCreateImageAttributes(attributes.Put()), Gdiplus::Ok);
  EXPECT_TRUE(bitmap && texture && pen && attributes);
}

TEST(WideFileName, ConvertsShiftJisThroughTheActiveCodePage) {
  ASSERT_EQ(GetACP(), 932u) << "the tests run with the Japanese code page";
  struct Case { std::string narrow; std::wstring wide; };
  const Case cases[] = {
      {"C:\\##TMP##\\system\\Image\\bg.jpg", L"C:\\##TMP##\\system\\Image\\bg.jpg"},
      {"C:\\\x83\x5C\x83\x74\x83\x67\\a.png", L"C:\\\u30BD\u30D5\u30C8\\a.png"},  // ソフト
      {"表示.bmp", L"\u8868\u793A.bmp"},
      {"", L""},
  };
  for (const auto& c : cases) EXPECT_EQ(gdiplus::WideFileName(c.narrow), c.wide) << c.narrow;
}

// ---- DrawKeyedImage ----

class DrawKeyedImageTest : public ::testing::Test {
 protected:
  TestFolder folder;
};

TEST_F(DrawKeyedImageTest, PureWhiteBecomesTransparentOnly) {
  // Left half white, right half red, with near-white pixels in the white half.
  const std::string file = folder.File("白抜き.bmp");
  WriteBmp(file, 8, 4, [](int x, int y) {
    if (x == 1 && y == 1) return Rgb{254, 255, 255};
    if (x == 2 && y == 2) return Rgb{255, 255, 254};
    return x < 4 ? kWhite : kRed;
  });
  Surface surface(32, 16, kBackground);
  EXPECT_EQ(DrawKeyedImage(surface.Dc(), file, 8, 4, 3, 5, 0), 5);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 8; ++x) {
      Rgb expected = x < 4 ? kBackground : kRed;
      if (x == 1 && y == 1) expected = Rgb{254, 255, 255};
      if (x == 2 && y == 2) expected = Rgb{255, 255, 254};
      EXPECT_TRUE(Near(surface.At(5 + x, 3 + y), expected, 2))
          << x << "," << y << " is " << Show(surface.At(5 + x, 3 + y));
    }
  }
  EXPECT_EQ(surface.CountOther(kBackground), 4 * 4 + 2);
}

TEST_F(DrawKeyedImageTest, FittedPictureLandsInTheComputedRectangle) {
  const std::string blue = folder.File("blue.bmp");
  WriteBmp(blue, 100, 10, [](int, int) { return kBlue; });
  struct Case {
    const char* what;
    int boxWidth, boxHeight, top, askedLeft, centringWidth;
    int left, right, bottom;  // the drawn rectangle, right and bottom exclusive
  };
  const Case cases[] = {
      // 1.7 x: 170 x 17 centred on 647 at 238.5 -> 238.
      {"scaled up, centred", 219, 17, 20, 0, 647, 238, 408, 37},
      {"asked left used", 219, 17, 20, 30, 647, 30, 200, 37},
      {"asked left -1 centres", 219, 17, 20, -1, 647, 238, 408, 37},
      // 0.5 x: 50 x 5 centred on 600 at 275.
      {"scaled down", 50, 40, 4, 0, 600, 275, 325, 9},
      {"exact size", 100, 10, 30, 0, 700, 300, 400, 40},
  };
  for (const auto& c : cases) {
    Surface surface(700, 60, kBackground);
    EXPECT_EQ(DrawKeyedImage(surface.Dc(), blue, c.boxWidth, c.boxHeight, c.top, c.askedLeft,
                             c.centringWidth),
              c.left)
        << c.what;
    // Two pixels of slack on each edge for the interpolation.
    const int midX = (c.left + c.right) / 2;
    const int midY = (c.top + c.bottom) / 2;
    const struct { int x, y; bool inside; } probes[] = {
        {c.left + 2, midY, true},     {c.right - 3, midY, true},   {midX, c.top + 2, true},
        {midX, c.bottom - 3, true},   {c.left + 2, c.top + 2, true},
        {c.right - 3, c.bottom - 3, true},
        {c.left - 3, midY, false},    {c.right + 2, midY, false},  {midX, c.top - 3, false},
        {midX, c.bottom + 2, false},
    };
    for (const auto& p : probes) {
      const Rgb got = surface.At(p.x, p.y);
      EXPECT_TRUE(Near(got, p.inside ? kBlue : kBackground, 8))
          << c.what << ": " << p.x << "," << p.y << " is " << Show(got);
    }
    // Nothing outside the rectangle widened by one pixel.
    for (int y = 0; y < surface.Height(); ++y) {
      for (int x = 0; x < surface.Width(); ++x) {
        if (x >= c.left - 1 && x <= c.right && y >= c.top - 1 && y <= c.bottom) continue;
        ASSERT_TRUE(Near(surface.At(x, y), kBackground, 0)) << c.what << ": " << x << "," << y;
      }
    }
  }
}

TEST_F(DrawKeyedImageTest, ScaledWhiteStaysTransparent) {
  // A black 4 x 4 square in the middle of a white 12 x 12 picture, drawn three times larger.
  const std::string file = folder.File("square.bmp");
  WriteBmp(file, 12, 12, [](int x, int y) {
    return x >= 4 && x < 8 && y >= 4 && y < 8 ? kBlack : kWhite;
  });
  Surface surface(60, 60, kBackground);
  EXPECT_EQ(DrawKeyedImage(surface.Dc(), file, 36, 36, 10, 10, 0), 10);
  // The square covers 22..34; far from it the white has gone.
  EXPECT_TRUE(Near(surface.At(28, 28), kBlack, 8)) << Show(surface.At(28, 28));
  for (const auto& [x, y] : {std::pair{12, 12}, {44, 12}, {12, 44}, {44, 44}, {28, 14}, {14, 28}})
    EXPECT_TRUE(Near(surface.At(x, y), kBackground, 0)) << x << "," << y << " is "
                                                        << Show(surface.At(x, y));
}

TEST_F(DrawKeyedImageTest, MissingFileReturnsZeroAndDrawsNothing) {
  Surface surface(40, 20, kBackground);
  for (const std::string& name : {folder.Path() + "ない.bmp", folder.Path()}) {
    EXPECT_EQ(DrawKeyedImage(surface.Dc(), name, 20, 10, 0, 5, 40), 0) << name;
  }
  EXPECT_EQ(surface.CountOther(kBackground), 0);
}

TEST_F(DrawKeyedImageTest, ProbeErrorPassesThroughBeforeDrawing) {
  const std::string file = folder.File("偽物.bmp");
  std::vector<unsigned char> bytes = BmpBytes(4, 4, [](int, int) { return kRed; });
  bytes[0] = 'X';
  WriteBytes(file, bytes);
  Surface surface(40, 20, kBackground);
  try {
    DrawKeyedImage(surface.Dc(), file, 20, 10, 0, 5, 40);
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.Message().rfind(file, 0), 0u) << e.Message();
  }
  EXPECT_EQ(surface.CountOther(kBackground), 0);
}

TEST_F(DrawKeyedImageTest, UndecodablePictureDrawsNothingButReturnsTheLeftEdge) {
  // The header passes the probe; the bit depth and compression do not exist.
  const std::string file = folder.File("壊れ.bmp");
  std::vector<unsigned char> bytes = BmpBytes(10, 4, [](int, int) { return kRed; });
  bytes[28] = 7;
  bytes[30] = 42;
  WriteBytes(file, bytes);
  Surface surface(60, 20, kBackground);
  // 10 x 4 in 20 x 4: 1 x, centred on 60 at 25.
  EXPECT_EQ(DrawKeyedImage(surface.Dc(), file, 20, 4, 0, 0, 60), 25);
  EXPECT_EQ(surface.CountOther(kBackground), 0);
}

// ---- Rounded region ----

class TestWindow {
 public:
  TestWindow(DWORD style, int width, int height) {
    static const ATOM atom = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = DefWindowProcW;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = L"EarPaintingTest";
      wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
      return RegisterClassW(&wc);
    }();
    (void)atom;
    hwnd_ = CreateWindowExW(0, L"EarPaintingTest", L"painting", style, 0, 0, width, height,
                            nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  ~TestWindow() { DestroyWindow(hwnd_); }
  HWND Handle() const { return hwnd_; }

 private:
  HWND hwnd_ = nullptr;
};

// A copy of the window's region; empty when it has none.
gdi::Region WindowRegion(HWND window) {
  gdi::Region region(CreateRectRgn(0, 0, 0, 0));
  if (GetWindowRgn(window, region.Get()) == ERROR) region.Reset();
  return region;
}

TEST(ApplyRoundedRegion, WizardWindowLosesItsCorners) {
  TestWindow window(WS_POPUP, 647, 501);
  ASSERT_NE(window.Handle(), nullptr);
  ApplyRoundedRegion(window.Handle());
  const gdi::Region owned = WindowRegion(window.Handle());
  ASSERT_TRUE(owned);
  const HRGN region = owned.Get();
  // The system's round rectangles leave out the last column and row.
  RECT box{};
  GetRgnBox(region, &box);
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.top, 0);
  EXPECT_EQ(box.right, 646);
  EXPECT_EQ(box.bottom, 500);
  const struct { int x, y; bool inside; } points[] = {
      {0, 0, false},    {645, 0, false},   {0, 499, false},  {645, 499, false},
      {646, 500, false}, {323, 250, true}, {323, 0, true},   {0, 250, true},
      {645, 250, true}, {323, 499, true},  {2, 2, false},    {5, 5, true},
  };
  for (const auto& p : points)
    EXPECT_EQ(PtInRegion(region, p.x, p.y) != 0, p.inside) << p.x << "," << p.y;
}

TEST(ApplyRoundedRegion, EveryPixelAgreesWithQuarterEllipsesOfRadius10) {
  const struct { int width, height; } sizes[] = {{647, 501}, {513, 400}, {30, 30}, {16, 12}};
  for (const auto& size : sizes) {
    TestWindow window(WS_POPUP, size.width, size.height);
    ApplyRoundedRegion(window.Handle());
    const gdi::Region owned = WindowRegion(window.Handle());
    ASSERT_TRUE(owned) << size.width << "x" << size.height;
    const HRGN region = owned.Get();
    int outside = 0;
    for (int y = -1; y <= size.height; ++y) {
      for (int x = -1; x <= size.width; ++x) {
        using testing_model::RegionPlace;
        const RegionPlace place = testing_model::PlaceInRoundedRect(x, y, size.width, size.height, 20);
        if (place == RegionPlace::Border) continue;
        const bool inside = PtInRegion(region, x, y) != 0;
        outside += inside ? 0 : 1;
        ASSERT_EQ(inside, place == RegionPlace::Inside)
            << x << "," << y << " in " << size.width << "x" << size.height;
      }
    }
    EXPECT_GT(outside, 2 * (size.width + size.height) + 4 * 10) << size.width << "x" << size.height;
    }
}

TEST(ApplyRoundedRegion, TakesTheOuterSizeNotTheClientArea) {
  TestWindow window(WS_OVERLAPPEDWINDOW, 400, 300);
  ASSERT_NE(window.Handle(), nullptr);
  RECT client{};
  GetClientRect(window.Handle(), &client);
  ASSERT_LT(client.right, 399);
  ApplyRoundedRegion(window.Handle());
  const gdi::Region owned = WindowRegion(window.Handle());
  ASSERT_TRUE(owned);
  const HRGN region = owned.Get();
  RECT box{};
  GetRgnBox(region, &box);
  EXPECT_EQ(box.right, 399);
  EXPECT_EQ(box.bottom, 299);
}

}  // namespace
}  // namespace ear
