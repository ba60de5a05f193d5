// TplButton under Wine, checked against numbers written out by hand from the painting
// rules: gradient rows, caption cells, even spacing, the pressed offset, frames and icons.
// Every expected value below is a literal; nothing is taken from plButtonMath.
// The same binary also runs under a non-Japanese locale (EAR_EXPECT_FOREIGN_ACP set), where
// the captions must come out exactly as under code page 932.
#include "controls/plButton.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "controls/plButton_test_support.h"
#include "forms/application.h"
#include "forms/form.h"

namespace controls {
namespace {

using namespace test_support;

constexpr Rgb kFace = 0x303030;  // solid face of the caption tests: not a text colour

// Differing pixels of two same-sized captures, with the first few named.
std::string Diff(const Pixels& got, const Pixels& want) {
  int count = 0;
  std::string first;
  for (int y = 0; y < want.dib.height; ++y)
    for (int x = 0; x < want.dib.width; ++x) {
      if (got.At(x, y) == want.At(x, y)) continue;
      if (++count <= 5) {
        char buf[80];
        std::snprintf(buf, sizeof buf, " (%d,%d) got %06X want %06X", x, y, got.At(x, y), want.At(x, y));
        first += buf;
      }
    }
  return count == 0 ? std::string() : std::to_string(count) + " pixels differ:" + first;
}

// One character cell drawn from UTF-16, so the reference never passes through a code page.
struct Glyph {
  const wchar_t* text;
  int x, y;
};

class ButtonRulesTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    form_ = new forms::Form();
    form_->SetBounds(40, 40, 400, 200);
    form_->ShowForm();
  }
  static void TearDownTestSuite() {
    delete form_;
    form_ = nullptr;
  }
  void SetUp() override { form_->SetFocus(); }

  // The action look of the screens' next button.
  std::unique_ptr<TplButton> NewButton(int width, int height) {
    auto b = std::make_unique<TplButton>();
    b->name = "NextBtn";
    b->SetBounds(10, 10, width, height);
    b->SetParent(form_);
    b->SetFont(ActionFont());
    b->SetGradBeginColor(14128128);
    b->SetGradEndColor(8931584);
    return b;
  }
  // A solid face and no frame, for comparing captions against a reference drawing.
  std::unique_ptr<TplButton> NewPlainButton(int width, int height, const std::string& caption) {
    auto b = NewButton(width, height);
    b->SetGradation(false);
    b->SetColor(kFace);
    b->SetButtonStyle(bsFlatNoFrame);
    b->CaptionA().SetCaption(caption);
    return b;
  }
  Pixels Capture(TplButton& b) { return CaptureWindow(b.Handle(), b.Width(), b.Height()); }

  // The plain face with the given characters drawn in the action font: what the button must show.
  static Pixels Reference(int width, int height, UINT align, const std::vector<Glyph>& glyphs) {
    Pixels px{gdi::CreateDib24(width, height)};
    gdi::MemoryDC mem(nullptr);
    {
      gdi::Select sel(mem.Get(), px.dib.bitmap.Get());
      gdi::Select font(mem.Get(), forms::FontHandle(ActionFont()));
      RECT all{0, 0, width, height};
      gdi::Brush face(CreateSolidBrush(kFace));
      FillRect(mem.Get(), &all, face.Get());
      SetBkMode(mem.Get(), TRANSPARENT);
      SetTextColor(mem.Get(), RGB(255, 255, 255));
      SetTextAlign(mem.Get(), align);
      for (const Glyph& g : glyphs) TextOutW(mem.Get(), g.x, g.y, g.text, static_cast<int>(wcslen(g.text)));
    }
    GdiFlush();
    return px;
  }
  static SIZE Extent(const wchar_t* text) {
    gdi::MemoryDC mem(nullptr);
    gdi::Select font(mem.Get(), forms::FontHandle(ActionFont()));
    SIZE size{};
    GetTextExtentPoint32W(mem.Get(), text, static_cast<int>(wcslen(text)), &size);
    return size;
  }
  static void Press(TplButton& b) { SendMessageW(b.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)); }
  static void Release(TplButton& b) { SendMessageW(b.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(30000, 30000)); }

  static forms::Form* form_;
};
forms::Form* ButtonRulesTest::form_ = nullptr;

