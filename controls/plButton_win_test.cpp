// TplButton under Wine: property rules, pixels of every paint step, the window region,
// and keyboard and mouse input inside a modal form.
#include "controls/plButton.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "controls/plButton_test_support.h"
#include "forms/application.h"
#include "forms/standard_controls.h"
#include "forms/form.h"

namespace controls {
namespace {

using namespace test_support;

// A button that counts immediate repaints and repaint requests.
class ProbeButton : public TplButton {
 public:
  int repaints = 0;
  int requests = 0;
  void Repaint() override {
    ++repaints;
    TplButton::Repaint();
  }
  void Invalidate() override {
    ++requests;
    TplButton::Invalidate();
  }
  void ResetCounts() { repaints = requests = 0; }
  // Where the pointer was when it came onto and left the button, and the shift state.
  std::vector<POINT> entered, left;
  unsigned shiftLeft = 0;
  void MouseEnter(unsigned shift, int x, int y) override {
    entered.push_back({x, y});
    TplButton::MouseEnter(shift, x, y);
  }
  void MouseLeave(unsigned shift, int x, int y) override {
    left.push_back({x, y});
    shiftLeft = shift;
    TplButton::MouseLeave(shift, x, y);
  }
};

constexpr Rgb kActionBegin = 0xD79400;
constexpr Rgb kActionEnd = 0x884900;
constexpr Rgb kPlainFace = 0x303030;

forms::ControlArgs PanelArgs(const std::string& name, forms::Bounds bounds) {
  return {.name = name, .bounds = bounds};
}

Pixels PaintToDib(TplButton& button) {
  Pixels px{gdi::CreateDib24(button.Width(), button.Height())};
  if (!px.dib.bitmap) return px;
  for (int y = 0; y < px.dib.height; ++y)
    std::fill_n(px.dib.bits + y * px.dib.stride, px.dib.width * 3, BYTE{0xAB});
  gdi::MemoryDC mem(nullptr);
  {
    gdi::Select sel(mem.Get(), px.dib.bitmap.Get());
    button.PaintButton(mem.Get());
  }
  GdiFlush();
  return px;
}

// Text as GDI draws it at (0, 0), top-left aligned, in the button's font.
struct Reference {
  Pixels::Box ink;
  int width = 0;
  int height = 0;
};
Reference RenderReference(const forms::Font& font, const std::string& text) {
  Reference r;
  Pixels px{gdi::CreateDib24(200, 60)};
  gdi::MemoryDC mem(nullptr);
  gdi::Select sel(mem.Get(), px.dib.bitmap.Get());
  gdi::Select f(mem.Get(), forms::FontHandle(font));
  RECT all{0, 0, 200, 60};
  gdi::Brush bg(CreateSolidBrush(kPlainFace));
  FillRect(mem.Get(), &all, bg.Get());
  SetBkMode(mem.Get(), TRANSPARENT);
  SetTextColor(mem.Get(), RGB(255, 255, 255));
  SetTextAlign(mem.Get(), TA_LEFT | TA_TOP);
  TextOutA(mem.Get(), 0, 0, text.data(), static_cast<int>(text.size()));
  SIZE size{};
  GetTextExtentPoint32A(mem.Get(), text.data(), static_cast<int>(text.size()), &size);
  GdiFlush();
  r.ink = px.InkBox(kPlainFace);
  r.width = size.cx;
  r.height = size.cy;
  return r;
}

class ButtonTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    form_ = new forms::Form();
    form_->SetBounds(40, 40, 520, 360);
    form_->ShowForm();
  }
  static void TearDownTestSuite() {
    delete form_;
    form_ = nullptr;
  }

  // A button on the shown form, as the screens lay out their action buttons.
  std::unique_ptr<ProbeButton> NewButton(int width = 80, int height = 28) {
    auto b = std::make_unique<ProbeButton>();
    b->name = "NextBtn";
    b->SetBounds(10, 10, width, height);
    b->SetParent(form_);
    b->SetFont(ActionFont());
    b->SetGradBeginColor(kActionBegin);
    b->SetGradEndColor(kActionEnd);
    b->ResetCounts();
    return b;
  }
  // A solid face without frame, so every pixel that is not the face is ink.
  std::unique_ptr<ProbeButton> NewPlainButton(int width = 80, int height = 28) {
    auto b = NewButton(width, height);
    b->SetGradation(false);
    b->SetColor(kPlainFace);
    b->SetButtonStyle(bsFlatNoFrame);
    b->CaptionA().SetCaption("");
    return b;
  }
  void Press(TplButton& b) { SendMessageW(b.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)); }
  void ReleaseOutside(TplButton& b) {
    SendMessageW(b.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(30000, 30000));
  }
  static void Pump() { forms::App().ProcessMessages(); }

  static forms::Form* form_;
};
forms::Form* ButtonTest::form_ = nullptr;

// ---- Properties

TEST_F(ButtonTest, DefaultsOfANewButton) {
  TplButton b;
  EXPECT_EQ(b.ButtonStyle(), bsNormal);
  EXPECT_FALSE(b.Cancel());
  EXPECT_EQ(b.CaptionLineSpace(), 4);
  EXPECT_EQ(b.CaptionTop(), 0);
  EXPECT_TRUE(b.CaptionVertCenter());
  EXPECT_EQ(b.FlatFrameType(), bffFlat);
  EXPECT_TRUE(b.Gradation());
  EXPECT_EQ(b.GradBeginColor(), 0xFFFFFFu);
  EXPECT_EQ(b.GradEndColor(), 0xC0C0C0u);
  EXPECT_TRUE(b.HasFocus());
  EXPECT_EQ(b.ModalResult(), 0);
  EXPECT_FALSE(b.DisableImage());
  EXPECT_FALSE(b.Pressed());
  EXPECT_EQ(b.Region(), nullptr);
  EXPECT_EQ(b.Width(), 75);
  EXPECT_EQ(b.Height(), 26);
  EXPECT_TRUE(b.TabStop());
  EXPECT_EQ(b.GetColor(), forms::clBtnFace);
  EXPECT_FALSE(b.ParentColor());
  EXPECT_TRUE(b.ParentFont());
  for (const TplBtnCaption* c : {&b.CaptionA(), &b.CaptionB()}) {
    EXPECT_EQ(c->Caption(), "");
    EXPECT_EQ(c->Alignment(), taCenter);
    EXPECT_EQ(c->Left(), 0);
    EXPECT_EQ(c->Right(), 0);
  }
  EXPECT_EQ(b.Image().Left(), 10);
  EXPECT_EQ(b.Image().Top(), 0);
  EXPECT_FALSE(b.Image().TransParent());
  EXPECT_TRUE(b.Image().Visible());
  EXPECT_TRUE(b.Image().VertCenter());
  EXPECT_FALSE(b.Image().HorzCenter());
  EXPECT_TRUE(b.Image().Picture().Empty());
}

