// The form framework on a real window system: modal runs, dialog keys, tab order,
// labels, pictures and the default error box.
#include <gtest/gtest.h>

#include <memory>

#include "base/error.h"
#include "forms/application.h"
#include "forms/controls.h"
#include "forms/form.h"
#include "forms/picture.h"
#include "tests/wine/box_watcher.h"

namespace forms {
namespace {

class TwoButtonForm : public Form {
 public:
  TwoButtonForm() {
    bounds_ = Bounds{100, 100, 300, 120};
    position = Position::ScreenCenter;
  }
  Edit NameEdt{this, {.name = "NameEdt", .bounds = {10, 10, 120, 22}}};
  Button OkBtn{this, {.name = "OkBtn", .bounds = {10, 60, 80, 26}, .caption = "OK", .modalResult = mrOk}};
  Button NoBtn{this, {.name = "NoBtn", .bounds = {100, 60, 80, 26}, .caption = "No", .modalResult = mrNo}};
  Button EndBtn{this, {.name = "EndBtn", .bounds = {190, 60, 80, 26}, .caption = "End",
                       .modalResult = mrCancel, .cancel = true}};
};

void PostKey(HWND hwnd, WORD key) { PostMessageW(hwnd, WM_KEYDOWN, key, 1); }

TEST(FormsModal, ClickingAButtonEndsTheRunWithItsResult) {
  TwoButtonForm form;
  form.onShow = [&](Form&) { PostMessageW(form.NoBtn.Handle(), BM_CLICK, 0, 0); };
  EXPECT_EQ(form.ShowModal(), mrNo);
  EXPECT_FALSE(IsWindowVisible(form.Handle()));
  // A second run starts afresh and is ended by Close.
  form.onShow = [&](Form&) { form.Close(); };
  EXPECT_EQ(form.ShowModal(), mrCancel);
}

TEST(FormsModal, EscapeClicksTheCancelButtonWhereverTheFocusIs) {
  TwoButtonForm form;
  form.onShow = [&](Form&) { PostKey(form.NameEdt.Handle(), VK_ESCAPE); };
  EXPECT_EQ(form.ShowModal(), mrCancel);
}

TEST(FormsModal, TabFollowsTabOrderAndEnterClicksTheFocusedButton) {
  TwoButtonForm form;
  form.NoBtn.SetTabOrder(1);  // NameEdt 0, NoBtn 1, OkBtn 2, EndBtn 3
  EXPECT_EQ(form.OkBtn.TabOrder(), 2);
  std::vector<std::string> visited;
  for (WinControl* c : {static_cast<WinControl*>(&form.NameEdt), static_cast<WinControl*>(&form.OkBtn),
                        static_cast<WinControl*>(&form.NoBtn)}) {
    c->onEnter = [&visited](WinControl& sender) { visited.push_back(sender.name); };
  }
  bool tabbedOnce = false;
  form.NoBtn.onEnter = [&](WinControl& sender) {
    visited.push_back(sender.name);
    if (!tabbedOnce) PostKey(sender.Handle(), VK_RETURN);
    tabbedOnce = true;
  };
  form.onShow = [&](Form&) { PostKey(form.NameEdt.Handle(), VK_TAB); };
  EXPECT_EQ(form.ShowModal(), mrNo);
  ASSERT_GE(visited.size(), 2u);
  EXPECT_EQ(visited[0], "NameEdt");
  EXPECT_EQ(visited[1], "NoBtn");
}

TEST(FormsLabel, AutoSizeKeepsTheRightEdgeOfARightAlignedLabel) {
  TwoButtonForm form;
  Label right(&form, {.name = "R", .bounds = {200, 10, 40, 20}, .caption = "x", .alignment = TextAlign::Right});
  const int rightEdge = 240;
  right.SetCaption("ファイル名表示位置");
  EXPECT_EQ(right.Left() + right.Width(), rightEdge);
  EXPECT_GT(right.Width(), 40);
  Label left(&form, {.name = "L", .bounds = {20, 40, 10, 10}, .caption = "abc"});
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
  Panel header(&form, {.name = "Panel1", .bounds = {5, 5, 10, 70}, .align = Align::Top,
                       .bevelOuter = BevelCut::None});
  Label title(&header, {.name = "TitleLbl", .bounds = {225, 9, 10, 10}, .caption = "実施手順の確認"});
  EXPECT_EQ(header.Left(), 0);
  EXPECT_EQ(header.Top(), 0);
  EXPECT_EQ(header.Width(), form.Width());
  EXPECT_EQ(header.Height(), 70);
  EXPECT_EQ(title.ParentForm(), &form);
  EXPECT_EQ(title.GetFont(), form.GetFont());  // fonts come from the parent until set
}

TEST(FormsControls, EditKeepsShiftJisTextByteForByte) {
  TwoButtonForm form;
  form.Handle();
  const std::string name = "\x83\x5C\x95\x5C\x83\x5E\x89\x5E abc";  // ソ表タ運: second bytes 5C and 5E
  form.NameEdt.SetText(name);
  EXPECT_EQ(form.NameEdt.Text(), name);
  Edit limited(&form, {.name = "KaiCdEdt", .bounds = {10, 40, 60, 20}, .maxLength = 5});
  limited.Handle();
  SendMessageW(limited.Handle(), WM_CHAR, L'1', 0);
  for (wchar_t c : std::wstring(L"234567")) SendMessageW(limited.Handle(), WM_CHAR, c, 0);
  EXPECT_EQ(limited.Text(), "12345");
}

TEST(FormsApplication, AnErrorThatEscapesAClickReachesTheDefaultErrorBox) {
  TwoButtonForm form;
  form.OkBtn.onClick = [](Control&) { throw ear::Error("\x83\x65\x83\x58\x83\x67\x81\x42"); };  // テスト。
  testing_win::BoxWatcher box(IDOK);
  form.onShow = [&](Form&) { PostMessageW(form.OkBtn.Handle(), BM_CLICK, 0, 0); };
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

}  // namespace
}  // namespace forms
