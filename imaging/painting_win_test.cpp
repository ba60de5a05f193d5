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
#include "forms/application.h"
#include "forms/form.h"
#include "forms/picture.h"
#include "imaging/gdiplus_win.h"
#include "imaging/painting_geometry.h"

namespace ear {
namespace {

class GdiplusEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { session_ = std::make_unique<gdiplus::Session>(); }
  void TearDown() override { session_.reset(); }

 private:
  std::unique_ptr<gdiplus::Session> session_;
};
[[maybe_unused]] auto* const gdiplusEnvironment =
    ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

struct Rgb {
  int r, g, b;
};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kRed{200, 0, 0};
constexpr Rgb kBlue{0, 0, 200};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kBackground{10, 120, 30};

bool Near(Rgb a, Rgb b, int tolerance) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
         std::abs(a.b - b.b) <= tolerance;
}
std::string Show(Rgb c) {
  char text[40];
  std::snprintf(text, sizeof text, "(%d,%d,%d)", c.r, c.g, c.b);
  return text;
}

void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
  const HANDLE file = CreateFileW(gdiplus::WideFileName(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create " + path);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

// A 24-bit bottom-up BMP with the 40-byte header, pixels from a function of (x, y).
std::vector<unsigned char> BmpBytes(int width, int height,
                                    const std::function<Rgb(int, int)>& pixel) {
  const int stride = (width * 3 + 3) / 4 * 4;
  std::vector<unsigned char> bytes(54 + static_cast<std::size_t>(stride) * height);
  auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<unsigned char>(v >> (8 * i));
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(2, static_cast<std::uint32_t>(bytes.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(width));
  put32(22, static_cast<std::uint32_t>(height));
  bytes[26] = 1;   // planes
  bytes[28] = 24;  // bits per pixel
  put32(34, static_cast<std::uint32_t>(stride * height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Rgb c = pixel(x, y);
      const std::size_t at = 54 + static_cast<std::size_t>(height - 1 - y) * stride + x * 3;
      bytes[at] = static_cast<unsigned char>(c.b);
      bytes[at + 1] = static_cast<unsigned char>(c.g);
      bytes[at + 2] = static_cast<unsigned char>(c.r);
    }
  }
  return bytes;
}

void WriteBmp(const std::string& path, int width, int height,
              const std::function<Rgb(int, int)>& pixel) {
  WriteBytes(path, BmpBytes(width, height, pixel));
}

// A folder of its own with a Shift-JIS name, so the file names go through the widening.
class TestFolder {
 public:
  TestFolder() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    path_ = std::string(temp) + "描画テスト" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryW(gdiplus::WideFileName(path_).c_str(), nullptr);
  }
  ~TestFolder() {
    for (const auto& file : files_) DeleteFileW(gdiplus::WideFileName(file).c_str());
    RemoveDirectoryW(gdiplus::WideFileName(path_).c_str());
  }
  std::string File(const std::string& name) {
    files_.push_back(path_ + name);
    return files_.back();
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  std::vector<std::string> files_;
};

// A 32-bit top-down DIB section filled with one colour, readable pixel by pixel.
class Surface {
 public:
  Surface(int width, int height, Rgb fill) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<std::uint32_t*>(bits);
    dc_ = CreateCompatibleDC(nullptr);
    old_ = SelectObject(dc_, bitmap_);
    const std::uint32_t value = (fill.r << 16) | (fill.g << 8) | fill.b;
    for (int i = 0; i < width * height; ++i) bits_[i] = value;
  }
  ~Surface() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
  }
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  HDC Dc() const { return dc_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  Rgb At(int x, int y) const {
    GdiFlush();
    const std::uint32_t v = bits_[y * width_ + x];
    return Rgb{static_cast<int>((v >> 16) & 0xFF), static_cast<int>((v >> 8) & 0xFF),
               static_cast<int>(v & 0xFF)};
  }
  // Pixels that differ from the colour, counted.
  int CountOther(Rgb colour) const {
    int count = 0;
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) count += Near(At(x, y), colour, 0) ? 0 : 1;
    return count;
  }

 private:
  int width_, height_;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  HDC dc_ = nullptr;
  std::uint32_t* bits_ = nullptr;
};

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

// ---- On the framework's picture controls and forms ----

Rgb CanvasAt(forms::Image& image, int x, int y) {
  const COLORREF c = GetPixel(image.Canvas(), x, y);
  return Rgb{GetRValue(c), GetGValue(c), GetBValue(c)};
}

TEST_F(DrawKeyedImageTest, DrawsOnThePictureControlsSurface) {
  // Artwork in the control: green; a white-framed red 8 x 4 picture drawn 2 x at 10, 6.
  const std::string art = folder.File("art.bmp");
  WriteBmp(art, 40, 20, [](int, int) { return kBackground; });
  const std::string logo = folder.File("logo.bmp");
  WriteBmp(logo, 8, 4, [](int x, int y) { return x == 0 || y == 0 ? kWhite : kRed; });
  forms::Image image;
  image.SetBounds(0, 0, 40, 20);
  image.picture.LoadFromFile(art);
  EXPECT_EQ(DrawKeyedImage(image, logo, 16, 8, 6, 10, 0), 10);
  EXPECT_TRUE(Near(CanvasAt(image, 20, 10), kRed, 8)) << Show(CanvasAt(image, 20, 10));
  EXPECT_TRUE(Near(CanvasAt(image, 24, 12), kRed, 8)) << Show(CanvasAt(image, 24, 12));
  EXPECT_TRUE(Near(CanvasAt(image, 10, 10), kBackground, 0)) << Show(CanvasAt(image, 10, 10));
  EXPECT_TRUE(Near(CanvasAt(image, 20, 6), kBackground, 0)) << Show(CanvasAt(image, 20, 6));
  EXPECT_TRUE(Near(CanvasAt(image, 5, 3), kBackground, 0));
  EXPECT_TRUE(Near(CanvasAt(image, 30, 16), kBackground, 0));
}

TEST_F(DrawKeyedImageTest, EmptyControlGetsItsSurfaceOnlyWhenDrawing) {
  const std::string bad = folder.File("bad.png");
  WriteBytes(bad, {'n', 'o', 't', ' ', 'p', 'n', 'g'});
  forms::Image image;
  image.SetBounds(0, 0, 30, 12);
  EXPECT_EQ(DrawKeyedImage(image, folder.Path() + "missing.bmp", 10, 10, 0, 0, 30), 0);
  EXPECT_TRUE(image.picture.Empty());
  EXPECT_THROW(DrawKeyedImage(image, bad, 10, 10, 0, 0, 30), Error);
  EXPECT_TRUE(image.picture.Empty());

  const std::string logo = folder.File("red.bmp");
  WriteBmp(logo, 5, 5, [](int, int) { return kRed; });
  // 5 x 5 fitted into 10 x 10, centred on 30 at 10.
  EXPECT_EQ(DrawKeyedImage(image, logo, 10, 10, 1, 0, 30), 10);
  ASSERT_EQ(image.picture.GetKind(), forms::Picture::Kind::Bitmap);
  EXPECT_EQ(image.picture.Width(), 30);
  EXPECT_EQ(image.picture.Height(), 12);
  EXPECT_TRUE(Near(CanvasAt(image, 15, 6), kRed, 8)) << Show(CanvasAt(image, 15, 6));
  EXPECT_TRUE(Near(CanvasAt(image, 5, 6), kWhite, 0)) << Show(CanvasAt(image, 5, 6));
}

class CenterImageByFileTest : public ::testing::Test {
 protected:
  TestFolder folder;
  forms::Form screen;
  forms::Image image{&screen, {.name = "TejunImg", .bounds = {5, 7, 50, 40}}};
};

TEST_F(CenterImageByFileTest, MovesTheControlAndLoadsThePicture) {
  struct Case { int screenWidth, pictureWidth, left; };
  const Case cases[] = {{640, 860, -110}, {647, 100, 274}, {645, 100, 272}, {513, 513, 0}};
  for (const auto& c : cases) {
    const std::string file = folder.File("手順" + std::to_string(c.pictureWidth) + ".bmp");
    WriteBmp(file, c.pictureWidth, 3, [](int, int) { return kBlue; });
    screen.SetBounds(0, 0, c.screenWidth, 400);
    image.picture.Clear();
    image.SetBounds(5, 7, 50, 40);
    CenterImageByFile(screen, image, file);
    EXPECT_EQ(image.Left(), c.left) << c.screenWidth << " " << c.pictureWidth;
    EXPECT_EQ(image.Top(), 7);
    EXPECT_EQ(image.picture.Width(), c.pictureWidth);
    EXPECT_EQ(image.picture.Height(), 3);
  }
}

TEST_F(CenterImageByFileTest, MissingOrRejectedFileMovesNothing) {
  screen.SetBounds(0, 0, 640, 400);
  CenterImageByFile(screen, image, folder.Path() + "ない.jpg");
  EXPECT_EQ(image.Left(), 5);
  EXPECT_TRUE(image.picture.Empty());

  const std::string bad = folder.File("偽.bmp");
  WriteBytes(bad, {'B', 'X', 0, 0});
  try {
    CenterImageByFile(screen, image, bad);
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.Message().rfind(bad, 0), 0u) << e.Message();
  }
  EXPECT_EQ(image.Left(), 5);
  EXPECT_TRUE(image.picture.Empty());
}