// The run under a foreign locale must really have another ANSI code page.
TEST_F(ButtonRulesTest, RunsUnderTheExpectedCodePage) {
  if (std::getenv("EAR_EXPECT_FOREIGN_ACP")) {
    EXPECT_NE(GetACP(), 932u);
  } else {
    EXPECT_EQ(GetACP(), 932u);
  }
}

// ---- Gradient rows

TEST_F(ButtonRulesTest, GradientRowsOfTheScreensLooks) {
  struct Row { int y, r, g, b; };
  struct Case {
    const char* what;
    forms::Color begin, end;
    int height;
    std::vector<Row> rows;
  };
  const std::vector<Case> cases = {
      // channel = b + y * (e - b) / 27, truncated: G 148 -> 73, B 215 -> 136
      {"action 80 x 28", 14128128, 8931584, 28,
       {{0, 0, 148, 215}, {1, 0, 146, 213}, {2, 0, 143, 210}, {13, 0, 112, 177}, {26, 0, 76, 139},
        {27, 0, 73, 136}}},
      // channel = b + y * (e - b) / 25: G falls by exactly 3 a row, B by 79/25
      {"action 80 x 26", 14128128, 8931584, 26,
       {{0, 0, 148, 215}, {1, 0, 145, 212}, {12, 0, 112, 178}, {24, 0, 76, 140}, {25, 0, 73, 136}}},
      // close look: R 136 -> 63, G and B 136 -> 57, over 27 steps
      {"close 80 x 28", 8947848, 3750207, 28,
       {{0, 136, 136, 136}, {1, 134, 134, 134}, {14, 99, 96, 96}, {27, 63, 57, 57}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto b = NewButton(80, c.height);
    b->SetButtonStyle(bsFlatNoFrame);
    b->CaptionA().SetCaption("");
    b->SetGradBeginColor(c.begin);
    b->SetGradEndColor(c.end);
    const Pixels px = Capture(*b);
    for (const Row& r : c.rows) {
      EXPECT_EQ(px.At(0, r.y), MakeRgb(r.r, r.g, r.b)) << "row " << r.y;
      EXPECT_EQ(px.At(79, r.y), MakeRgb(r.r, r.g, r.b)) << "row " << r.y;
    }
  }
}

// ---- Caption cells

TEST_F(ButtonRulesTest, CaptionCellsAtTheWrittenPositions) {
  // The stand-in for the action font (IPA P Gothic, bold) gives text cells 13 high.
  ASSERT_EQ(Extent(L"次へ >").cy, 13);
  struct Case {
    const char* what;
    int width, height;
    std::string a, b;
    TplBtnAlignment alignment;
    int left, right;
    bool centred;
    int captionTop;
    bool pressed;
    UINT align;
    std::vector<Glyph> glyphs;
  };
  const std::vector<Case> cases = {
      // fixed CaptionTop 9, centred at Width / 2 = 40
      {"CaptionTop 9", 80, 28, "次へ >", "", taCenter, 0, 0, false, 9, false, TA_CENTER, {{L"次へ >", 40, 9}}},
      // pressed with HasFocus: one pixel right and down
      {"pressed", 80, 28, "次へ >", "", taCenter, 0, 0, false, 9, true, TA_CENTER, {{L"次へ >", 41, 10}}},
      // centred one line: (28 - 13) / 2 + 1 = 8
      {"centred A", 80, 28, "次へ >", "", taCenter, 0, 0, true, 0, false, TA_CENTER, {{L"次へ >", 40, 8}}},
      // centred CaptionB alone: (28 - 13) / 2 = 7, no + 1
      {"centred B", 80, 28, "", "閉じる", taCenter, 0, 0, true, 0, false, TA_CENTER, {{L"閉じる", 40, 7}}},
      // two centred lines, space 4: (28 - 26 - 4) / 2 = -1 (toward zero), then -1 + 13 + 4 = 16
      {"two lines", 80, 28, "受験", "開始", taCenter, 0, 0, true, 0, false, TA_CENTER,
       {{L"受験", 40, -1}, {L"開始", 40, 16}}},
      // 13-high text in a 10-high button: (10 - 13) / 2 + 1 = 0
      {"taller than the button", 80, 10, "次へ >", "", taCenter, 0, 0, true, 0, false, TA_CENTER,
       {{L"次へ >", 40, 0}}},
      // taLeft at Left + 2, taRight ending at Width - Right - 2
      {"left", 80, 28, "OK", "", taLeft, 6, 0, false, 9, false, TA_LEFT, {{L"OK", 8, 9}}},
      {"right", 80, 28, "OK", "", taRight, 0, 9, false, 9, false, TA_RIGHT, {{L"OK", 69, 9}}},
      // a single taEven character is centred at 81 / 2 = 40
      {"single even", 81, 28, "閉", "", taEven, 20, 0, false, 9, false, TA_CENTER, {{L"閉", 40, 9}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto b = NewPlainButton(c.width, c.height, c.a);
    b->CaptionB().SetCaption(c.b);
    TplBtnCaption& line = c.a.empty() ? b->CaptionB() : b->CaptionA();
    line.SetAlignment(c.alignment);
    line.SetLeft(c.left);
    line.SetRight(c.right);
    if (!c.centred) b->SetCaptionTop(c.captionTop);
    if (c.pressed) {
      Press(*b);
      form_->SetFocus();  // no focus mark over the caption
    }
    const Pixels got = Capture(*b);
    if (c.pressed) Release(*b);
    EXPECT_EQ(Diff(got, Reference(c.width, c.height, c.align, c.glyphs)), "");
    if (c.centred) {
      EXPECT_EQ(b->CaptionTop(), c.glyphs[0].y);
    }
  }
}

// taEven with full-width characters 13 pixels wide (IPA P Gothic in synthetic bold): x positions
// written out from step = E / (n - 1) and rem = E % (n - 1). Under a foreign locale this is where
// widening with the active code page would break the double-byte characters apart.
TEST_F(ButtonRulesTest, EvenSpacingAtTheWrittenPositions) {
  for (const wchar_t* ch : {L"試", L"験", L"開", L"始", L"受"}) ASSERT_EQ(Extent(ch).cx, 13) << "glyph width";
  ASSERT_EQ(Extent(L"試験開始").cx, 52);
  ASSERT_EQ(Extent(L"受験").cx, 26);
  struct Case {
    const char* what;
    std::string text;
    int width, left, right;
    std::vector<Glyph> glyphs;
  };
  const std::vector<Case> cases = {
      // W = 93 - 4 = 89, E = 89 - 52 = 37: step 12, rem 1, so the first gap is 13
      {"E 37", "試験開始", 93, 0, 0, {{L"試", 2, 9}, {L"験", 28, 9}, {L"開", 53, 9}, {L"始", 78, 9}}},
      // W = 51 - 4 = 47, E = -5: step -1, rem -2, so the first two gaps are -2
      {"E -5", "試験開始", 51, 0, 0, {{L"試", 2, 9}, {L"験", 13, 9}, {L"開", 24, 9}, {L"始", 36, 9}}},
      // two double-byte characters count n = 2: W = 80 - 6 - 4 - 4 = 66, E = 40, step 40
      {"two characters", "受験", 80, 6, 4, {{L"受", 8, 9}, {L"験", 61, 9}}},
      // margins: x starts at Left + 2 = 7; W = 101 - 5 - 3 - 4 = 89, E = 37, step 12, rem 1
      {"margins", "試験開始", 101, 5, 3, {{L"試", 7, 9}, {L"験", 33, 9}, {L"開", 58, 9}, {L"始", 83, 9}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto b = NewPlainButton(c.width, 28, c.text);
    b->CaptionA().SetAlignment(taEven);
    b->CaptionA().SetLeft(c.left);
    b->CaptionA().SetRight(c.right);
    b->SetCaptionTop(9);
    EXPECT_EQ(Diff(Capture(*b), Reference(c.width, 28, TA_LEFT, c.glyphs)), "");
  }
}

// A disabled taEven caption: the highlight pass at (+1, +1), then the shadow pass, both spaced alike.
TEST_F(ButtonRulesTest, EmbossedEvenCaption) {
  auto b = NewPlainButton(93, 28, "試験開始");
  b->CaptionA().SetAlignment(taEven);
  b->SetCaptionTop(9);
  b->SetEnabled(false);
  const Pixels got = Capture(*b);
  Pixels want = Reference(93, 28, TA_LEFT, {});
  {
    gdi::MemoryDC mem(nullptr);
    gdi::Select sel(mem.Get(), want.dib.bitmap.Get());
    gdi::Select font(mem.Get(), forms::FontHandle(ActionFont()));
    SetBkMode(mem.Get(), TRANSPARENT);
    const Glyph glyphs[] = {{L"試", 2, 9}, {L"験", 28, 9}, {L"開", 53, 9}, {L"始", 78, 9}};
    SetTextColor(mem.Get(), Sys(COLOR_BTNHIGHLIGHT));
    for (const Glyph& g : glyphs) TextOutW(mem.Get(), g.x + 1, g.y + 1, g.text, 1);
    SetTextColor(mem.Get(), Sys(COLOR_BTNSHADOW));
    for (const Glyph& g : glyphs) TextOutW(mem.Get(), g.x, g.y, g.text, 1);
  }
  GdiFlush();
  EXPECT_EQ(Diff(got, want), "");
}

// ---- Frames

TEST_F(ButtonRulesTest, FrameColoursPerStyle) {
  // DrawEdge: raised = 3D light / highlight outside-in at top-left, dark shadow / shadow at bottom-right
  const Rgb light = Sys(COLOR_3DLIGHT), dark = Sys(COLOR_3DDKSHADOW);
  const Rgb hi = Sys(COLOR_BTNHIGHLIGHT), shadow = Sys(COLOR_BTNSHADOW);
  struct Probe { int x, y; Rgb color; };
  struct Case { TplButtonStyle style; bool pressed; std::vector<Probe> probes; };
  const std::vector<Case> cases = {
      {bsNormal, false, {{40, 0, light}, {40, 1, hi}, {40, 27, dark}, {40, 26, shadow}, {79, 14, dark}}},
      // pressed: button-shadow ring outside, 0x808080 ring inside; row 2 is the face (0, 143, 210)
      {bsNormal, true,
       {{40, 0, shadow}, {0, 14, shadow}, {79, 14, shadow}, {40, 27, shadow}, {40, 1, 0x808080},
        {1, 14, 0x808080}, {78, 14, 0x808080}, {40, 26, 0x808080}, {40, 2, MakeRgb(0, 143, 210)}}},
      // rounded outline 0x757575; the corner pixel stays face: row 0 is (0, 148, 215)
      {bsRoundRect, false, {{40, 0, 0x757575}, {0, 14, 0x757575}, {40, 27, 0x757575}, {79, 14, 0x757575},
                            {40, 1, MakeRgb(0, 146, 213)}}},
      {bsFlatNoFrame, true, {{40, 0, MakeRgb(0, 148, 215)}, {40, 27, MakeRgb(0, 73, 136)}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "style " << int(c.style) << " pressed " << c.pressed);
    auto b = NewButton(80, 28);
    b->CaptionA().SetCaption("");
    b->SetButtonStyle(c.style);
    if (c.pressed) {
      Press(*b);
      form_->SetFocus();
    }
    const Pixels px = Capture(*b);
    if (c.pressed) Release(*b);
    for (const Probe& p : c.probes)
      EXPECT_EQ(px.At(p.x, p.y), p.color) << "at " << p.x << "," << p.y << std::hex << " got " << px.At(p.x, p.y);
  }
}

// ---- Icons

// An icon of four coloured quadrants; only its bottom-left pixel is transparent.
HICON QuadrantIcon(int size) {
  gdi::Dib color = gdi::CreateDib24(size, size);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const bool right = x >= size / 2, bottom = y >= size / 2;
      const Rgb c = bottom ? (right ? MakeRgb(255, 255, 0) : MakeRgb(0, 0, 255))
                           : (right ? MakeRgb(0, 255, 0) : MakeRgb(255, 0, 0));
      BYTE* p = color.bits + y * color.stride + x * 3;
      const bool hole = x == 0 && y == size - 1;
      p[0] = hole ? 0 : static_cast<BYTE>(BlueOf(c));
      p[1] = hole ? 0 : static_cast<BYTE>(GreenOf(c));
      p[2] = hole ? 0 : static_cast<BYTE>(RedOf(c));
    }
  const int maskStride = ((size + 15) / 16) * 2;
  std::vector<BYTE> maskBits(static_cast<std::size_t>(maskStride) * size, 0);
  maskBits[static_cast<std::size_t>(size - 1) * maskStride] = 0x80;
  gdi::Bitmap mask(CreateBitmap(size, size, 1, 1, maskBits.data()));
  ICONINFO info{TRUE, 0, 0, mask.Get(), color.bitmap.Get()};
  return CreateIconIndirect(&info);
}

// What the icon must look like at its own size: quadrants, the hole as `hole`.
Rgb QuadrantAt(int size, int x, int y, Rgb hole) {
  if (x == 0 && y == size - 1) return hole;
  const bool right = x >= size / 2, bottom = y >= size / 2;
  return bottom ? (right ? MakeRgb(255, 255, 0) : MakeRgb(0, 0, 255))
                : (right ? MakeRgb(0, 255, 0) : MakeRgb(255, 0, 0));
}

TEST_F(ButtonRulesTest, IconsKeepTheirOwnSize) {
  struct Case { int size, left, top; };
  // Image.Left 10; centred vertically in 64: (64 - 16) / 2 = 24, (64 - 48) / 2 = 8
  for (const Case& c : {Case{16, 10, 24}, Case{48, 10, 8}}) {
    SCOPED_TRACE(testing::Message() << c.size << " x " << c.size);
    // the conversion itself, on white
    {
      gdi::Icon icon(QuadrantIcon(c.size));
      ASSERT_TRUE(icon.Get());
      const Pixels px{TplButton::IconToBitmap(icon.Get(), c.size, c.size)};
      ASSERT_TRUE(px.dib.bitmap);
      int wrong = 0;
      for (int y = 0; y < c.size; ++y)
        for (int x = 0; x < c.size; ++x) wrong += px.At(x, y) != QuadrantAt(c.size, x, y, 0xFFFFFF);
      EXPECT_EQ(wrong, 0) << "pixels of IconToBitmap off the pattern";
    }
    // the painted button: every icon pixel, and the face around it
    auto b = NewPlainButton(80, 64, "");
    forms::Picture pic;
    pic.SetIcon(QuadrantIcon(c.size));
    b->Image().SetPicture(pic);
    const Pixels px = Capture(*b);
    EXPECT_EQ(b->Image().Top(), c.top);
    int wrong = 0;
    for (int y = 0; y < c.size; ++y)
      for (int x = 0; x < c.size; ++x) wrong += px.At(c.left + x, c.top + y) != QuadrantAt(c.size, x, y, kFace);
    EXPECT_EQ(wrong, 0) << "icon pixels off the pattern; centre " << std::hex << px.At(c.left + c.size / 2, c.top);
    EXPECT_EQ(px.At(c.left + c.size, c.top), kFace);
    EXPECT_EQ(px.At(c.left, c.top + c.size), kFace);
    EXPECT_EQ(px.At(c.left - 1, c.top), kFace);
  }
}

// Greying: g = 120 + ((b + g + r) / 3) / 2
TEST_F(ButtonRulesTest, GreyedCopyWrittenOut) {
  struct Case { Rgb in; int grey; };
  const Case cases[] = {{MakeRgb(215, 148, 0), 180}, {0xFFFFFF, 247}, {0x000000, 120}, {MakeRgb(255, 0, 0), 162}};
  gdi::Dib src = gdi::CreateDib24(4, 1);
  for (int i = 0; i < 4; ++i) {
    src.bits[i * 3] = static_cast<BYTE>(BlueOf(cases[i].in));
    src.bits[i * 3 + 1] = static_cast<BYTE>(GreenOf(cases[i].in));
    src.bits[i * 3 + 2] = static_cast<BYTE>(RedOf(cases[i].in));
  }
  const Pixels px{TplButton::GreyedCopy(src)};
  for (int i = 0; i < 4; ++i) {
    const BYTE g = static_cast<BYTE>(cases[i].grey);
    EXPECT_EQ(px.At(i, 0), MakeRgb(g, g, g)) << "pixel " << i;
  }
}

}  // namespace
}  // namespace controls