TEST_F(ButtonTest, SettersRepaintOnlyOnChange) {
  TplButton source;  // another button's caption and image objects, as a form layout gives them
  source.CaptionA().SetCaption("< 戻る");
  source.CaptionA().SetAlignment(taRight);
  source.CaptionA().SetLeft(3);
  source.CaptionA().SetRight(5);
  source.Image().SetHorzCenter(true);
  source.Image().SetTop(4);  // turns the source's VertCenter off
  forms::Picture other;
  other.NewBitmap(8, 8);

  using Act = std::function<void(ProbeButton&)>;
  using Check = std::function<void(ProbeButton&)>;
  struct Case {
    const char* what;
    Act setup;
    Act act;
    int repaints;
    int requests;
    Check check;
  };
  const Act none = [](ProbeButton&) {};
  const Check ok = [](ProbeButton&) {};
  const std::vector<Case> cases = {
      {"GradBeginColor same", none, [](auto& b) { b.SetGradBeginColor(kActionBegin); }, 0, 0, ok},
      {"GradBeginColor new", none, [](auto& b) { b.SetGradBeginColor(0x123456); }, 1, 0, ok},
      {"GradEndColor same", none, [](auto& b) { b.SetGradEndColor(kActionEnd); }, 0, 0, ok},
      {"GradEndColor new", none, [](auto& b) { b.SetGradEndColor(forms::clBtnShadow); }, 1, 0, ok},
      {"ButtonStyle same still repaints", none, [](auto& b) { b.SetButtonStyle(bsNormal); }, 1, 0, ok},
      {"ButtonStyle new", none, [](auto& b) { b.SetButtonStyle(bsFlat); }, 1, 0, ok},
      {"Cancel", none, [](auto& b) { b.SetCancel(true); }, 0, 0, [](auto& b) { EXPECT_TRUE(b.Cancel()); }},
      {"ModalResult", none, [](auto& b) { b.SetModalResult(7); }, 0, 0,
       [](auto& b) { EXPECT_EQ(b.ModalResult(), 7); }},
      {"Gradation same", none, [](auto& b) { b.SetGradation(true); }, 0, 0, ok},
      {"Gradation off", none, [](auto& b) { b.SetGradation(false); }, 1, 0, ok},
      {"Gradation on clears ParentColor",
       [](auto& b) { b.SetGradation(false); b.SetParentColor(true); },
       [](auto& b) { b.SetGradation(true); }, 1, 0, [](auto& b) { EXPECT_FALSE(b.ParentColor()); }},
      {"HasFocus same", none, [](auto& b) { b.SetHasFocus(true); }, 0, 0, ok},
      {"HasFocus new", none, [](auto& b) { b.SetHasFocus(false); }, 1, 0, ok},
      {"DisableImage same", none, [](auto& b) { b.SetDisableImage(false); }, 0, 0, ok},
      {"DisableImage new", none, [](auto& b) { b.SetDisableImage(true); }, 1, 0, ok},
      {"CaptionLineSpace same", none, [](auto& b) { b.SetCaptionLineSpace(4); }, 0, 0, ok},
      {"CaptionLineSpace new", none, [](auto& b) { b.SetCaptionLineSpace(6); }, 1, 0, ok},
      {"FlatFrameType same", none, [](auto& b) { b.SetFlatFrameType(bffFlat); }, 0, 0, ok},
      {"FlatFrameType new", none, [](auto& b) { b.SetFlatFrameType(bffBump); }, 1, 0, ok},
      // the shown button has painted: CaptionTop holds the centred top
      {"CaptionTop same keeps centring", none, [](auto& b) { b.SetCaptionTop(b.CaptionTop()); }, 0, 0,
       [](auto& b) { EXPECT_TRUE(b.CaptionVertCenter()); }},
      {"CaptionTop new turns centring off", none, [](auto& b) { b.SetCaptionTop(b.CaptionTop() + 1); }, 1,
       0, [](auto& b) { EXPECT_FALSE(b.CaptionVertCenter()); }},
      {"CaptionVertCenter off does not repaint", none, [](auto& b) { b.SetCaptionVertCenter(false); }, 0, 0,
       ok},
      {"CaptionVertCenter on repaints", [](auto& b) { b.SetCaptionVertCenter(false); },
       [](auto& b) { b.SetCaptionVertCenter(true); }, 1, 0, ok},
      {"Caption same", none, [](auto& b) { b.CaptionA().SetCaption("NextBtn"); }, 0, 0, ok},
      {"Caption new", none, [](auto& b) { b.CaptionA().SetCaption("次へ >"); }, 1, 0, ok},
      {"Caption alignment same", none, [](auto& b) { b.CaptionB().SetAlignment(taCenter); }, 0, 0, ok},
      {"Caption alignment new", none, [](auto& b) { b.CaptionB().SetAlignment(taEven); }, 1, 0, ok},
      {"Caption Left same", none, [](auto& b) { b.CaptionA().SetLeft(0); }, 0, 0, ok},
      {"Caption Left new", none, [](auto& b) { b.CaptionA().SetLeft(3); }, 1, 0, ok},
      {"Caption Right new", none, [](auto& b) { b.CaptionB().SetRight(3); }, 1, 0, ok},
      {"Caption assign copies and repaints", none,
       [&](auto& b) { b.CaptionB().Assign(source.CaptionA()); }, 1, 0,
       [](auto& b) {
         EXPECT_EQ(b.CaptionB().Caption(), "< 戻る");
         EXPECT_EQ(b.CaptionB().Alignment(), taRight);
         EXPECT_EQ(b.CaptionB().Left(), 3);
         EXPECT_EQ(b.CaptionB().Right(), 5);
       }},
      {"CaptionA property assigns, then repaints again", none,
       [&](auto& b) { b.SetCaptionA(source.CaptionA()); }, 2, 0,
       [](auto& b) { EXPECT_EQ(b.CaptionA().Caption(), "< 戻る"); }},
      {"Image.Left same", none, [](auto& b) { b.Image().SetLeft(10); }, 0, 0, ok},
      {"Image.Left new turns HorzCenter off", [](auto& b) { b.Image().SetHorzCenter(true); },
       [](auto& b) { b.Image().SetLeft(4); }, 1, 0,
       [](auto& b) { EXPECT_FALSE(b.Image().HorzCenter()); }},
      {"Image.Top new turns VertCenter off", none, [](auto& b) { b.Image().SetTop(5); }, 1, 0,
       [](auto& b) { EXPECT_FALSE(b.Image().VertCenter()); }},
      {"Image.VertCenter off does not repaint", none, [](auto& b) { b.Image().SetVertCenter(false); }, 0, 0,
       ok},
      {"Image.HorzCenter on repaints", none, [](auto& b) { b.Image().SetHorzCenter(true); }, 1, 0, ok},
      {"Image.HorzCenter off does not repaint", [](auto& b) { b.Image().SetHorzCenter(true); },
       [](auto& b) { b.Image().SetHorzCenter(false); }, 0, 0, ok},
      {"Image.Visible", none, [](auto& b) { b.Image().SetVisible(false); }, 1, 0, ok},
      {"Image.TransParent", none, [](auto& b) { b.Image().SetTransParent(true); }, 1, 0, ok},
      {"Image.Picture own container", none, [](auto& b) { b.Image().SetPicture(b.Image().Picture()); }, 0,
       0, ok},
      {"Image.Picture copies", none, [&](auto& b) { b.Image().SetPicture(other); }, 1, 0,
       [](auto& b) { EXPECT_EQ(b.Image().Picture().Width(), 8); }},
      {"Image assign does not repaint", none, [&](auto& b) { b.Image().Assign(source.Image()); }, 0, 0,
       [](auto& b) {
         EXPECT_TRUE(b.Image().HorzCenter());
         EXPECT_FALSE(b.Image().VertCenter());
         EXPECT_EQ(b.Image().Top(), 4);
       }},
      {"Image property assigns and repaints", none, [&](auto& b) { b.SetImage(source.Image()); }, 1, 0,
       [](auto& b) { EXPECT_TRUE(b.Image().HorzCenter()); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto b = NewButton();
    c.setup(*b);
    b->ResetCounts();
    c.act(*b);
    EXPECT_EQ(b->repaints, c.repaints);
    EXPECT_EQ(b->requests, c.requests);
    c.check(*b);
  }
}

TEST_F(ButtonTest, EnterReleaseAndLeavingClearPressed) {
  auto b = NewButton();
  Press(*b);
  ASSERT_TRUE(b->Pressed());
  b->ResetCounts();
  SendMessageW(b->Handle(), WM_KEYUP, VK_RETURN, 0);
  EXPECT_FALSE(b->Pressed());
  EXPECT_GE(b->requests, 1);
  EXPECT_EQ(b->repaints, 0);

  Press(*b);
  SendMessageW(b->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 5));  // the pointer enters
  POINT outside{b->Width() + 20, 5};
  ClientToScreen(b->Handle(), &outside);
  SetCursorPos(outside.x, outside.y);
  b->ResetCounts();
  SendMessageW(b->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(b->Width() + 20, 5));  // captured, outside
  EXPECT_FALSE(b->Pressed());
  EXPECT_EQ(b->repaints, 1);
  ASSERT_EQ(b->left.size(), 1u);
  EXPECT_EQ(b->left[0].x, b->Width() + 20) << "X and Y come from the cursor position, in client coordinates";
  EXPECT_EQ(b->left[0].y, 5);
  EXPECT_EQ(b->shiftLeft & (forms::ssShift | forms::ssCtrl | forms::ssAlt), 0u);
  ReleaseOutside(*b);
}

TEST_F(ButtonTest, FirstParentGivesTheComponentNameAsCaption) {
  TplButton b;
  b.name = "OkBtn";
  EXPECT_EQ(b.CaptionA().Caption(), "");
  b.SetParent(form_);
  EXPECT_EQ(b.CaptionA().Caption(), "OkBtn");
  b.CaptionA().SetCaption("OK");  // the layout's caption replaces it
  forms::Panel panel(form_, PanelArgs("Panel1", {0, 0, 100, 40}));
  b.name = "Renamed";
  b.SetParent(&panel);
  EXPECT_EQ(b.CaptionA().Caption(), "OK");
  b.SetParent(nullptr);
}

TEST_F(ButtonTest, NotificationsRequestRepaints) {
  auto b = NewButton();
  b->ResetCounts();
  b->SetEnabled(false);
  EXPECT_GE(b->requests, 1);
  EXPECT_EQ(b->repaints, 0);
  b->SetEnabled(true);

  b->SetHasFocus(false);
  b->ResetCounts();
  b->SetFocus();
  Pump();
  EXPECT_EQ(b->requests, 0) << "HasFocus false: the focus entering changes nothing";
  b->SetHasFocus(true);
  form_->SetFocus();
  b->ResetCounts();
  b->SetFocus();
  Pump();
  EXPECT_GE(b->requests, 1);
  form_->SetActiveControl(nullptr);
}

// ---- Painting: gradient and face

TEST_F(ButtonTest, GradientRowsMatchTheModel) {
  struct Case { Rgb begin, end; int width, height; };
  const Case cases[] = {{kActionBegin, kActionEnd, 80, 28}, {kActionBegin, kActionEnd, 80, 26},
                        {0x888888, 0x39393F, 80, 28},       {0xFFFFFF, 0xC0C0C0, 75, 26},
                        {0x39393F, 0xFFFFFF, 40, 3},         {kActionBegin, kActionEnd, 30, 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.begin << "->" << c.end << std::dec << " " << c.width
                                    << "x" << c.height);
    auto b = NewButton(c.width, c.height);
    b->SetButtonStyle(bsFlatNoFrame);
    b->CaptionA().SetCaption("");
    b->SetGradBeginColor(c.begin);
    b->SetGradEndColor(c.end);
    const Pixels px = PaintToDib(*b);
    const std::vector<Rgb> rows = GradientRows(c.begin, c.end, c.height);
    for (int y = 0; y < c.height; ++y) {
      EXPECT_EQ(px.At(0, y), rows[y]) << "row " << y;
      EXPECT_EQ(px.At(c.width - 1, y), rows[y]) << "row " << y;
    }
  }
  // the worked rows of the 28-high action button
  auto b = NewButton(80, 28);
  b->SetButtonStyle(bsFlatNoFrame);
  const Pixels px = PaintToDib(*b);
  struct Row { int y; int r, g, bl; };
  for (const Row& r : {Row{0, 0, 148, 215}, Row{1, 0, 146, 213}, Row{2, 0, 143, 210}, Row{13, 0, 112, 177},
                       Row{26, 0, 76, 139}, Row{27, 0, 73, 136}})
    EXPECT_EQ(px.At(3, r.y), MakeRgb(r.r, r.g, r.bl)) << "row " << r.y;
}

TEST_F(ButtonTest, SolidFaceAndSystemColours) {
  auto b = NewPlainButton();
  b->SetColor(0x00FF00);
  Pixels px = PaintToDib(*b);
  EXPECT_EQ(px.Count(0x00FF00), 80 * 28);

  b->SetColor(forms::clBtnFace);
  px = PaintToDib(*b);
  EXPECT_EQ(px.Count(Sys(COLOR_BTNFACE)), 80 * 28);

  b->SetGradation(true);
  b->SetGradBeginColor(forms::clBtnHighlight);
  b->SetGradEndColor(forms::clBtnShadow);
  px = PaintToDib(*b);
  EXPECT_EQ(px.At(5, 0), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(px.At(5, 27), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(px.At(5, 14), GradientRow(Sys(COLOR_BTNHIGHLIGHT), Sys(COLOR_BTNSHADOW), 14, 28));
}

// ---- Painting: frames

TEST_F(ButtonTest, FramePerStyle) {
  const Rgb light = Sys(COLOR_3DLIGHT), dark = Sys(COLOR_3DDKSHADOW);
  const Rgb hi = Sys(COLOR_BTNHIGHLIGHT), shadow = Sys(COLOR_BTNSHADOW), face = Sys(COLOR_BTNFACE);
  const std::vector<Rgb> rows = GradientRows(kActionBegin, kActionEnd, 28);
  struct Probe { int x, y; Rgb color; };
  struct Case {
    TplButtonStyle style; TplBtnFrameType type; bool pressed;
    std::vector<Probe> probes;
  };
  const std::vector<Case> cases = {
      {bsNormal, bffFlat, false,
       {{40, 0, light}, {40, 1, hi}, {40, 27, dark}, {40, 26, shadow}, {0, 14, light}, {79, 14, dark},
        {40, 2, rows[2]}}},
      {bsNormal, bffFlat, true,
       {{40, 0, shadow}, {40, 1, 0x808080}, {40, 27, shadow}, {40, 26, 0x808080}, {0, 14, shadow},
        {79, 14, shadow}, {78, 14, 0x808080}, {40, 2, rows[2]}}},
      {bsFlat, bffFlat, false, {{40, 0, shadow}, {40, 1, face}, {40, 27, shadow}, {79, 14, shadow}}},
      {bsFlat, bffEtched, false, {{40, 0, shadow}, {40, 1, hi}, {40, 27, hi}, {40, 26, shadow}}},
      {bsFlat, bffEtched, true, {{40, 0, shadow}, {40, 1, hi}, {40, 27, hi}, {40, 26, shadow}}},
      {bsFlat, bffBump, false, {{40, 0, light}, {40, 1, dark}, {40, 27, dark}, {40, 26, light}}},
      {bsFlatNoFrame, bffFlat, true, {{40, 0, rows[0]}, {40, 27, rows[27]}, {0, 14, rows[14]}}},
      {bsRoundRect, bffFlat, false,
       {{40, 0, 0x757575}, {40, 27, 0x757575}, {0, 14, 0x757575}, {79, 14, 0x757575}, {0, 0, rows[0]},
        {79, 27, rows[27]}, {40, 1, rows[1]}}},
      {bsRoundRectNoFrame, bffFlat, false, {{40, 0, rows[0]}, {0, 14, rows[14]}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "style " << int(c.style) << " frame " << int(c.type) << " pressed "
                                    << c.pressed);
    auto b = NewButton();
    b->CaptionA().SetCaption("");
    b->SetButtonStyle(c.style);
    b->SetFlatFrameType(c.type);
    if (c.pressed) Press(*b);
    EXPECT_EQ(b->Pressed(), c.pressed);
    const Pixels px = PaintToDib(*b);
    for (const Probe& p : c.probes)
      EXPECT_EQ(px.At(p.x, p.y), p.color) << "at " << p.x << "," << p.y << std::hex << " got " << px.At(p.x, p.y);
    if (c.pressed) ReleaseOutside(*b);
    EXPECT_FALSE(b->Pressed());
  }
}

// ---- Painting: captions

TEST_F(ButtonTest, CaptionLinesSitWhereTheModelPutsThem) {
  struct Case {
    const char* what;
    std::string a, b;
    TplBtnAlignment alignment;
    int left, right, width, height;
    bool vertCenter;
    int captionTop;
    bool pressed, hasFocus;
  };
  const std::vector<Case> cases = {
      {"centred one line", "次へ >", "", taCenter, 0, 0, 80, 28, true, 0, false, true},
      {"centred in 26", "< 戻る", "", taCenter, 0, 0, 80, 26, true, 0, false, true},
      {"fixed top 8", "次へ >", "", taCenter, 0, 0, 80, 26, false, 8, false, true},
      {"left margin", "OK", "", taLeft, 6, 0, 80, 28, true, 0, false, true},
      {"right margin", "OK", "", taRight, 0, 9, 80, 28, true, 0, false, true},
      {"pressed moves it", "次へ >", "", taCenter, 0, 0, 80, 28, true, 0, true, true},
      {"pressed without HasFocus does not", "次へ >", "", taLeft, 4, 0, 80, 28, true, 0, true, false},
      {"only CaptionB", "", "閉じる", taCenter, 0, 0, 80, 28, true, 0, false, true},
      {"text taller than button", "閉じる", "", taLeft, 0, 0, 80, 10, true, 0, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto b = NewPlainButton(c.width, c.height);
    b->SetHasFocus(c.hasFocus);
    TplBtnCaption& line = c.a.empty() ? b->CaptionB() : b->CaptionA();
    b->CaptionA().SetCaption(c.a);
    b->CaptionB().SetCaption(c.b);
    line.SetAlignment(c.alignment);
    line.SetLeft(c.left);
    line.SetRight(c.right);
    if (!c.vertCenter) b->SetCaptionTop(c.captionTop);
    if (c.pressed) {
      Press(*b);
      form_->SetFocus();  // no focus mark among the ink
      Pump();
    }
    const Pixels px = PaintToDib(*b);
    if (c.pressed) ReleaseOutside(*b);

    const std::string& text = line.Caption();
    const Reference ref = RenderReference(ActionFont(), text);
    CaptionLayoutInput in;
    in.height = c.height;
    in.heightA = ref.height;
    in.heightB = ref.height;
    in.captionTop = c.captionTop;
    in.vertCenter = c.vertCenter;
    in.hasA = !c.a.empty();
    in.hasB = !c.b.empty();
    const CaptionLayout layout = PlaceCaptions(in);
    const int top = c.a.empty() ? layout.topB : layout.topA;
    const CaptionAnchor anchor = AnchorCaption(c.alignment, c.width, c.left, c.right, 3, top,
                                               PressedOffset(c.hasFocus, c.pressed));
    int x0 = anchor.x;
    if (anchor.textAlign == AnchorCenter) x0 -= ref.width / 2;
    if (anchor.textAlign == AnchorRight) x0 -= ref.width;
    const Pixels::Box ink = px.InkBox(kPlainFace);
    ASSERT_FALSE(ink.Empty());
    EXPECT_EQ(b->CaptionTop(), layout.captionTop);
    EXPECT_EQ(ink.top, std::max(0, anchor.y + ref.ink.top));
    EXPECT_NEAR(ink.left, x0 + ref.ink.left, anchor.textAlign == AnchorCenter ? 1 : 0);
    EXPECT_NEAR(ink.right, x0 + ref.ink.right, anchor.textAlign == AnchorCenter ? 1 : 0);
  }
}

TEST_F(ButtonTest, TwoLinesAndTheWrittenBackTop) {
  auto b = NewPlainButton(80, 40);
  b->CaptionA().SetCaption("受験");
  b->CaptionB().SetCaption("開始");
  const Pixels px = PaintToDib(*b);
  const Reference ra = RenderReference(ActionFont(), "受験");
  const Reference rb = RenderReference(ActionFont(), "開始");
  const int topA = (40 - 2 * ra.height - 4) / 2;
  const int topB = topA + ra.height + 4;
  EXPECT_EQ(b->CaptionTop(), topA);
  const Pixels::Box ink = px.InkBox(kPlainFace);
  EXPECT_EQ(ink.top, topA + ra.ink.top);
  EXPECT_EQ(ink.bottom, topB + rb.ink.bottom);
  // writing back the computed top changes nothing; another value switches centring off
  b->ResetCounts();
  b->SetCaptionTop(topA);
  EXPECT_TRUE(b->CaptionVertCenter());
  EXPECT_EQ(b->repaints, 0);
  b->SetCaptionTop(topA + 1);
  EXPECT_FALSE(b->CaptionVertCenter());
}

TEST_F(ButtonTest, EvenSpacingSpreadsTheCharacters) {
  struct Case { std::string text; int width, left, right; };
  const Case cases[] = {
      {"閉じる", 80, 5, 3},       // three double-byte characters: n = 3
      {"ABCD", 60, 0, 0},
      {"ABCDEFGHIJ", 30, 2, 2},  // more than fits: negative step, overlapping characters
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    auto b = NewPlainButton(c.width, 28);
    b->CaptionA().SetCaption(c.text);
    b->CaptionA().SetAlignment(taEven);
    b->CaptionA().SetLeft(c.left);
    b->CaptionA().SetRight(c.right);
    const Pixels px = PaintToDib(*b);

    std::vector<std::string> chars;
    for (std::size_t i = 0; i < c.text.size();) {
      const std::size_t len = (static_cast<unsigned char>(c.text[i]) >= 0x81) ? 2 : 1;
      chars.push_back(c.text.substr(i, len));
      i += len;
    }
    std::vector<int> widths;
    for (const auto& ch : chars) widths.push_back(RenderReference(ActionFont(), ch).width);
    const Reference whole = RenderReference(ActionFont(), c.text);
    const int n = static_cast<int>(chars.size());
    const CaptionAnchor anchor = AnchorCaption(taEven, c.width, c.left, c.right, n, 0, 0);
    const std::vector<int> xs = EvenPositions(anchor.x, widths, SpreadEvenly(anchor.available - whole.width, n));
    // overlapping characters: the outermost ink may belong to any of them
    int left = 1 << 20, right = -1;
    for (int i = 0; i < n; ++i) {
      const Reference r = RenderReference(ActionFont(), chars[i]);
      left = std::min(left, xs[i] + r.ink.left);
      right = std::max(right, xs[i] + r.ink.right);
    }
    const Pixels::Box ink = px.InkBox(kPlainFace);
    EXPECT_EQ(ink.left, std::max(0, left));
    EXPECT_EQ(ink.right, std::min(c.width - 1, right));
  }
  // a single character is centred, as taCenter would put it
  auto even = NewPlainButton(81, 28);
  even->CaptionA().SetCaption("閉");
  even->CaptionA().SetAlignment(taEven);
  even->CaptionA().SetLeft(20);
  auto centre = NewPlainButton(81, 28);
  centre->CaptionA().SetCaption("閉");
  const Pixels pe = PaintToDib(*even), pc = PaintToDib(*centre);
  EXPECT_EQ(pe.InkBox(kPlainFace).left, pc.InkBox(kPlainFace).left);
}

TEST_F(ButtonTest, DisabledLookEmbossesTheCaption) {
  const Rgb red = MakeRgb(255, 0, 0);
  struct Case { bool enabled, hasFocus, disableImage, embossed; };
  const Case cases[] = {{true, true, false, false},
                        {false, true, false, true},
                        {false, false, false, false},
                        {false, false, true, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "enabled " << c.enabled << " hasFocus " << c.hasFocus
                                    << " disableImage " << c.disableImage);
    auto b = NewPlainButton();
    forms::Font f = ActionFont();
    f.color = red;
    b->SetFont(f);
    b->CaptionA().SetCaption("次へ >");
    b->SetHasFocus(c.hasFocus);
    b->SetDisableImage(c.disableImage);
    b->SetEnabled(c.enabled);
    const Pixels px = PaintToDib(*b);
    const Rgb hi = Sys(COLOR_BTNHIGHLIGHT), shadow = Sys(COLOR_BTNSHADOW);
    if (c.embossed) {
      EXPECT_EQ(px.Count(red), 0);
      const auto shadowInk = px.InkBox([&](int, int, Rgb k) { return k == shadow; });
      const auto hiInk = px.InkBox([&](int, int, Rgb k) { return k == hi; });
      ASSERT_FALSE(shadowInk.Empty());
      ASSERT_FALSE(hiInk.Empty());
      EXPECT_EQ(hiInk.right, shadowInk.right + 1);
      EXPECT_EQ(hiInk.bottom, shadowInk.bottom + 1);
    } else {
      EXPECT_GT(px.Count(red), 0);
      EXPECT_EQ(px.Count(shadow), 0);
    }
    b->SetEnabled(true);
  }
}

// ---- Painting: pictures

HBITMAP SolidBitmap(int w, int h, Rgb color, Rgb corner) {
  gdi::Dib d = gdi::CreateDib24(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const Rgb c = (x < 2 && y >= h - 2) ? corner : color;
      BYTE* p = d.bits + y * d.stride + x * 3;
      p[0] = static_cast<BYTE>(BlueOf(c));
      p[1] = static_cast<BYTE>(GreenOf(c));
      p[2] = static_cast<BYTE>(RedOf(c));
    }
  return d.bitmap.Release();
}

// A red icon whose bottom-left 4 x 4 pixels are transparent.
HICON RedIcon(int size) {
  gdi::Bitmap color(SolidBitmap(size, size, MakeRgb(255, 0, 0), MakeRgb(255, 0, 0)));
  const int maskStride = ((size + 15) / 16) * 2;
  std::vector<BYTE> maskBits(static_cast<std::size_t>(maskStride) * size, 0);
  for (int y = size - 4; y < size; ++y)
    for (int x = 0; x < 4; ++x) maskBits[y * maskStride + x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
  gdi::Bitmap mask(CreateBitmap(size, size, 1, 1, maskBits.data()));
  {
    // the colour bits under the transparent part are black
    gdi::MemoryDC mem(nullptr);
    gdi::Select sel(mem.Get(), color.Get());
    RECT r{0, size - 4, 4, size};
    FillRect(mem.Get(), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
  ICONINFO info{TRUE, 0, 0, mask.Get(), color.Get()};
  return CreateIconIndirect(&info);
}

TEST_F(ButtonTest, PicturePlacementKeyingAndGreying) {
  const Rgb orange = MakeRgb(215, 148, 0);  // greys to 180
  const Rgb magenta = MakeRgb(255, 0, 255);  // greys to 120 + 170 / 2 = 205
  struct Probe { int x, y; Rgb color; };
  struct Case {
    const char* what;
    bool icon, transParent, enabled, hasFocus, pressed, horzCenter;
    int left, top;  // the placement expected after the paint
    std::vector<Probe> probes;
  };
  const Rgb face = kPlainFace;
  const Rgb grey = MakeRgb(180, 180, 180);
  const std::vector<Case> cases = {
      {"bitmap opaque", false, false, true, true, false, false, 10, 6,
       {{18, 14, orange}, {10, 21, magenta}, {9, 14, face}, {25, 14, orange}, {26, 14, face}}},
      {"bitmap keyed by its bottom-left pixel", false, true, true, true, false, false, 10, 6,
       {{18, 14, orange}, {10, 21, face}, {11, 20, face}, {12, 20, orange}}},
      {"greyed when disabled", false, false, false, true, false, false, 10, 6,
       {{18, 14, grey}, {10, 21, MakeRgb(205, 205, 205)}}},
      {"greyed and keyed", false, true, false, true, false, false, 10, 6, {{18, 14, grey}, {10, 21, face}}},
      {"HasFocus false: not greyed", false, false, false, false, false, false, 10, 6, {{18, 14, orange}}},
      {"pressed moves it", false, false, true, true, true, false, 10, 6,
       {{10, 14, face}, {26, 14, orange}, {11, 7, orange}, {11, 6, face}}},
      {"pressed without HasFocus stays", false, false, true, false, true, false, 10, 6,
       {{10, 14, orange}, {26, 14, face}}},
      {"centred both ways", false, false, true, true, false, true, 32, 6, {{32, 6, orange}, {31, 6, face}}},
      {"icon keyed although TransParent is false", true, false, true, true, false, false, 10, 6,
       {{18, 14, MakeRgb(255, 0, 0)}, {10, 21, face}, {13, 18, face}, {14, 18, MakeRgb(255, 0, 0)}}},
      {"icon greyed", true, false, false, true, false, false, 10, 6,
       {{18, 14, MakeRgb(162, 162, 162)}, {10, 21, face}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto b = NewPlainButton();
    forms::Picture pic;
    if (c.icon) {
      pic.SetIcon(RedIcon(16));
    } else {
      pic.SetBitmap(SolidBitmap(16, 16, orange, magenta));
    }
    b->Image().SetPicture(pic);
    b->Image().SetTransParent(c.transParent);
    b->Image().SetHorzCenter(c.horzCenter);
    b->SetHasFocus(c.hasFocus);
    b->SetEnabled(c.enabled);
    if (c.pressed) Press(*b);
    const Pixels px = PaintToDib(*b);
    if (c.pressed) ReleaseOutside(*b);
    EXPECT_EQ(b->Image().Left(), c.left);
    EXPECT_EQ(b->Image().Top(), c.top);
    EXPECT_TRUE(b->Image().VertCenter()) << "centring stays on after the write-back";
    for (const Probe& p : c.probes)
      EXPECT_EQ(px.At(p.x, p.y), p.color) << "at " << p.x << "," << p.y << std::hex << " got " << px.At(p.x, p.y);
    b->SetEnabled(true);
  }
}

TEST_F(ButtonTest, MonochromeBitmapIsKeyedOnWhite) {
  // left half black, right half white: the bottom-left pixel is black, yet white is the key
  std::vector<BYTE> bits;
  for (int y = 0; y < 16; ++y) bits.insert(bits.end(), {0x00, 0xFF});
  forms::Picture pic;
  pic.SetBitmap(CreateBitmap(16, 16, 1, 1, bits.data()));
  auto b = NewPlainButton();
  b->Image().SetPicture(pic);
  b->Image().SetTransParent(true);
  const Pixels px = PaintToDib(*b);
  EXPECT_EQ(px.At(10, 21), 0x000000u);
  EXPECT_EQ(px.At(17, 14), 0x000000u);
  EXPECT_EQ(px.At(18, 14), kPlainFace);
  EXPECT_EQ(px.At(25, 6), kPlainFace);
}

TEST_F(ButtonTest, IconToBitmapDrawsTheIconOnWhite) {
  gdi::Icon icon(RedIcon(16));
  const gdi::Dib dib = TplButton::IconToBitmap(icon.Get(), 16, 16);
  ASSERT_TRUE(dib.bitmap);
  const Pixels px{TplButton::GreyedCopy(dib)};
  Pixels raw{gdi::CreateDib24(16, 16)};
  std::copy_n(dib.bits, dib.stride * 16, raw.dib.bits);
  EXPECT_EQ(raw.At(8, 8), MakeRgb(255, 0, 0));
  EXPECT_EQ(raw.At(0, 15), MakeRgb(255, 255, 255));
  EXPECT_EQ(px.At(8, 8), MakeRgb(162, 162, 162));
  EXPECT_EQ(px.At(0, 15), MakeRgb(247, 247, 247));
}

TEST_F(ButtonTest, PictureAndCaptionTogether) {
  auto b = NewPlainButton(120, 28);
  forms::Picture pic;
  pic.SetBitmap(SolidBitmap(16, 16, MakeRgb(0, 255, 0), MakeRgb(0, 255, 0)));
  b->Image().SetPicture(pic);
  b->CaptionA().SetCaption("閉じる");
  b->CaptionA().SetAlignment(taLeft);
  b->CaptionA().SetLeft(30);
  const Pixels px = PaintToDib(*b);
  EXPECT_EQ(px.At(12, 8), MakeRgb(0, 255, 0));
  const auto text = px.InkBox([](int x, int, Rgb k) { return x >= 30 && k != kPlainFace; });
  EXPECT_FALSE(text.Empty());
  EXPECT_GE(text.left, 32);
}

// ---- Bad input

TEST_F(ButtonTest, DegenerateSizesCaptionsAndPicturesPaintSafely) {
  struct Case { int width, height; std::string caption; TplButtonStyle style; TplBtnAlignment alignment; };
  const std::vector<Case> cases = {
      {0, 0, "次へ >", bsNormal, taCenter},       {1, 1, "次へ >", bsRoundRect, taEven},
      {80, 1, "", bsFlatNoFrame, taCenter},       {80, 0, "x", bsFlat, taEven},
      {1, 28, "ABCDEFGH", bsNormal, taEven},      {2, 2, "AB", bsRoundRectNoFrame, taEven},
      {30, 28, "とても長いキャプションの文字列", bsNormal, taCenter},
      {30, 28, "とても長いキャプション", bsFlat, taRight},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " " << c.caption);
    auto b = NewButton(c.width, c.height);
    b->SetButtonStyle(c.style);
    b->CaptionA().SetCaption(c.caption);
    b->CaptionA().SetAlignment(c.alignment);
    b->Image().SetPicture(forms::Picture());  // empty: draws nothing
    b->SetFocus();
    Pump();
    const Pixels px = PaintToDib(*b);
    if (c.width == 80 && c.height == 1) {
      EXPECT_EQ(px.At(40, 0), kActionBegin);
    }
    b->Repaint();
    Pump();
  }
  form_->SetActiveControl(nullptr);
}

// ---- The live window: paint path, focus mark, region

TEST_F(ButtonTest, WindowShowsTheModelInEveryState) {
  struct Case { TplButtonStyle style; TplBtnFrameType type; bool pressed, focused, enabled; };
  std::vector<Case> cases;
  for (TplButtonStyle style : {bsNormal, bsFlat, bsFlatNoFrame, bsRoundRect, bsRoundRectNoFrame})
    for (int state = 0; state < 4; ++state)
      cases.push_back({style, style == bsFlat ? bffBump : bffFlat, state == 1, state == 2, state != 3});
  cases.push_back({bsFlat, bffEtched, false, true, true});
  cases.push_back({bsFlat, bffFlat, true, false, true});
  const std::vector<Rgb> rows = GradientRows(kActionBegin, kActionEnd, 28);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "style " << int(c.style) << " frame " << int(c.type) << " pressed "
                                    << c.pressed << " focused " << c.focused << " enabled " << c.enabled);
    auto b = NewButton();
    b->CaptionA().SetCaption("次へ >");
    b->SetButtonStyle(c.style);
    b->SetFlatFrameType(c.type);
    b->SetEnabled(c.enabled);
    if (c.pressed) Press(*b);
    if (c.focused) {
      b->SetFocus();
    } else {
      form_->SetFocus();
    }
    Pump();
    const Pixels screen = CaptureWindow(b->Handle(), 80, 28);
    const Pixels model = PaintToDib(*b);
    if (c.pressed) ReleaseOutside(*b);
    // outside a rounded window's region the window shows nothing of its own
    const Rect rr = RegionRect(80, 28);
    gdi::Region shape(IsRounded(c.style) ? CreateRoundRectRgn(rr.left, rr.top, rr.right, rr.bottom, CornerSize,
                                                              CornerSize)
                                         : CreateRectRgn(0, 0, 80, 28));
    int differing = 0;
    for (int y = 0; y < 28; ++y)
      for (int x = 0; x < 80; ++x)
        differing += PtInRegion(shape.Get(), x, y) && screen.At(x, y) != model.At(x, y);
    EXPECT_EQ(differing, 0);
    // the face between frame, focus mark and caption is the gradient row by row
    const int yEnd = std::min(25, FocusMarkFor(c.style, c.type, 80, 28).rect.bottom - 1);
    for (int y = 3; y < yEnd; ++y) EXPECT_EQ(screen.At(6, y), rows[y]) << "row " << y;
    // the caption sits where the model puts it
    const Reference ref = RenderReference(ActionFont(), "次へ >");
    CaptionLayoutInput in;
    in.height = 28;
    in.heightA = ref.height;
    in.hasA = true;
    const int offset = PressedOffset(true, c.pressed);
    const int top = PlaceCaptions(in).topA + offset;
    const auto ink = screen.InkBox([&](int x, int y, Rgb k) {
      return x >= 12 && x < 68 && y >= 3 && y < yEnd && k != rows[y];
    });
    EXPECT_EQ(ink.top, top + ref.ink.top);
    EXPECT_NEAR(ink.left, 40 + offset - ref.width / 2 + ref.ink.left, 1);
    form_->SetActiveControl(nullptr);
  }
}

TEST_F(ButtonTest, FocusMarkOnlyOnTheFocusedButtonWithHasFocus) {
  struct Case { TplButtonStyle style; TplBtnFrameType type; bool hasFocus; };
  const Case cases[] = {{bsNormal, bffFlat, true},         {bsFlat, bffBump, true},
                        {bsFlat, bffEtched, true},         {bsRoundRect, bffFlat, true},
                        {bsRoundRectNoFrame, bffFlat, true}, {bsNormal, bffFlat, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "style " << int(c.style) << " frame " << int(c.type) << " hasFocus "
                                    << c.hasFocus);
    auto b = NewButton();
    b->CaptionA().SetCaption("");
    b->SetButtonStyle(c.style);
    b->SetFlatFrameType(c.type);
    b->SetHasFocus(c.hasFocus);
    form_->SetFocus();
    Pump();
    const Pixels plain = PaintToDib(*b);
    b->SetFocus();
    Pump();
    ASSERT_EQ(forms::App().ActiveControl(), b.get());
    const Pixels focused = PaintToDib(*b);
    const FocusMark mark = FocusMarkFor(c.style, c.type, 80, 28);
    int onMark = 0, elsewhere = 0;
    for (int y = 0; y < 28; ++y)
      for (int x = 0; x < 80; ++x) {
        if (plain.At(x, y) == focused.At(x, y)) continue;
        const bool edge = (y == mark.rect.top || y == mark.rect.bottom - 1) && x >= mark.rect.left &&
                          x < mark.rect.right;
        const bool side = (x == mark.rect.left || x == mark.rect.right - 1) && y >= mark.rect.top &&
                          y < mark.rect.bottom;
        if (edge || side) {
          ++onMark;
        } else {
          ++elsewhere;
        }
        if (mark.rounded) {
          EXPECT_EQ(focused.At(x, y), 0x202020u) << x << "," << y;
        }
      }
    if (!c.hasFocus) {
      EXPECT_EQ(onMark + elsewhere, 0);
      continue;
    }
    // a dotted line: about every other pixel of the 70-pixel top edge at least
    EXPECT_GT(onMark, 60);
    if (!mark.rounded) {
      EXPECT_EQ(elsewhere, 0);
      int dots = 0;  // dotted: every other pixel of the top edge
      for (int x = mark.rect.left; x < mark.rect.right; ++x)
        dots += plain.At(x, mark.rect.top) != focused.At(x, mark.rect.top);
      EXPECT_NEAR(dots, (mark.rect.right - mark.rect.left) / 2, 1);
    } else {
      EXPECT_EQ(focused.At(40, 2), 0x202020u);
      EXPECT_NE(focused.At(41, 2), 0x202020u);
    }
    // the mark leaves the window's own frame alone
    EXPECT_EQ(plain.At(40, 0), focused.At(40, 0));
  }
  form_->SetActiveControl(nullptr);
}

TEST_F(ButtonTest, RoundedStylesShapeTheWindow) {
  auto b = NewButton();
  const auto region = [&](RECT& box) {
    gdi::Region rgn(CreateRectRgn(0, 0, 0, 0));
    const int kind = GetWindowRgn(b->Handle(), rgn.Get());
    if (kind != ERROR) GetRgnBox(rgn.Get(), &box);
    struct { int kind; bool corner, top, bottomRight; } r{
        kind, PtInRegion(rgn.Get(), 0, 0) != 0, PtInRegion(rgn.Get(), 40, 0) != 0,
        PtInRegion(rgn.Get(), b->Width() - 1, b->Height() - 1) != 0};
    return r;
  };
  RECT box{};
  EXPECT_EQ(region(box).kind, ERROR);
  b->SetButtonStyle(bsRoundRect);
  ASSERT_NE(b->Region(), nullptr);
  auto r = region(box);
  EXPECT_NE(r.kind, ERROR);
  EXPECT_FALSE(r.corner);
  EXPECT_TRUE(r.top);
  EXPECT_FALSE(r.bottomRight);
  EXPECT_EQ(box.right, 80);
  EXPECT_EQ(box.bottom, 28);

  b->SetButtonStyle(bsNormal);
  EXPECT_EQ(b->Region(), nullptr);
  EXPECT_EQ(region(box).kind, ERROR);

  b->SetButtonStyle(bsRoundRectNoFrame);
  EXPECT_NE(b->Region(), nullptr);
  b->SetBounds(10, 10, 100, 30);
  Pump();
  r = region(box);
  EXPECT_NE(r.kind, ERROR);
  EXPECT_EQ(box.right, 100);
  EXPECT_EQ(box.bottom, 30);
  EXPECT_FALSE(r.bottomRight);

  // a style set before the window exists still shapes it when the window comes
  ProbeButton late;
  late.SetButtonStyle(bsRoundRect);
  EXPECT_EQ(late.Region(), nullptr);
  late.SetBounds(200, 10, 80, 28);
  late.SetParent(form_);
  EXPECT_NE(late.Region(), nullptr);
}

// ---- Input inside a modal form

// Runs scripted steps, one per timer tick, inside the form's modal loop.
class Script {
 public:
  using Step = std::function<void()>;
  static int RunModal(forms::Form& form, std::vector<Step> steps) {
    Script s{std::move(steps), &form};
    current_ = &s;
    const UINT_PTR timer = SetTimer(nullptr, 0, 60, &Script::Tick);
    const int result = form.ShowModal();
    KillTimer(nullptr, timer);
    current_ = nullptr;
    return result;
  }

 private:
  Script(std::vector<Step> steps, forms::Form* form) : steps_(std::move(steps)), form_(form) {}
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    Script* s = current_;
    if (!s || !s->form_->IsModal()) return;
    if (s->next_ < s->steps_.size()) {
      s->steps_[s->next_++]();
    } else if (++s->idle_ > 20) {
      s->form_->SetModalResult(kTimedOut);  // the script ran out and nothing ended the form
    }
  }
  std::vector<Step> steps_;
  forms::Form* form_;
  std::size_t next_ = 0;
  int idle_ = 0;
  static Script* current_;

 public:
  static constexpr int kTimedOut = 99;
};
Script* Script::current_ = nullptr;

void SendKey(WORD vk, bool down) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &in, sizeof(in));
}
Script::Step Key(WORD vk, bool down) {
  return [vk, down] { SendKey(vk, down); };
}
void SendMouse(DWORD flags, int x = 0, int y = 0) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  if (flags & MOUSEEVENTF_MOVE) {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    in.mi.dx = x * 65535 / (w - 1);
    in.mi.dy = y * 65535 / (h - 1);
    flags |= MOUSEEVENTF_ABSOLUTE;
  }
  in.mi.dwFlags = flags;
  SendInput(1, &in, sizeof(in));
}
// A point of the control, in screen coordinates.
POINT ScreenPoint(forms::WinControl& c, int x, int y) {
  POINT p{x, y};
  ClientToScreen(c.Handle(), &p);
  return p;
}
Script::Step MoveTo(forms::WinControl& c, int x, int y) {
  return [&c, x, y] {
    const POINT p = ScreenPoint(c, x, y);
    SendMouse(MOUSEEVENTF_MOVE, p.x, p.y);
  };
}
Script::Step LeftDown() { return [] { SendMouse(MOUSEEVENTF_LEFTDOWN); }; }
Script::Step LeftUp() { return [] { SendMouse(MOUSEEVENTF_LEFTUP); }; }

// A form with three buttons in a row and a close button in a header panel.
struct ModalScene {
  forms::Form form;
  forms::Panel header;
  ProbeButton back, next, other, close;
  std::vector<std::string> clicks;  // names, in order
  std::vector<int> resultsSeen;     // the form's modal result inside each OnClick

  ModalScene() : header(&form, PanelArgs("Panel1", {0, 0, 400, 40})) {
    form.SetBounds(60, 60, 400, 200);
    for (auto [b, name, left, result] : {std::tuple{&back, "BackBtn", 20, 7}, std::tuple{&next, "NextBtn", 120, 0},
                                         std::tuple{&other, "OkBtn", 220, 6}}) {
      b->name = name;
      b->SetBounds(left, 100, 80, 28);
      b->SetParent(&form);
      b->SetModalResult(result);
    }
    close.name = "EndBtn";
    close.SetBounds(310, 6, 80, 28);
    close.SetParent(&header);
    close.SetModalResult(2);
    for (TplButton* b : {&back, &next, &other, &close}) {
      b->SetFont(ActionFont());
      b->onClick = [this, b] {
        clicks.push_back(b->name);
        resultsSeen.push_back(form.ModalResult());
      };
    }
    back.SetTabOrder(0);
    next.SetTabOrder(1);
    other.SetTabOrder(2);
  }
  std::string Active() const {
    auto* c = forms::App().ActiveControl();
    return c ? c->name : "(none)";
  }
};

TEST(ModalInput, TabMovesTheFocusAndEnterClicksTheFocusedButton) {
  ModalScene s;
  std::vector<std::string> seen;
  const auto record = [&] { seen.push_back(s.Active()); };
  const int result = Script::RunModal(
      s.form, {record, Key(VK_TAB, true), Key(VK_TAB, false), record, Key(VK_TAB, true), Key(VK_TAB, false),
               record, Key(VK_SHIFT, true), Key(VK_TAB, true), Key(VK_TAB, false), Key(VK_SHIFT, false), record,
               Key(VK_RETURN, true), Key(VK_RETURN, false)});
  EXPECT_EQ(seen, (std::vector<std::string>{"BackBtn", "NextBtn", "OkBtn", "NextBtn"}));
  EXPECT_EQ(result, Script::kTimedOut) << "NextBtn's modal result is 0: its click leaves the form running";
  EXPECT_EQ(s.clicks, std::vector<std::string>{"NextBtn"});
}

TEST(ModalInput, EnterOnAButtonWithAModalResultEndsTheForm) {
  ModalScene s;
  const int result = Script::RunModal(s.form, {[&] { s.other.SetFocus(); }, Key(VK_RETURN, true),
                                               Key(VK_RETURN, false)});
  EXPECT_EQ(result, 6);
  EXPECT_EQ(s.clicks, std::vector<std::string>{"OkBtn"});
  EXPECT_EQ(s.resultsSeen, std::vector<int>{6}) << "the modal result is set before OnClick";
}

TEST(ModalInput, EscapeClicksTheCancelButtonWhereverTheFocusIs) {
  struct Case { bool ctrl; bool hasFocus; int result; std::vector<std::string> clicks; };
  const Case cases[] = {{false, true, 2, {"EndBtn"}},
                        {true, true, Script::kTimedOut, {}},
                        {false, false, Script::kTimedOut, {}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "ctrl " << c.ctrl << " hasFocus " << c.hasFocus);
    ModalScene s;
    s.close.SetCancel(true);
    s.close.SetHasFocus(c.hasFocus);
    std::vector<Script::Step> steps{[&] { s.next.SetFocus(); }};
    if (c.ctrl) steps.push_back(Key(VK_CONTROL, true));
    steps.push_back(Key(VK_ESCAPE, true));
    steps.push_back(Key(VK_ESCAPE, false));
    if (c.ctrl) steps.push_back(Key(VK_CONTROL, false));
    EXPECT_EQ(Script::RunModal(s.form, steps), c.result);
    EXPECT_EQ(s.clicks, c.clicks);
  }
}

TEST(ModalInput, EnterThatIsNoDialogKeyGivesOnlyThePlainClick) {
  struct Case { bool shift, hasFocus; };
  for (const Case& c : {Case{true, true}, Case{false, false}}) {
    SCOPED_TRACE(testing::Message() << "shift " << c.shift << " hasFocus " << c.hasFocus);
    ModalScene s;
    s.other.SetHasFocus(c.hasFocus);
    bool pressedAfter = true;
    std::vector<Script::Step> steps{[&] { s.other.SetFocus(); }};
    if (c.shift) steps.push_back(Key(VK_SHIFT, true));
    steps.push_back(Key(VK_RETURN, true));
    steps.push_back(Key(VK_RETURN, false));
    if (c.shift) steps.push_back(Key(VK_SHIFT, false));
    steps.push_back([&] { pressedAfter = s.other.Pressed(); });
    EXPECT_EQ(Script::RunModal(s.form, steps), Script::kTimedOut);
    EXPECT_EQ(s.clicks, std::vector<std::string>{"OkBtn"});
    EXPECT_EQ(s.resultsSeen, std::vector<int>{0}) << "no modal result";
    EXPECT_FALSE(pressedAfter);
  }
}

TEST(ModalInput, AClickEndsTheFormWithTheButtonsModalResult) {
  ModalScene s;
  std::vector<std::string> activeAtClick;
  s.back.onClick = [&] {
    activeAtClick.push_back(s.Active());
    s.clicks.push_back("BackBtn");
  };
  bool pressedWhileDown = false;
  const int result = Script::RunModal(
      s.form, {[&] { s.other.SetFocus(); }, MoveTo(s.form, 5, 190), MoveTo(s.back, 30, 12), LeftDown(),
               [&] { pressedWhileDown = s.back.Pressed(); }, LeftUp()});
  EXPECT_EQ(result, 7);
  EXPECT_TRUE(pressedWhileDown);
  EXPECT_FALSE(s.back.Pressed());
  EXPECT_EQ(activeAtClick, std::vector<std::string>{"BackBtn"}) << "the press takes the focus first";
  ASSERT_FALSE(s.back.entered.empty());  // the pointer may start on the button, left by an earlier test
  EXPECT_EQ(s.back.entered.back().x, 30);
  EXPECT_EQ(s.back.entered.back().y, 12);
}

TEST(ModalInput, ACloseButtonInAPanelEndsTheContainingForm) {
  ModalScene s;
  const int result = Script::RunModal(s.form, {MoveTo(s.close, 40, 14), LeftDown(), LeftUp()});
  EXPECT_EQ(result, 2);
  EXPECT_EQ(s.clicks, std::vector<std::string>{"EndBtn"});
}

TEST(ModalInput, PressOnAButtonWithoutHasFocusLeavesTheFocus) {
  ModalScene s;
  s.other.SetHasFocus(false);
  std::string activeWhileDown;
  bool pressedWhileDown = false;
  const int result = Script::RunModal(
      s.form, {[&] { s.next.SetFocus(); }, MoveTo(s.other, 40, 14), LeftDown(),
               [&] {
                 activeWhileDown = s.Active();
                 pressedWhileDown = s.other.Pressed();
               },
               LeftUp()});
  EXPECT_EQ(result, 6);
  EXPECT_EQ(activeWhileDown, "NextBtn");
  EXPECT_TRUE(pressedWhileDown);
}

TEST(ModalInput, DraggingOutCancelsThePressedLook) {
  struct Case { bool backIn; int result; std::vector<std::string> clicks; };
  const Case cases[] = {{false, Script::kTimedOut, {}}, {true, 7, {"BackBtn"}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.backIn ? "released inside" : "released outside");
    ModalScene s;
    bool pressedDown = false, pressedOut = true, pressedBack = true;
    std::vector<Script::Step> steps{MoveTo(s.back, 40, 14), LeftDown(), [&] { pressedDown = s.back.Pressed(); },
                                    MoveTo(s.back, 40, 80), MoveTo(s.back, 40, 90),
                                    [&] { pressedOut = s.back.Pressed(); }};
    if (c.backIn) {
      steps.push_back(MoveTo(s.back, 40, 14));
      steps.push_back(MoveTo(s.back, 42, 14));
      steps.push_back([&] { pressedBack = s.back.Pressed(); });
    }
    steps.push_back(LeftUp());
    EXPECT_EQ(Script::RunModal(s.form, steps), c.result);
    EXPECT_TRUE(pressedDown);
    EXPECT_FALSE(pressedOut);
    if (c.backIn) {
      EXPECT_FALSE(pressedBack) << "the pressed look does not come back";
    }
    EXPECT_GE(s.back.left.size(), 1u);
    EXPECT_EQ(s.clicks, c.clicks);
  }
}

}  // namespace
}  // namespace controls
