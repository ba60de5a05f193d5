// The form framework on a real window system: modal runs, dialog keys, tab order,
// labels, pictures and the default error box.
#include <gtest/gtest.h>

#include <windows.h>
#include <imm.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// GCC 12 takes a std::string inside a designated-initializer temporary for uninitialised
// once inlined (a known false positive); the build stays free of warnings.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

#include "base/error.h"
#include "base/gdi.h"
#include "forms/application.h"
#include "forms/standard_controls.h"
#include "forms/form.h"
#include "forms/picture.h"
#include "tests/wine/box_watcher.h"

namespace forms {
namespace {

// A push button of the framework's own class; it and the edit record their focus-enter
// handler.
class PushButton : public ButtonControl {
 public:
  PushButton(WinControl* parent, const ControlArgs& control, int result) {
    modalResult_ = result;
    Init(parent, control);
  }
  std::function<void(WinControl&)> entered;
  void DoEnter() override {
    if (entered) entered(*this);
  }
};

class RecordingEdit : public Edit {
 public:
  using Edit::Edit;
  std::function<void(WinControl&)> entered;
  void DoEnter() override {
    if (entered) entered(*this);
  }
};

class TwoButtonForm : public Form {
 public:
  TwoButtonForm()
      : Form(nullptr, {.name = "TwoButtonForm", .clientWidth = 300, .clientHeight = 120, .left = 100, .top = 100,
                       .position = Position::ScreenCenter, .text = "\x83\x65\x83\x58\x83\x67"}) {}  // テスト
  RecordingEdit NameEdt{this, {.name = "NameEdt", .bounds = {10, 10, 120, 22}}, {.enterClicks = &OkBtn}};
  PushButton OkBtn{this, {.name = "OkBtn", .bounds = {10, 60, 80, 26}}, mrOk};
  PushButton NoBtn{this, {.name = "NoBtn", .bounds = {100, 60, 80, 26}}, mrNo};
  PushButton EndBtn{this, {.name = "EndBtn", .bounds = {190, 60, 80, 26}}, mrCancel};
  std::function<void()> shown;  // runs at the end of the show handler

