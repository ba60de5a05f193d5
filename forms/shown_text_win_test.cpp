// The program's own text, as the forms show it, is Shift-JIS whatever the machine's ANSI
// code page: labels, window titles and message boxes show the same characters under a
// foreign locale too (base/text_win_test.cpp has the conversion itself). The same binary
// also runs under en_US (EAR_EXPECT_FOREIGN_ACP set).
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "base/error.h"
#include "base/gdi.h"
#include "forms/application.h"
#include "forms/dialogs.h"
#include "forms/form.h"
#include "forms/standard_controls.h"
#include "tests/wine/box_watcher.h"

namespace forms {
namespace {

namespace gdi = ear::gdi;

constexpr char kCaption[] = "試験名表示位置";
constexpr wchar_t kCaptionWide[] = L"試験名表示位置";

TEST(ProgramText, RunsUnderTheExpectedCodePage) {
  if (std::getenv("EAR_EXPECT_FOREIGN_ACP")) {
    EXPECT_NE(GetACP(), 932u);
  } else {
    EXPECT_EQ(GetACP(), 932u);
  }
}

// A white 24-bit bitmap with what draw put on it.
template <class Draw>
std::string Pixels(int width, int height, Draw draw) {
  gdi::Dib dib = gdi::CreateDib24(width, height);
  std::memset(dib.bits, 0xFF, static_cast<std::size_t>(dib.stride) * static_cast<std::size_t>(height));
  gdi::MemoryDC mem(nullptr);
  gdi::Select bitmap(mem.Get(), dib.bitmap.Get());
  draw(mem.Get());
  GdiFlush();
  return std::string(reinterpret_cast<const char*>(dib.bits), static_cast<std::size_t>(dib.stride) * static_cast<std::size_t>(height));
}

TEST(ProgramText, ALabelDrawsAndMeasuresItsCaptionAsShiftJis) {
  Form form(nullptr, {.name = "TextForm", .clientWidth = 300, .clientHeight = 60, .text = kCaption});
  Label label(&form, {.name = "L", .bounds = {10, 10, 10, 10}}, {.caption = kCaption, .transparent = true});
  HFONT font = FontHandle(label.GetFont());

  RECT expectedSize{0, 0, 0, 0};
  Pixels(1, 1, [&](HDC dc) {
    gdi::Select selected(dc, font);
    DrawTextW(dc, kCaptionWide, -1, &expectedSize, DT_NOPREFIX | DT_EXPANDTABS | DT_CALCRECT);
  });
  EXPECT_EQ(label.Width(), expectedSize.right);
  EXPECT_EQ(label.Height(), expectedSize.bottom);

  const int w = label.Width(), h = label.Height();
  const std::string drawn = Pixels(w, h, [&](HDC dc) { label.Paint(dc); });
  const std::string expected = Pixels(w, h, [&](HDC dc) {
    gdi::Select selected(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(label.GetFont().color));
    RECT r{0, 0, w, h};
    DrawTextW(dc, kCaptionWide, -1, &r, DT_NOPREFIX | DT_EXPANDTABS);
  });
  EXPECT_NE(drawn, std::string(drawn.size(), '\xFF'));  // something was drawn
  EXPECT_TRUE(drawn == expected);

  wchar_t title[64] = {};
  GetWindowTextW(form.Handle(), title, 64);
  EXPECT_STREQ(title, kCaptionWide);
}

TEST(ProgramText, MessageBoxesShowShiftJisTitleAndText) {
  {
    testing_win::BoxWatcher box(IDOK);
    ShowInformation(nullptr, kCaption);
    const testing_win::BoxInfo info = box.get();
    ASSERT_TRUE(info.found);
    EXPECT_EQ(info.title, "情報");
    EXPECT_EQ(info.text, kCaption);
  }
  {
    testing_win::BoxWatcher box(IDOK);
    App().ShowException(ear::Error("受験番号エラー"));
    const testing_win::BoxInfo info = box.get();
    ASSERT_TRUE(info.found);
    EXPECT_EQ(info.text, "受験番号エラー.");
  }
}

}  // namespace
}  // namespace forms
