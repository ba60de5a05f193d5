// A form painted into memory while its window stays hidden: colours, z-order, regions, the
// edit's own painting, and the PNG file read back through GDI+.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>

#include "forms/form_snapshot_win.h"
#include "forms/picture.h"
#include "forms/standard_controls.h"
#include "imaging/gdiplus_win.h"

namespace forms {
namespace {

// Colours as the framework takes them (0x00BBGGRR) and as the snapshot gives them (0xAARRGGBB).
constexpr Color kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000, kYellow = 0x00FFFF;
constexpr std::uint32_t kRedPx = 0xFFFF0000, kGreenPx = 0xFF00FF00, kBluePx = 0xFF0000FF, kYellowPx = 0xFFFFFF00,
                        kMagentaPx = 0xFFFF00FF, kWhitePx = 0xFFFFFFFF;

class Palette : public Form {
 public:
  Palette() : Form(nullptr, {.name = "Palette", .clientWidth = 200, .clientHeight = 120, .left = 40, .top = 30,
                             .color = kRed, .text = "Palette"}) {}
  Panel Low{this, {.name = "Low", .bounds = {20, 10, 80, 40}, .color = kGreen}, {.bevelOuter = BevelCut::None}};
  Panel High{this, {.name = "High", .bounds = {60, 30, 80, 40}, .color = kBlue}, {.bevelOuter = BevelCut::None}};
  Panel Inner{&Low, {.name = "Inner", .bounds = {5, 5, 20, 20}, .color = kYellow}, {.bevelOuter = BevelCut::None}};
  Image Swatch{this, {.name = "Swatch", .bounds = {150, 80, 30, 20}}};
  Panel Hidden{this, {.name = "Hidden", .bounds = {0, 90, 40, 30}, .color = kBlue, .visible = false},
               {.bevelOuter = BevelCut::None}};
  Edit Field{this, {.name = "Field", .bounds = {110, 5, 80, 22}}};
};

std::uint32_t Argb(COLORREF c) { return 0xFF000000u | GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c); }

class FormSnapshotTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gdiplus.Started());
    // The form's windows first: a child's Handle() asked before its parent's makes a second
    // window for the child (control_tree.cpp).
    form.Handle();
    HDC canvas = form.Swatch.Canvas();  // a white bitmap of the control's size
    RECT all{0, 0, 30, 20};
    HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
    FillRect(canvas, &all, magenta);
    DeleteObject(magenta);
  }
  void Raise(WinControl& c) {
    SetWindowPos(c.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  ear::gdiplus::Session gdiplus;
  Palette form;
};

TEST_F(FormSnapshotTest, PaintsEveryVisibleWindowInZOrderWithoutShowingTheForm) {
  Raise(form.High);
  FormSnapshot shot = SnapshotForm(form);
  ASSERT_EQ(shot.width, 200);
  ASSERT_EQ(shot.height, 120);
  EXPECT_EQ(shot.Pixel(2, 60), kRedPx);      // the form's own colour
  EXPECT_EQ(shot.Pixel(90, 15), kGreenPx);   // Low
  EXPECT_EQ(shot.Pixel(30, 20), kYellowPx);  // Inner, a window in Low
  EXPECT_EQ(shot.Pixel(70, 40), kBluePx);    // High over Low
  EXPECT_EQ(shot.Pixel(160, 90), kMagentaPx);  // a graphic control, painted by the form
  EXPECT_EQ(shot.Pixel(10, 100), kRedPx);    // the hidden panel is not there
  EXPECT_EQ(shot.Pixel(199, 119), kRedPx);
  Raise(form.Low);
  shot = SnapshotForm(form);
  EXPECT_EQ(shot.Pixel(70, 40), kGreenPx);  // now Low over High
  EXPECT_EQ(shot.Pixel(130, 60), kBluePx);
  // Never shown, moved or activated.
  EXPECT_FALSE(IsWindowVisible(form.Handle()));
  RECT r;
  GetWindowRect(form.Handle(), &r);
  EXPECT_EQ(r.left, 40);
  EXPECT_EQ(r.top, 30);
  EXPECT_NE(GetActiveWindow(), form.Handle());
}

TEST_F(FormSnapshotTest, TheEditPaintsItselfInsideItsSunkenEdge) {
  FormSnapshot empty = SnapshotForm(form);
  const std::uint32_t shadow = Argb(GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(empty.Pixel(110, 5), shadow);  // the edge's outer top-left line
  EXPECT_EQ(empty.Pixel(150, 5), shadow);
  EXPECT_EQ(empty.Pixel(150, 16), Argb(GetSysColor(COLOR_WINDOW)));
  form.Field.SetText("WWWW");
  const FormSnapshot text = SnapshotForm(form);
  int dark = 0, darkBefore = 0;
  for (int y = 8; y < 24; ++y) {
    for (int x = 113; x < 150; ++x) {
      dark += (text.Pixel(x, y) & 0xFFFFFF) < 0x404040;
      darkBefore += (empty.Pixel(x, y) & 0xFFFFFF) < 0x404040;
    }
  }
  EXPECT_GT(dark, 20);
  EXPECT_EQ(darkBefore, 0);
}

TEST_F(FormSnapshotTest, RegionsClipChildrenAndCutTheFormsCornersOut) {
  Raise(form.High);
  SetWindowRgn(form.High.Handle(), CreateRectRgn(0, 0, 10, 10), FALSE);
  SetWindowRgn(form.Handle(), CreateRoundRectRgn(0, 0, 201, 121, 20, 20), FALSE);
  const FormSnapshot shot = SnapshotForm(form);
  EXPECT_EQ(shot.Pixel(62, 32), kBluePx);    // inside High's region
  EXPECT_EQ(shot.Pixel(75, 40), kGreenPx);   // outside it: Low shows through
  EXPECT_EQ(shot.Pixel(120, 60), kRedPx);
  for (auto [x, y] : {std::pair{0, 0}, {199, 0}, {0, 119}, {199, 119}, {2, 1}}) {
    EXPECT_EQ(shot.Pixel(x, y), 0u) << x << "," << y;  // transparent corners
  }
  EXPECT_EQ(shot.Pixel(10, 10), kRedPx);
  EXPECT_EQ(shot.Pixel(0, 60), kRedPx);
  EXPECT_EQ(shot.Pixel(199, 60), kRedPx);
}

TEST_F(FormSnapshotTest, ThePngFileHoldsTheSnapshotWithItsTransparency) {
  SetWindowRgn(form.Handle(), CreateRoundRectRgn(0, 0, 201, 121, 20, 20), FALSE);
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  const std::string file = std::string(folder) + "snapshot \x95\x5c.png";  // 表: a second byte 0x5C
  std::remove(file.c_str());
  ASSERT_TRUE(SaveFormPng(form, file));
  ear::gdiplus::Bitmap bitmap;
  ASSERT_EQ(ear::gdiplus::Flat::GdipCreateBitmapFromFile(ear::gdiplus::WideFileName(file).c_str(), bitmap.Put()),
            Gdiplus::Ok);
  UINT w = 0, h = 0;
  ear::gdiplus::Flat::GdipGetImageWidth(bitmap.Get(), &w);
  ear::gdiplus::Flat::GdipGetImageHeight(bitmap.Get(), &h);
  EXPECT_EQ(w, 200u);
  EXPECT_EQ(h, 120u);
  auto pixel = [&](int x, int y) {
    Gdiplus::ARGB c = 0;
    ear::gdiplus::Flat::GdipBitmapGetPixel(bitmap.Get(), x, y, &c);
    return static_cast<std::uint32_t>(c);
  };
  EXPECT_EQ(pixel(0, 0) >> 24, 0u);
  EXPECT_EQ(pixel(30, 20), kYellowPx);
  EXPECT_EQ(pixel(160, 90), kMagentaPx);
  EXPECT_EQ(pixel(150, 16), kWhitePx);
  bitmap.Reset();
  EXPECT_TRUE(DeleteFileA(file.c_str()));
  EXPECT_FALSE(SaveFormPng(form, std::string(folder) + "no such folder\\x.png"));
}

}  // namespace
}  // namespace forms
