// The painting routines on the framework's picture controls and forms.
#include "screens/screen_painting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>

#include "base/error.h"
#include "forms/application.h"
#include "forms/form_snapshot_win.h"
#include "imaging/backdrop_win.h"
#include "imaging/painting_win.h"
#include "imaging/painting_test_support.h"

namespace ear {
namespace {

class DrawKeyedImageTest : public ::testing::Test {
 protected:
  TestFolder folder;
};

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
  const ear::gdi::WindowDC screen;
  const COLORREF c = GetPixel(screen.Get(), x, y);
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

// The backdrop on an empty control, drawn at each paint without a bitmap, against the same
// routine drawn onto a bitmap: the tiles must start 10 pixels right of the control's own left
// edge also when the control sits inside its form, and drawing on it later needs its pixels.
TEST(PaintBackdropOnAControl, AnEmptyControlKeepsTheDrawingAndShowsTheBitmapsPixels) {
  const std::string texture = std::string(EAR_JPEG_TESTDATA) + "/blocks.jpg";  // 24 x 16
  constexpr int kW = 100, kH = 40, kLeft = 7, kTop = 5;
  gdi::Dib expected = gdi::CreateDib(kW, kH, 32);
  std::fill_n(expected.bits, static_cast<std::size_t>(expected.stride) * kH, 0xFF);
  {
    const gdi::MemoryDC dc(nullptr);
    const gdi::Select select(dc.Get(), expected.bitmap.Get());
    PaintBackdrop(dc.Get(), texture, kW, kH);
    GdiFlush();
  }
  auto expectedAt = [&](int x, int y) {
    const BYTE* p = expected.bits + y * expected.stride + x * 4;
    return Rgb{p[2], p[1], p[0]};
  };

  forms::Form form;
  form.SetBounds(0, 0, 130, 60);
  forms::Image band{&form, {.name = "TRImg", .bounds = {kLeft, kTop, kW, kH}}};
  PaintBackdrop(band, texture, kW, kH);
  ASSERT_EQ(band.picture.GetKind(), forms::Picture::Kind::Drawn);
  EXPECT_EQ(band.picture.Width(), kW);
  EXPECT_EQ(band.picture.Height(), kH);
  const forms::FormSnapshot shot = forms::SnapshotForm(form);
  int differing = 0;
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      const std::uint32_t v = shot.Pixel(kLeft + x, kTop + y);
      const Rgb got{static_cast<int>((v >> 16) & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>(v & 0xFF)};
      if (!Near(got, expectedAt(x, y), 0) && differing++ < 3) {
        ADD_FAILURE() << "shown " << x << "," << y << " " << Show(got) << " drawn " << Show(expectedAt(x, y));
      }
    }
  }
  EXPECT_EQ(differing, 0);

  // Asking for its surface turns the drawing into the bitmap it stands for.
  ASSERT_NE(band.Canvas(), nullptr);
  EXPECT_EQ(band.picture.GetKind(), forms::Picture::Kind::Bitmap);
  for (const auto& [x, y] : {std::pair{0, 0}, {9, 20}, {10, 20}, {57, 33}, {99, 39}}) {
    EXPECT_TRUE(Near(CanvasAt(band, x, y), expectedAt(x, y), 0)) << x << "," << y;
  }

  // Painting again, and a texture GDI+ must read, draw on a bitmap as before.
  PaintBackdrop(band, texture, kW, kH);
  EXPECT_EQ(band.picture.GetKind(), forms::Picture::Kind::Bitmap);
  TestFolder folder;
  const std::string bmp = folder.File("tile.bmp");
  WriteBmp(bmp, 4, 4, [](int, int) { return kRed; });
  forms::Image other{&form, {.name = "Other", .bounds = {0, 0, 20, 10}}};
  PaintBackdrop(other, bmp, 20, 10);
  EXPECT_EQ(other.picture.GetKind(), forms::Picture::Kind::Bitmap);
  EXPECT_TRUE(Near(CanvasAt(other, 5, 5), kRed, 0)) << Show(CanvasAt(other, 5, 5));
}

}  // namespace
}  // namespace ear