 protected:
  void FormShow() override {
    if (shown) shown();
  }
};

void PostKey(HWND hwnd, WORD key) { PostMessageW(hwnd, WM_KEYDOWN, key, 1); }
// A left click in the control's top-left corner, through the message queue.
void PostClick(WinControl& c) {
  PostMessageW(c.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(c.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

TEST(FormsModal, ClickingAButtonEndsTheRunWithItsResult) {
  TwoButtonForm form;
  form.shown = [&] { PostClick(form.NoBtn); };
  EXPECT_EQ(form.ShowModal(), mrNo);
  EXPECT_FALSE(IsWindowVisible(form.Handle()));
  // A second run starts afresh and is ended by Close.
  form.shown = [&] { form.Close(); };
  EXPECT_EQ(form.ShowModal(), mrCancel);
}

TEST(FormsModal, TabFollowsTabOrderAndEnterClicksTheFocusedButton) {
  TwoButtonForm form;
  form.NoBtn.SetTabOrder(1);  // NameEdt 0, NoBtn 1, OkBtn 2, EndBtn 3
  EXPECT_EQ(form.OkBtn.TabOrder(), 2);
  std::vector<std::string> visited;
  const auto record = [&visited](WinControl& sender) { visited.push_back(sender.name); };
  form.NameEdt.entered = record;
  form.OkBtn.entered = record;
  bool tabbedOnce = false;
  form.NoBtn.entered = [&](WinControl& sender) {
    visited.push_back(sender.name);
    if (!tabbedOnce) {
      PostKey(sender.Handle(), VK_RETURN);
      PostClick(form.EndBtn);  // ends the run
    }
    tabbedOnce = true;
  };
  // Enter on a button runs its click handler alone, without its modal result.
  std::vector<int> resultAtClick;
  form.NoBtn.onClick = [&] { resultAtClick.push_back(form.ModalResult()); };
  form.shown = [&] { PostKey(form.NameEdt.Handle(), VK_TAB); };
  EXPECT_EQ(form.ShowModal(), mrCancel);
  ASSERT_GE(visited.size(), 2u);
  EXPECT_EQ(visited[0], "NameEdt");
  EXPECT_EQ(visited[1], "NoBtn");
  EXPECT_EQ(resultAtClick, std::vector<int>{mrNone});
}

TEST(FormsModal, EnterInAnEditFocusesTheButtonItsRowNamesAndRunsItsClickHandler) {
  TwoButtonForm form;
  std::vector<std::string> focusedAtClick;
  std::vector<int> resultAtClick;
  form.OkBtn.onClick = [&] {
    WinControl* focused = App().ActiveControl();
    focusedAtClick.push_back(focused ? focused->name : "(none)");
    resultAtClick.push_back(form.ModalResult());
  };
  // Enter twice, as a held key repeats it: each one clicks.
  form.shown = [&] {
    form.NameEdt.SetFocus();
    PostKey(form.NameEdt.Handle(), VK_RETURN);
    PostKey(form.NameEdt.Handle(), VK_RETURN);
    PostClick(form.EndBtn);  // ends the run
  };
  EXPECT_EQ(form.ShowModal(), mrCancel);
  EXPECT_EQ(focusedAtClick, (std::vector<std::string>{"OkBtn", "OkBtn"}));
  EXPECT_EQ(resultAtClick, (std::vector<int>{mrNone, mrNone})) << "the click handler alone, no modal result";
  // An edit whose row names no button: Enter does nothing.
  RecordingEdit plain(&form, {.name = "PlainEdt", .bounds = {140, 10, 60, 22}});
  int clicks = 0;
  form.OkBtn.onClick = [&] { ++clicks; };
  form.shown = [&] {
    plain.SetFocus();
    PostKey(plain.Handle(), VK_RETURN);
    PostClick(form.EndBtn);
  };
  EXPECT_EQ(form.ShowModal(), mrCancel);
  EXPECT_EQ(clicks, 0);
}

TEST(FormsLabel, AutoSizeKeepsTheRightEdgeOfARightAlignedLabel) {
  TwoButtonForm form;
  Label right(&form, {.name = "R", .bounds = {200, 10, 40, 20}}, {.caption = "x", .alignment = TextAlign::Right});
  const int rightEdge = 240;
  right.SetCaption("ファイル名表示位置");
  EXPECT_EQ(right.Left() + right.Width(), rightEdge);
  EXPECT_GT(right.Width(), 40);
  Label left(&form, {.name = "L", .bounds = {20, 40, 10, 10}}, {.caption = "abc"});
  EXPECT_EQ(left.Left(), 20);
  EXPECT_GT(left.Width(), 0);
  EXPECT_GT(left.Height(), 0);
}

TEST(FormsPicture, LoadsJpegAndBitmapFilesByExtensionAndRefusesOthers) {
  Picture picture;
  picture.LoadFromFile(EAR_JPEG_TESTDATA "/odd13x5.jpg");
  EXPECT_EQ(picture.GetKind(), Picture::Kind::Bitmap);
  EXPECT_EQ(picture.Width(), 13);
  EXPECT_EQ(picture.Height(), 5);
  EXPECT_THROW(picture.LoadFromFile(EAR_JPEG_TESTDATA "/odd13x5.tga"), ear::Error);
  // A JPEG name over data that is no JPEG is an error, not a crash.
  EXPECT_THROW(picture.LoadFromFile(EAR_SOURCE_DIR "/CMakeLists.jpg"), ear::Error);
}

TEST(FormsImage, SurfaceOfAnEmptyControlIsAWhiteBitmapOfItsSize) {
  TwoButtonForm form;
  Image image(&form, {.name = "Img", .bounds = {0, 0, 30, 20}});
  HDC surface = image.Canvas();
  ASSERT_NE(surface, nullptr);
  EXPECT_EQ(image.picture.Width(), 30);
  EXPECT_EQ(image.picture.Height(), 20);
  EXPECT_EQ(GetPixel(surface, 29, 19), RGB(255, 255, 255));
}

TEST(FormsControls, PanelAlignedToTheTopSpansTheFormAndHoldsItsChildren) {
  TwoButtonForm form;
  Panel header(&form, {.name = "Panel1", .bounds = {5, 5, 10, 70}, .align = Align::Top},
               {.bevelOuter = BevelCut::None});
  Label title(&header, {.name = "TitleLbl", .bounds = {225, 9, 10, 10}}, {.caption = "実施手順の確認"});
  EXPECT_EQ(header.Left(), 0);
  EXPECT_EQ(header.Top(), 0);
  EXPECT_EQ(header.Width(), form.Width());
  EXPECT_EQ(header.Height(), 70);
  EXPECT_EQ(ParentForm(title), &form);
  EXPECT_EQ(title.GetFont(), form.GetFont());  // fonts come from the parent until set
}

TEST(FormsControls, AnchoredChildrenKeepTheirMarginsWhenTheirPanelResizes) {
  TwoButtonForm form;
  Panel panel(&form, {.name = "Panel", .bounds = {10, 10, 200, 100}}, {.bevelOuter = BevelCut::None});
  Edit stretched(&panel, {.name = "Stretched", .bounds = {20, 10, 150, 22}, .anchors = akLeft | akTop | akRight});
  Bevel placed(&panel, {.name = "Placed", .bounds = {20, 50, 40, 20}, .anchors = akLeft | akTop});
  Edit right(&panel, {.name = "Right", .bounds = {150, 40, 40, 20}, .anchors = akTop | akRight});
  Bevel filled(&panel, {.name = "Filled", .bounds = {5, 70, 190, 25},
                        .anchors = akLeft | akTop | akRight | akBottom});
  ASSERT_NE(form.Handle(), nullptr);
  panel.SetBounds(10, 10, 300, 140);  // 100 wider, 40 higher

  struct Case { const Control* control; Bounds expected; };
  const Case cases[] = {
      {&stretched, {20, 10, 250, 22}},  // right margin 30 kept
      {&placed, {20, 50, 40, 20}},      // stays where it was
      {&right, {250, 40, 40, 20}},      // moves with the right edge
      {&filled, {5, 70, 290, 65}},      // right margin 5 and bottom margin 5 kept
  };
  for (const Case& c : cases) {
    const Bounds b = c.control->GetBounds();
    EXPECT_EQ(b.left, c.expected.left) << c.control->name;
    EXPECT_EQ(b.top, c.expected.top) << c.control->name;
    EXPECT_EQ(b.width, c.expected.width) << c.control->name;
    EXPECT_EQ(b.height, c.expected.height) << c.control->name;
  }
  // The windows themselves moved, not only the numbers.
  for (Edit* edit : {&stretched, &right}) {
    RECT r{};
    GetWindowRect(edit->Handle(), &r);
    MapWindowPoints(HWND_DESKTOP, panel.Handle(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, edit->Left()) << edit->name;
    EXPECT_EQ(r.right - r.left, edit->Width()) << edit->name;
  }
}

// A panel whose window the test can make again.
class RemadePanel : public Panel {
 public:
  using Panel::Panel;
  using WinControl::DestroyHandle;
};

// The child windows of a window, top first.
std::vector<HWND> ChildrenTopFirst(HWND parent) {
  std::vector<HWND> children;
  for (HWND w = GetWindow(parent, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) children.push_back(w);
  return children;
}

COLORREF ScreenPixel(HWND window, int x, int y) {
  POINT p{x, y};
  ClientToScreen(window, &p);
  const ear::gdi::WindowDC screen;
  return GetPixel(screen.Get(), p.x, p.y);
}

TEST(FormsControls, AChildAskedForItsWindowFirstGetsExactlyOne) {
  Form form(nullptr, {.name = "FirstAskForm", .clientWidth = 120, .clientHeight = 80});
  Panel panel(&form, {.name = "Panel", .bounds = {10, 10, 50, 30}}, {.bevelOuter = BevelCut::None});
  // The child's call makes the form's window, which makes the child's window on the way.
  const HWND child = panel.Handle();
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(ChildrenTopFirst(form.Handle()), std::vector<HWND>{child});
  EXPECT_EQ(panel.Handle(), child);
}

TEST(FormsControls, SiblingWindowsStackInCreationOrderLaterOnTop) {
  Form form(nullptr, {.name = "StackForm", .clientWidth = 200, .clientHeight = 130, .left = 60, .top = 60,
                      .color = clWhite});
  constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255);
  // The first two get their windows with the form's, the third at once.
  Panel first(&form, {.name = "First", .bounds = {10, 10, 100, 60}, .color = kRed}, {.bevelOuter = BevelCut::None});
  RemadePanel second(&form, {.name = "Second", .bounds = {40, 30, 100, 60}, .color = kGreen},
                     {.bevelOuter = BevelCut::None});
  ASSERT_NE(form.Handle(), nullptr);
  Panel third(&form, {.name = "Third", .bounds = {70, 50, 100, 60}, .color = kBlue}, {.bevelOuter = BevelCut::None});
  const std::vector<HWND> expected{third.Handle(), second.Handle(), first.Handle()};
  EXPECT_EQ(ChildrenTopFirst(form.Handle()), expected);
  EXPECT_EQ(GetWindow(second.Handle(), GW_HWNDPREV), third.Handle());
  EXPECT_EQ(GetWindow(second.Handle(), GW_HWNDNEXT), first.Handle());

  // A window made again goes back to its place, not to the bottom.
  second.DestroyHandle();
  ASSERT_NE(second.Handle(), nullptr);
  EXPECT_EQ(ChildrenTopFirst(form.Handle()), (std::vector<HWND>{third.Handle(), second.Handle(), first.Handle()}));

  form.ShowForm();
  RedrawWindow(form.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Sleep(100);
  App().ProcessMessages();
  struct Case {
    int x, y;
    COLORREF color;
  };
  for (const Case& c : {Case{20, 20, kRed}, Case{50, 40, kGreen}, Case{100, 65, kBlue}, Case{150, 80, kBlue},
                        Case{180, 120, RGB(255, 255, 255)}}) {
    EXPECT_EQ(ScreenPixel(form.Handle(), c.x, c.y), c.color) << c.x << "," << c.y;
  }
  form.HideForm();
}

TEST(FormsControls, APartialRepaintDrawsOnlyTheUpdateRectangleInPlace) {
  Form form(nullptr, {.name = "RepaintForm", .clientWidth = 200, .clientHeight = 120, .left = 60, .top = 60,
                      .color = clWhite});
  Image picture(&form, {.name = "Picture", .bounds = {20, 20, 100, 60}});
  constexpr COLORREF kWhite = RGB(255, 255, 255), kGreen = RGB(0, 255, 0), kRed = RGB(255, 0, 0);
  auto fill = [&](COLORREF color) {
    RECT all{0, 0, 100, 60};
    FillRect(picture.Canvas(), &all, CachedBrush(color));
  };
  fill(kGreen);
  form.ShowForm();
  App().ProcessMessages();
  // The picture turns red unannounced; only what is invalidated shows it.
  fill(kRed);
  auto repaint = [&](RECT r) {
    InvalidateRect(form.Handle(), &r, FALSE);
    UpdateWindow(form.Handle());
  };
  repaint(RECT{100, 60, 140, 100});  // over the picture's bottom-right corner and the form beside it
  repaint(RECT{30, 30, 50, 50});     // inside the picture
  // What was drawn reaches the display when the window system's queue is served.
  Sleep(100);
  App().ProcessMessages();
  struct Case {
    int x, y;
    COLORREF color;
  };
  for (const Case& c : {Case{110, 70, kRed}, Case{119, 79, kRed}, Case{130, 90, kWhite}, Case{120, 70, kWhite},
                        Case{40, 40, kRed}, Case{29, 29, kGreen}, Case{50, 50, kGreen}, Case{90, 70, kGreen},
                        Case{10, 10, kWhite}}) {
    EXPECT_EQ(ScreenPixel(form.Handle(), c.x, c.y), c.color) << c.x << "," << c.y;
  }
  form.HideForm();
}

// A picture whose paint, once armed, has another window painted first, inside its own paint.
class NestingImage : public Image {
 public:
  using Image::Image;
  HWND other = nullptr;
  void Paint(HDC dc) override {
    if (HWND o = std::exchange(other, nullptr)) UpdateWindow(o);
    Image::Paint(dc);
  }
};

TEST(FormsControls, APaintInsideAnotherComposesOnItsOwnAndBothShowTheirPixels) {
  constexpr COLORREF kWhite = RGB(255, 255, 255), kGreen = RGB(0, 255, 0), kRed = RGB(255, 0, 0),
                     kBlue = RGB(0, 0, 255);
  Form outer(nullptr, {.name = "OuterForm", .clientWidth = 200, .clientHeight = 120, .left = 60, .top = 60,
                       .color = clWhite});
  NestingImage outerPicture(&outer, {.name = "OuterPicture", .bounds = {20, 20, 100, 60}});
  Form inner(nullptr, {.name = "InnerForm", .clientWidth = 120, .clientHeight = 80, .left = 300, .top = 60,
                       .color = clWhite});
  Image innerPicture(&inner, {.name = "InnerPicture", .bounds = {10, 10, 40, 40}});
  auto fill = [](Image& picture, COLORREF color) {
    RECT all{0, 0, picture.Width(), picture.Height()};
    FillRect(picture.Canvas(), &all, CachedBrush(color));
  };
  fill(outerPicture, kGreen);
  fill(innerPicture, kGreen);
  outer.ShowForm();
  inner.ShowForm();
  App().ProcessMessages();
  // Both repaint whole, so both compose off-screen; the inner one while the outer one is at it.
  fill(outerPicture, kRed);
  fill(innerPicture, kBlue);
  InvalidateRect(inner.Handle(), nullptr, FALSE);
  InvalidateRect(outer.Handle(), nullptr, FALSE);
  outerPicture.other = inner.Handle();
  UpdateWindow(outer.Handle());
  EXPECT_EQ(outerPicture.other, nullptr);  // the nested paint did run
  Sleep(100);
  App().ProcessMessages();
  struct Case {
    Form& form;
    int x, y;
    COLORREF color;
  };
  for (const Case& c : {Case{outer, 30, 30, kRed}, Case{outer, 119, 79, kRed}, Case{outer, 10, 10, kWhite},
                        Case{outer, 150, 100, kWhite}, Case{inner, 20, 20, kBlue}, Case{inner, 49, 49, kBlue},
                        Case{inner, 5, 5, kWhite}, Case{inner, 100, 70, kWhite}}) {
    EXPECT_EQ(ScreenPixel(c.form.Handle(), c.x, c.y), c.color) << c.form.Text() << " " << c.x << "," << c.y;
  }
  inner.HideForm();
  outer.HideForm();
}

TEST(FormsControls, EditKeepsShiftJisTextByteForByte) {
  TwoButtonForm form;
  form.Handle();
  const std::string name = "\x83\x5C\x95\x5C\x83\x5E\x89\x5E abc";  // ソ表タ運: second bytes 5C and 5E
  form.NameEdt.SetText(name);
  EXPECT_EQ(form.NameEdt.Text(), name);
  Edit limited(&form, {.name = "KaiCdEdt", .bounds = {10, 40, 60, 20}}, {.maxLength = 5});
  limited.Handle();
  SendMessageW(limited.Handle(), WM_CHAR, L'1', 0);
  for (wchar_t c : std::wstring(L"234567")) SendMessageW(limited.Handle(), WM_CHAR, c, 0);
  EXPECT_EQ(limited.Text(), "12345");
}

TEST(FormsControls, EditLimitCountsShiftJisBytes) {
  // Full-width digits take two bytes each: five of them are ten bytes, not five.
  struct Case { std::wstring typed; std::string kept, afterBackspace; };
  const Case cases[] = {
      {L"\uFF11\uFF12\uFF13\uFF14\uFF15", "\x82\x50\x82\x51", "\x82\x50"},  // １２ and no more
      {L"\uFF11\uFF12" L"345", "\x82\x50\x82\x51" "3", "\x82\x50\x82\x51"},  // １２3: five bytes
      {L"1234\uFF15", "1234", "123"},                                       // ５ would make six
      {L"123\uFF14" L"5", "123\x82\x53", "123"},                             // 123４: the 5 is refused
      {L"12\b3456", "13456", "1345"},                                        // a backspace frees its byte
  };
  for (const Case& c : cases) {
    TwoButtonForm form;
    Edit limited(&form, {.name = "KaiCdEdt", .bounds = {10, 40, 60, 20}}, {.maxLength = 5});
    limited.Handle();
    for (wchar_t ch : c.typed) SendMessageW(limited.Handle(), WM_CHAR, ch, 0);
    EXPECT_EQ(limited.Text(), c.kept);
    // The caret stays where the refused character would have gone.
    SendMessageW(limited.Handle(), WM_CHAR, VK_BACK, 0);
    EXPECT_EQ(limited.Text(), c.afterBackspace);
  }
}

TEST(FormsApplication, AnErrorThatEscapesAClickReachesTheDefaultErrorBox) {
  TwoButtonForm form;
  form.OkBtn.onClick = [] { throw ear::Error("\x83\x65\x83\x58\x83\x67\x81\x42"); };  // テスト。
  testing_win::BoxWatcher box(IDOK);
  form.shown = [&] { PostClick(form.OkBtn); };
  // The click sets the modal result before the handler throws; the program goes on.
  EXPECT_EQ(form.ShowModal(), mrOk);
  const testing_win::BoxInfo info = box.get();
  ASSERT_TRUE(info.found);
  EXPECT_EQ(info.text, "\x83\x65\x83\x58\x83\x67\x81\x42.");
  EXPECT_EQ(info.title, App().Title());
  EXPECT_EQ(info.title, "forms_win_test");  // the first character keeps its case
  EXPECT_TRUE(info.hasIcon);
  ASSERT_EQ(info.buttons.size(), 1u);
}

TEST(FormsForm, ArgsGiveSizeColourFontAndTheOneWindowText) {
  const Font font{.name = "\x82\x6c\x82\x72 \x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e", .height = -13};
  Form form(nullptr, {.name = "frmArgs", .clientWidth = 647, .clientHeight = 501, .position = Position::ScreenCenter,
                      .color = 0x00123456, .font = font, .text = "\x8E\x8E\x8C\xB1"});  // 試験
  EXPECT_EQ(form.name, "frmArgs");
  EXPECT_EQ(form.GetColor(), 0x00123456u);
  EXPECT_EQ(form.GetFont(), font);
  EXPECT_EQ(form.Text(), "\x8E\x8E\x8C\xB1");
  form.ShowForm();
  form.Close();
  wchar_t title[16] = {};
  GetWindowTextW(form.Handle(), title, 16);
  EXPECT_EQ(std::wstring(title), L"\u8A66\u9A13");
  RECT client{};
  GetClientRect(form.Handle(), &client);
  EXPECT_EQ(client.right, 647);
  EXPECT_EQ(client.bottom, 501);
  EXPECT_EQ(form.Left(), (GetSystemMetrics(SM_CXSCREEN) - 647) / 2);
  EXPECT_EQ(form.Top(), (GetSystemMetrics(SM_CYSCREEN) - 501) / 2);
  // Setting the text later changes the one stored text and the window's.
  form.SetText("abc");
  GetWindowTextW(form.Handle(), title, 16);
  EXPECT_EQ(std::wstring(title), L"abc");
  EXPECT_EQ(form.Text(), "abc");
}

// A centred form 200 pixels taller than the screen, with a button at its bottom and one at
// its top, as the wizard screens have them.
class TallForm : public Form {
 public:
  TallForm()
      : Form(nullptr, {.name = "TallForm", .clientWidth = 400, .clientHeight = GetSystemMetrics(SM_CYSCREEN) + 200,
                       .position = Position::ScreenCenter, .text = "tall"}) {}
  PushButton BottomBtn{this, {.name = "BottomBtn", .bounds = {10, Height() - 38, 80, 28}, .tabOrder = 0}, mrOk};
  PushButton TopBtn{this, {.name = "TopBtn", .bounds = {300, 8, 80, 28}, .tabOrder = 1}, mrCancel};
};

TEST(FormsForm, AFormTallerThanTheScreenShowsItsBottomEdgeAndTabBringsAControlIntoView) {
  RECT work{};
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
  TallForm form;
  // Once shown and idle: where the form and the focused control are; then Tab, twice, and end.
  std::vector<RECT> formAt, focusedAt;
  App().WhenIdle(&form, [&] {
    WinControl* focused = form.ActiveControl();
    if (!IsWindowVisible(form.Handle()) || !focused) return true;
    RECT f{}, c{};
    GetWindowRect(form.Handle(), &f);
    GetWindowRect(focused->Handle(), &c);
    formAt.push_back(f);
    focusedAt.push_back(c);
    if (formAt.size() < 3) {
      PostKey(focused->Handle(), VK_TAB);
      return true;
    }
    form.Close();
    return false;
  });
  EXPECT_EQ(form.ShowModal(), mrCancel);
  App().CancelIdle(&form);
  ASSERT_EQ(formAt.size(), 3u);
  // Shown: its bottom edge on the work area's last row, centred across, the bottom button in view.
  EXPECT_EQ(formAt[0].bottom, work.bottom);
  EXPECT_EQ(formAt[0].left, (GetSystemMetrics(SM_CXSCREEN) - 400) / 2);
  EXPECT_EQ(focusedAt[0].bottom, work.bottom - 10);
  // Tab to the top button: moved down the least that shows it, across not at all.
  EXPECT_EQ(focusedAt[1].top, work.top);
  EXPECT_EQ(formAt[1].top, work.top - 8);
  EXPECT_EQ(formAt[1].left, formAt[0].left);
  // Tab back to the bottom one: moved up until it shows.
  EXPECT_EQ(focusedAt[2].bottom, work.bottom);
  EXPECT_EQ(formAt[2].bottom, work.bottom + 10);
}

TEST(FormsForm, TheWheelOverAFormTallerThanTheScreenShowsTheRestOfIt) {
  RECT work{};
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
  TallForm form;
  form.ShowForm();
  const auto wheel = [](HWND to, int delta) {
    SendMessageW(to, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(delta))), 0);
  };
  ASSERT_EQ(form.Top() + form.Height(), work.bottom);
  wheel(form.Handle(), 120);  // up one notch: the form comes down as far
  EXPECT_EQ(form.Top() + form.Height(), work.bottom + 120);
  wheel(form.BottomBtn.Handle(), 3 * 120);  // over a button: the form's all the same, up to its top edge
  EXPECT_EQ(form.Top(), work.top);
  wheel(form.Handle(), -10 * 120);
  EXPECT_EQ(form.Top() + form.Height(), work.bottom);
  form.Close();
}

TEST(FormsControls, ImeOffEditHasNoInputContextWhileAnotherEditHasOne) {
  TwoButtonForm form;
  Edit venue(&form, {.name = "KaiCdEdt", .bounds = {10, 40, 60, 20}}, {.imeOff = true});
  form.Handle();
  auto hasContext = [](HWND hwnd) {
    HIMC context = ImmGetContext(hwnd);
    if (context) ImmReleaseContext(hwnd, context);
    return context != nullptr;
  };
  EXPECT_TRUE(hasContext(form.NameEdt.Handle()));
  EXPECT_FALSE(hasContext(venue.Handle()));
  venue.SetImeOff(false);
  EXPECT_TRUE(hasContext(venue.Handle()));
  venue.SetImeOff(true);
  EXPECT_FALSE(hasContext(venue.Handle()));
  // Set before the window exists, the flag is applied when it is made.
  Edit late(&form, {.name = "JuBanEdt", .bounds = {10, 70, 60, 20}}, {.imeOff = true});
  EXPECT_FALSE(hasContext(late.Handle()));
}

// A press and release of the left button at (x, y) of a window's client area.
void ClickAt(HWND hwnd, int x, int y) {
  SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

TEST(FormsControls, GraphicControlsTakeTheirParentsClicksInTheirRectangle) {
  TwoButtonForm form;
  std::vector<std::string> clicks;
  auto note = [&clicks](const char* who) { return [&clicks, who] { clicks.push_back(who); }; };
  form.onClick = note("form");
  Panel header(&form, {.name = "Panel1", .bounds = {0, 0, 300, 40}, .onClick = note("Panel1")});
  Image back(&form, {.name = "Image1", .bounds = {0, 50, 200, 60}, .onClick = note("Image1")});
  Label over(&form, {.name = "CRLbl", .bounds = {20, 55, 40, 12}, .onClick = note("CRLbl")},
             {.caption = "abc", .autoSize = false});
  Label inPanel(&header, {.name = "TitleLbl", .bounds = {100, 5, 50, 20}, .onClick = note("TitleLbl")},
                {.autoSize = false});
  Bevel frame(&form, {.name = "Bevel1", .bounds = {250, 100, 40, 15}, .onClick = note("Bevel1")});
  form.Handle();
  ClickAt(form.Handle(), 30, 60);     // the label lies over the picture: the later one takes it
  ClickAt(form.Handle(), 150, 100);   // the picture alone
  ClickAt(form.Handle(), 260, 105);   // the bevel
  ClickAt(form.Handle(), 250, 60);    // nothing graphic: the form
  ClickAt(header.Handle(), 120, 10);  // the label in the panel
  ClickAt(header.Handle(), 20, 10);   // the panel itself
  form.NameEdt.onClick = note("NameEdt");
  ClickAt(form.NameEdt.Handle(), 5, 5);  // an edit, a system class, clicks too
  over.Hide();
  ClickAt(form.Handle(), 30, 60);  // a hidden label lets the picture take it
  back.SetEnabled(false);
  ClickAt(form.Handle(), 150, 100);  // a disabled picture passes it to the form
  EXPECT_EQ(clicks, (std::vector<std::string>{"CRLbl", "Image1", "Bevel1", "form", "TitleLbl", "Panel1",
                                             "NameEdt", "Image1", "form"}));
  // Pressed on the picture, released on the form beside it: no click at all.
  clicks.clear();
  back.SetEnabled(true);
  SendMessageW(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 100));
  SendMessageW(form.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(250, 100));
  EXPECT_TRUE(clicks.empty());
}

TEST(FormsControls, ButtonClickHandsItsModalResultToTheFormBeforeItsHandlerRuns) {
  TwoButtonForm form;
  int seen = -1;
  form.NoBtn.onClick = [&] { seen = form.ModalResult(); };
  form.Handle();
  ClickAt(form.NoBtn.Handle(), 5, 5);
  EXPECT_EQ(seen, mrNo);
  EXPECT_EQ(form.ModalResult(), mrNo);
  // Clicks on anything but a button leave the modal result alone.
  form.SetModalResult(mrNone);
  Label label(&form, {.name = "L", .bounds = {200, 10, 40, 20}}, {.caption = "x", .autoSize = false});
  ClickAt(form.Handle(), 210, 15);
  ClickAt(form.Handle(), 5, 100);
  EXPECT_EQ(form.ModalResult(), mrNone);
}

// The whole bitmap as rows of blue, green, red bytes.
std::vector<unsigned char> BitmapBytes(HBITMAP bitmap, int width, int height) {
  BITMAPINFO info = ear::gdi::TopDownDibInfo(width, height, 24);
  std::vector<unsigned char> bytes(static_cast<size_t>((width * 3 + 3) & ~3) * static_cast<size_t>(height));
  const ear::gdi::WindowDC screen;
  GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(height), bytes.data(), &info, DIB_RGB_COLORS);
  return bytes;
}

TEST(FormsPicture, LoadsAJpegBuiltIntoTheExecutableByName) {
  Picture fromFile;
  fromFile.LoadFromFile(EAR_JPEG_TESTDATA "/odd13x5.jpg");
  Picture fromResource;
  fromResource.LoadFromResource("EARTESTJPEG");
  ASSERT_EQ(fromResource.GetKind(), Picture::Kind::Bitmap);
  EXPECT_EQ(fromResource.Width(), 13);
  EXPECT_EQ(fromResource.Height(), 5);
  EXPECT_EQ(BitmapBytes(fromResource.Bitmap(), 13, 5), BitmapBytes(fromFile.Bitmap(), 13, 5));
  EXPECT_THROW(fromResource.LoadFromResource("EARNOSUCHJPEG"), ear::Error);
  // A picture control names its artwork in its row.
  TwoButtonForm form;
  Image art(&form, {.name = "TLImg", .bounds = {0, 0, 196, 70}}, {.resource = "EARTESTJPEG"});
  EXPECT_EQ(art.picture.Width(), 13);
  EXPECT_EQ(BitmapBytes(art.picture.Bitmap(), 13, 5), BitmapBytes(fromFile.Bitmap(), 13, 5));
}

// A picture decoded ahead serves a load only of the very bytes it was decoded from: a file
// changed, gone or damaged since loads as it is now, with the load's own errors.
TEST(FormsPicture, AFileDecodedAheadServesOnlyTheSameBytes) {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  const std::string path = std::string(folder) + "ear_prepared.jpg";
  const auto put = [&](const char* source) { return CopyFileA(source, path.c_str(), FALSE) != 0; };
  const auto pixels = [](Picture& p) { return BitmapBytes(p.Bitmap(), p.Width(), p.Height()); };
  Picture blocks;
  blocks.LoadFromFile(EAR_JPEG_TESTDATA "/blocks.jpg");

  ASSERT_TRUE(put(EAR_JPEG_TESTDATA "/blocks.jpg"));
  Picture picture;
  picture.PrepareFile(path);
  EXPECT_TRUE(picture.Empty());  // nothing shows yet
  picture.LoadFromFile(path);
  ASSERT_EQ(picture.Width(), blocks.Width());
  EXPECT_EQ(pixels(picture), pixels(blocks));

  struct Case {
    const char* what;
    std::function<void()> change;  // after the decode ahead, before the load
    const char* loads;             // the file whose pixels the load gives; none: it throws
  };
  const Case cases[] = {
      {"replaced", [&] { ASSERT_TRUE(put(EAR_JPEG_TESTDATA "/odd13x5.jpg")); }, EAR_JPEG_TESTDATA "/odd13x5.jpg"},
      {"removed", [&] { ASSERT_TRUE(DeleteFileA(path.c_str())); }, nullptr},
      {"damaged", [&] { ASSERT_TRUE(put(EAR_SOURCE_DIR "/CMakeLists.txt")); }, nullptr},
      {"another path", [&] { picture.PrepareFile(EAR_JPEG_TESTDATA "/gray.jpg"); }, EAR_JPEG_TESTDATA "/blocks.jpg"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(put(EAR_JPEG_TESTDATA "/blocks.jpg"));
    picture.Clear();
    picture.PrepareFile(path);
    c.change();
    if (c.loads == nullptr) {
      EXPECT_THROW(picture.LoadFromFile(path), ear::Error);
      continue;
    }
    picture.LoadFromFile(path);
    Picture expected;
    expected.LoadFromFile(c.loads);
    ASSERT_EQ(picture.Width(), expected.Width());
    EXPECT_EQ(pixels(picture), pixels(expected));
  }
  // A file that cannot be decoded prepares nothing, and its load reports it as ever.
  ASSERT_TRUE(put(EAR_SOURCE_DIR "/CMakeLists.txt"));
  picture.PrepareFile(path);
  EXPECT_THROW(picture.LoadFromFile(path), ear::Error);
  DeleteFileA(path.c_str());
}

// Idle work runs in slices, only while no message waits, and never from ProcessMessages.
TEST(FormsApplication, IdleWorkRunsInSlicesWhenNoMessageWaits) {
  TwoButtonForm form;
  form.Handle();
  std::vector<std::string> log;
  int slices = 0;
  const int owner = 0, other = 0;
  App().WhenIdle(&owner, [&] {
    log.push_back("slice");
    return ++slices < 3;
  });
  App().WhenIdle(&other, [&] {
    log.push_back("other");
    return true;
  });
  PostMessageW(form.Handle(), WM_NULL, 0, 0);
  App().ProcessMessages();
  EXPECT_TRUE(log.empty());
  PostMessageW(form.Handle(), WM_APP, 0, 0);
  App().HandleMessage();  // a message waits: it goes first
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(GetQueueStatus(QS_ALLINPUT), 0u);
  for (int i = 0; i < 4; ++i) App().HandleMessage();
  EXPECT_EQ(log, std::vector<std::string>({"slice", "slice", "slice", "other"}));
  App().CancelIdle(&other);
  EXPECT_FALSE(App().IdleWorkPending());

  // A slice may queue work and cancel its own; one that throws is dropped, its error shown.
  log.clear();
  App().WhenIdle(&owner, [&] {
    App().CancelIdle(&owner);
    App().WhenIdle(&other, [&] {
      log.push_back("queued");
      throw ear::Error("\x83\x65\x83\x58\x83\x67");  // テスト
      return true;
    });
    return true;
  });
  App().HandleMessage();
  testing_win::BoxWatcher box(IDOK);
  App().HandleMessage();
  EXPECT_EQ(box.get().text, "\x83\x65\x83\x58\x83\x67.");
  EXPECT_EQ(log, std::vector<std::string>({"queued"}));
  EXPECT_FALSE(App().IdleWorkPending());
}

}  // namespace
}  // namespace forms