// A borderless screen with artwork and keyed pictures, rounded once shown, as the wizard does.
class KeyedScreen : public forms::Form {
 public:
  forms::Image art{this, {.name = "Image1", .bounds = {0, 0, 647, 300}}};
  bool afterShown = false;

 protected:
  void FormShow() override { PostMessageW(Handle(), forms::WM_AFTERSHOW, 0, 0); }
  void AfterShow() override {
    ApplyRoundedRegion(Handle());
    afterShown = true;
  }
};

Rgb ScreenAt(int x, int y) {
  const HDC dc = GetDC(nullptr);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(nullptr, dc);
  return Rgb{GetRValue(c), GetGValue(c), GetBValue(c)};
}

TEST_F(DrawKeyedImageTest, ShownOnScreenWithRoundedCorners) {
  constexpr Rgb kStripeA{0, 148, 215};
  constexpr Rgb kStripeB{240, 200, 0};
  const std::string art = folder.File("stripes.bmp");
  WriteBmp(art, 647, 300, [&](int x, int) { return (x / 8) % 2 ? kStripeB : kStripeA; });
  // A red plate with a white hole and a near-white bar, on a white ground.
  const std::string logo = folder.File("ロゴ.bmp");
  WriteBmp(logo, 60, 20, [](int x, int y) {
    if (x < 15 || x >= 45 || y < 5 || y >= 15) return kWhite;
    if (x >= 26 && x < 34 && y >= 8 && y < 12) return kWhite;
    if (x >= 18 && x < 22) return Rgb{254, 255, 255};
    return kRed;
  });
  KeyedScreen screen;
  screen.SetBounds(40, 30, 647, 300);
  screen.art.picture.LoadFromFile(art);
  // 3.5 x: 210 x 70, centred on 647 at 218.5 -> 218.
  EXPECT_EQ(DrawKeyedImage(screen.art, logo, 219, 70, 100, 0, 647), 218);
  // 1.5 x: 90 x 30 at the asked left 20.
  EXPECT_EQ(DrawKeyedImage(screen.art, logo, 100, 30, 220, 20, 647), 20);
  screen.ShowForm();
  for (int i = 0; i < 200 && !screen.afterShown; ++i) {
    forms::App().ProcessMessages();
    Sleep(5);
  }
  ASSERT_TRUE(screen.afterShown);
  forms::App().ProcessMessages();
  RedrawWindow(screen.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Sleep(200);
  forms::App().ProcessMessages();

  const int ox = 40, oy = 30;
  // The plate in its scaled place; the hole and the ground show the stripes.
  const Rgb plate = ScreenAt(ox + 218 + 40 * 7 / 2, oy + 100 + 6 * 7 / 2);
  EXPECT_TRUE(Near(plate, kRed, 8)) << Show(plate);
  const Rgb nearWhite = ScreenAt(ox + 218 + 20 * 7 / 2, oy + 100 + 10 * 7 / 2);
  EXPECT_TRUE(Near(nearWhite, Rgb{254, 255, 255}, 2)) << Show(nearWhite);
  for (const auto& [x, y] : {std::pair{218 + 30 * 7 / 2, 100 + 10 * 7 / 2}, {225, 105},
                             {420, 160}, {60, 225}}) {
    const Rgb at = ScreenAt(ox + x, oy + y);
    const Rgb expected = (x / 8) % 2 ? kStripeB : kStripeA;
    EXPECT_TRUE(Near(at, expected, 0)) << x << "," << y << " is " << Show(at);
  }
  // Rounded corners: the window's corner pixels show what lies behind it.
  for (const auto& [x, y] : {std::pair{0, 0}, {645, 0}, {0, 298}, {645, 298}}) {
    const Rgb at = ScreenAt(ox + x, oy + y);
    EXPECT_FALSE(Near(at, kStripeA, 0) || Near(at, kStripeB, 0)) << x << "," << y;
  }
  // EAR_PAINTING_HOLD_MS keeps the window up for a screenshot.
  if (const char* hold = std::getenv("EAR_PAINTING_HOLD_MS")) Sleep(std::atoi(hold));
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

// The window's region, as a new region handle owned by the caller.
HRGN WindowRegion(HWND window) {
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  if (GetWindowRgn(window, region) == ERROR) {
    DeleteObject(region);
    return nullptr;
  }
  return region;
}

TEST(ApplyRoundedRegion, WizardWindowLosesItsCorners) {
  TestWindow window(WS_POPUP, 647, 501);
  ASSERT_NE(window.Handle(), nullptr);
  ApplyRoundedRegion(window.Handle());
  const HRGN region = WindowRegion(window.Handle());
  ASSERT_NE(region, nullptr);
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
  DeleteObject(region);
}

TEST(ApplyRoundedRegion, EveryPixelAgreesWithQuarterEllipsesOfRadius10) {
  const struct { int width, height; } sizes[] = {{647, 501}, {513, 400}, {30, 30}, {16, 12}};
  for (const auto& size : sizes) {
    TestWindow window(WS_POPUP, size.width, size.height);
    ApplyRoundedRegion(window.Handle());
    const HRGN region = WindowRegion(window.Handle());
    ASSERT_NE(region, nullptr) << size.width << "x" << size.height;
    int outside = 0;
    for (int y = -1; y <= size.height; ++y) {
      for (int x = -1; x <= size.width; ++x) {
        const RegionPlace place = PlaceInRoundedRect(x, y, size.width, size.height, 20);
        if (place == RegionPlace::Border) continue;
        const bool inside = PtInRegion(region, x, y) != 0;
        outside += inside ? 0 : 1;
        ASSERT_EQ(inside, place == RegionPlace::Inside)
            << x << "," << y << " in " << size.width << "x" << size.height;
      }
    }
    EXPECT_GT(outside, 2 * (size.width + size.height) + 4 * 10) << size.width << "x" << size.height;
    DeleteObject(region);
  }
}

TEST(ApplyRoundedRegion, TakesTheOuterSizeNotTheClientArea) {
  TestWindow window(WS_OVERLAPPEDWINDOW, 400, 300);
  ASSERT_NE(window.Handle(), nullptr);
  RECT client{};
  GetClientRect(window.Handle(), &client);
  ASSERT_LT(client.right, 399);
  ApplyRoundedRegion(window.Handle());
  const HRGN region = WindowRegion(window.Handle());
  ASSERT_NE(region, nullptr);
  RECT box{};
  GetRgnBox(region, &box);
  EXPECT_EQ(box.right, 399);
  EXPECT_EQ(box.bottom, 299);
  DeleteObject(region);
}

}  // namespace
}  // namespace ear
