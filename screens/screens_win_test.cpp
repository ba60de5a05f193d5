// The title and procedure screens built on a package generated beside this test program,
// read back against their layout tables, then after their set-up; the wizard that runs
// the screens in order and gives them their window bands.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <iterator>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <typeinfo>
#include <vector>

// GCC 12 takes a std::string inside a designated-initializer temporary for uninitialised
// once inlined (a known false positive); the build stays free of warnings.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

#include "base/module_path.h"
#include "base/text_win.h"
#include "forms/application.h"
#include "forms/form_snapshot_win.h"
#include "imaging/gdiplus_win.h"
#include "package/package_pictures.h"
#include "package/paths.h"
#include "screens/font_families.h"
#include "screens/frmJPZZ0010.h"
#include "screens/frmJPZZ0030.h"
#include "screens/frmJPZZ0040.h"
#include "screens/wizard.h"
#include "tests/wine/box_watcher.h"
#include "tests/wine/timer_proc.h"

namespace {

using forms::Control;

enum class Kind { Picture, Label, Button, Panel };

// One row of a layout table, as the screen's description gives it.
struct Row {
  const char* name;
  Kind kind;
  const char* parent;  // the form or a panel
  forms::Bounds bounds;
  const char* text;    // caption; "" for pictures and panels
  const char* font;    // font name, "" where the table names none (the form's)
  int fontHeight;      // -N for N-pixel characters
  bool bold;
  forms::Color fontColor;
  int pictureWidth, pictureHeight;  // 0, 0: empty
};

constexpr forms::Color kGrey = 0xA4A0A0;  // red 160, green 160, blue 164
constexpr forms::Color kText = forms::clWindowText;
constexpr forms::Color kWhite = 0xFFFFFF;
const char kGothic[] = "ＭＳ Ｐゴシック";
const char kMeiryo[] = "メイリオ";

const std::vector<Row> kTitleTable = {
    {"Image1", Kind::Picture, "frmJPZZ0030", {-3, 0, 651, 503}, "", kGothic, -12, false, kText, 652, 502},
    {"Image3", Kind::Picture, "frmJPZZ0030", {253, 80, 142, 83}, "", kGothic, -12, false, kText, 142, 86},
    {"ShikenNameLbl", Kind::Label, "frmJPZZ0030", {104, 222, 441, 30}, nullptr, kMeiryo, -20, true, kText, 0, 0},
    {"KyuName1Lbl", Kind::Label, "frmJPZZ0030", {289, 248, 40, 60}, "３", kMeiryo, -40, true, kText, 0, 0},
    {"KyuLbl2Lbl", Kind::Label, "frmJPZZ0030", {327, 268, 20, 30}, "級", kMeiryo, -20, true, kText, 0, 0},
    {"RenImg", Kind::Picture, "frmJPZZ0030", {90, 316, 467, 73}, "", kGothic, -12, false, kText, 467, 73},
    {"CRLbl", Kind::Label, "frmJPZZ0030", {178, 474, 308, 12}, nullptr, kGothic, -12, true, kGrey, 0, 0},
    {"FileNameLbl", Kind::Label, "frmJPZZ0030", {510, 440, 107, 13}, "ファイル名表示位置", kGothic, -13, false, kText, 0, 0},
    {"Ren2Img", Kind::Picture, "frmJPZZ0030", {90, 316, 467, 73}, "", kGothic, -12, false, kText, 467, 73},
    {"NextBtn", Kind::Button, "frmJPZZ0030", {545, 466, 80, 28}, "次へ >", kGothic, -12, true, kWhite, 0, 0},
    {"Panel1", Kind::Panel, "frmJPZZ0030", {0, 0, 647, 70}, "", kGothic, -12, false, kText, 0, 0},
    {"TRImg", Kind::Picture, "Panel1", {190, 0, 463, 122}, "", kGothic, -12, false, kText, 0, 0},
    {"TLImg", Kind::Picture, "Panel1", {0, 0, 196, 70}, "", kGothic, -12, false, kText, 196, 70},
    {"EndBtn", Kind::Button, "Panel1", {545, 8, 80, 28}, "閉じる", kGothic, -13, false, kWhite, 0, 0},
};

const std::vector<Row> kProcedureTable = {
    {"Image1", Kind::Picture, "frmJPZZ0040", {0, -24, 873, 729}, "", kGothic, -12, false, kText, 860, 713},
    {"CRLbl", Kind::Label, "frmJPZZ0040", {290, 666, 308, 12}, nullptr, kGothic, -12, true, kGrey, 0, 0},
    {"TejunImg", Kind::Picture, "frmJPZZ0040", {17, 91, 832, 558}, "", kGothic, -12, false, kText, 0, 0},
    {"Panel1", Kind::Panel, "frmJPZZ0040", {0, 0, 860, 70}, "", kGothic, -12, false, kText, 0, 0},
    {"TRImg", Kind::Picture, "Panel1", {190, 0, 676, 122}, "", kGothic, -12, false, kText, 0, 0},
    {"TLImg", Kind::Picture, "Panel1", {0, 0, 196, 70}, "", kGothic, -12, false, kText, 196, 70},
    {"TitleLbl", Kind::Label, "Panel1", {225, 9, 119, 25}, "実施手順の確認", kMeiryo, -17, false, kWhite, 0, 0},
    {"EndBtn", Kind::Button, "Panel1", {746, 8, 80, 28}, "閉じる", kGothic, -13, false, kWhite, 0, 0},
    {"NextBtn", Kind::Button, "frmJPZZ0040", {746, 656, 80, 28}, "次へ >", kGothic, -12, true, kWhite, 0, 0},
    {"BackBtn", Kind::Button, "frmJPZZ0040", {41, 657, 80, 28}, "< 戻る", kGothic, -12, true, kWhite, 0, 0},
    {"Panel2", Kind::Panel, "frmJPZZ0040", {218, 48, 447, 42}, "Panel2", kGothic, -12, false, kText, 0, 0},
    {"Image2", Kind::Picture, "Panel2", {0, 0, 447, 44}, "", kGothic, -12, false, kText, 447, 44},
};

// The button rows' own settings: colours, caption placement, tab order, modal result.
struct ButtonRow {
  const char* name;
  forms::Color begin, end;
  int captionTop;
  int tabOrder;  // -1: the table gives none
  int modalResult;
};
const std::vector<ButtonRow> kTitleButtons = {
    {"NextBtn", 14128128, 8931584, 9, 0, 0},
    {"EndBtn", 8947848, 3750207, 7, -1, 2},
};
const std::vector<ButtonRow> kProcedureButtons = {
    {"EndBtn", 8947848, 3750207, 7, -1, 2},
    {"NextBtn", 14128128, 8931584, 9, 0, 0},
    {"BackBtn", 14128128, 8931584, 9, 2, 7},
};

Control* Find(forms::WinControl& parent, const std::string& name) {
  for (Control* c : parent.Controls()) {
    if (c->name == name) return c;
    if (auto* w = dynamic_cast<forms::WinControl*>(c)) {
      if (Control* found = Find(*w, name)) return found;
    }
  }
  return nullptr;
}

std::string Text(Control& c) {
  if (auto* label = dynamic_cast<forms::Label*>(&c)) return label->Caption();
  if (auto* button = dynamic_cast<controls::TplButton*>(&c)) return button->CaptionA().Caption();
  if (auto* panel = dynamic_cast<forms::Panel*>(&c)) return panel->Text();
  return "";
}

bool IsKind(Control& c, Kind kind) {
  switch (kind) {
    case Kind::Picture: return dynamic_cast<forms::Image*>(&c) != nullptr;
    case Kind::Label: return dynamic_cast<forms::Label*>(&c) != nullptr;
    case Kind::Button: return dynamic_cast<controls::TplButton*>(&c) != nullptr;
    case Kind::Panel: return dynamic_cast<forms::Panel*>(&c) != nullptr;
  }
  return false;
}

// Every row: kind, parent, rectangle, text, font, colour, picture and visibility; the rows of
// one parent stand in their creation order, which is their stacking order.
void ExpectLayout(forms::Form& form, const std::vector<Row>& table) {
  std::vector<std::pair<std::string, std::vector<std::string>>> order;
  for (const Row& row : table) {
    SCOPED_TRACE(row.name);
    Control* c = Find(form, row.name);
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(IsKind(*c, row.kind));
    EXPECT_EQ(c->Parent()->name, row.parent);
    const forms::Bounds b = c->GetBounds();
    if (row.kind == Kind::Label && dynamic_cast<forms::Label*>(c)->AutoSize()) {
      // A self-sizing label keeps its top-left corner (its right edge when right-aligned).
      const bool right = dynamic_cast<forms::Label*>(c)->alignment == forms::TextAlign::Right;
      if (right) {
        EXPECT_EQ(b.left + b.width, row.bounds.left + row.bounds.width);
      } else {
        EXPECT_EQ(b.left, row.bounds.left);
      }
      EXPECT_EQ(b.top, row.bounds.top);
    } else {
      EXPECT_EQ(std::vector<int>({b.left, b.top, b.width, b.height}),
                std::vector<int>({row.bounds.left, row.bounds.top, row.bounds.width, row.bounds.height}));
    }
    if (row.text) {
      EXPECT_EQ(Text(*c), row.text);
    }
    const forms::Font& f = c->GetFont();
    EXPECT_EQ(f.name, row.font);
    EXPECT_EQ(f.height, row.fontHeight);
    EXPECT_EQ(f.bold, row.bold);
    EXPECT_EQ(f.color, row.fontColor);
    EXPECT_EQ(f.charset, SHIFTJIS_CHARSET);
    EXPECT_TRUE(c->Visible());
    if (auto* image = dynamic_cast<forms::Image*>(c)) {
      EXPECT_EQ(image->picture.Width(), row.pictureWidth);
      EXPECT_EQ(image->picture.Height(), row.pictureHeight);
      EXPECT_FALSE(image->stretch);
      EXPECT_FALSE(image->center);
    }
    auto slot = std::find_if(order.begin(), order.end(), [&](auto& o) { return o.first == row.parent; });
    if (slot == order.end()) slot = order.insert(order.end(), {row.parent, {}});
    slot->second.push_back(row.name);
  }
  for (auto& [parentName, names] : order) {
    auto* parent = parentName == form.name ? &form : dynamic_cast<forms::WinControl*>(Find(form, parentName));
    std::vector<std::string> actual;
    for (Control* c : parent->Controls()) actual.push_back(c->name);
    EXPECT_EQ(actual, names) << parentName;
  }
}

void ExpectButtons(forms::Form& form, const std::vector<ButtonRow>& rows) {
  for (const ButtonRow& row : rows) {
    SCOPED_TRACE(row.name);
    auto* b = dynamic_cast<controls::TplButton*>(Find(form, row.name));
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->GradBeginColor(), row.begin);
    EXPECT_EQ(b->GradEndColor(), row.end);
    EXPECT_EQ(b->CaptionTop(), row.captionTop);
    EXPECT_FALSE(b->CaptionVertCenter());
    EXPECT_FALSE(b->DisableImage());
    EXPECT_EQ(b->Image().Top(), 0);
    EXPECT_EQ(b->ButtonStyle(), controls::bsNormal);
    EXPECT_TRUE(b->Gradation());
    EXPECT_EQ(b->ModalResult(), row.modalResult);
    if (row.tabOrder >= 0) {
      EXPECT_EQ(b->TabOrder(), row.tabOrder);
    }
  }
}

void ExpectHeaderPanel(forms::Form& form) {
  auto* panel = dynamic_cast<forms::Panel*>(Find(form, "Panel1"));
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->GetAlign(), forms::Align::Top);
  EXPECT_EQ(panel->bevelOuter, forms::BevelCut::None);
  EXPECT_EQ(panel->TabOrder(), 1);
  EXPECT_EQ(Find(form, "TRImg")->anchors, forms::akLeft | forms::akTop | forms::akRight);
}

// A package beside this program: the screens find it from the executable path.
class ScreensTest : public ::testing::Test {
 protected:
  void SetUp() override {
    paths_ = ear::PackagePathsFor(ear::ExecutablePath());
    for (const std::string& folder : {paths_.package, paths_.systemFolder, paths_.systemFolder + "1",
                                      paths_.imageFolder}) {
      CreateDirectoryA(folder.c_str(), nullptr);
    }
    backdrop_.SetBounds(0, 0, 200, 100);
    context_ = {.backdrop = &backdrop_, .exePath = ear::ExecutablePath()};
  }
  void TearDown() override {
    DeleteFileA(paths_.systemIni.c_str());
    DeleteFileA(paths_.setupIni.c_str());
    DeleteFileA((paths_.imageFolder + "bg_procedure.jpg").c_str());
    for (const std::string& folder : {paths_.imageFolder, paths_.systemFolder + "1", paths_.systemFolder,
                                      paths_.package}) {
      RemoveDirectoryA(folder.c_str());
    }
  }
  void System(const char* key, const char* value) {
    WritePrivateProfileStringA("基本情報", key, value, paths_.systemIni.c_str());
  }
  void Setup(const char* key, const char* value) {
    WritePrivateProfileStringA("基本情報", key, value, paths_.setupIni.c_str());
  }
  ear::PackagePaths paths_;
  forms::Form backdrop_;
  ear::WizardContext context_;
};

TEST_F(ScreensTest, TitleScreenAsItsLayoutTable) {
  TfrmJPZZ0030 form(&backdrop_, context_);
  EXPECT_EQ(std::vector<int>({form.Width(), form.Height()}), std::vector<int>({647, 501}));
  EXPECT_EQ(form.position, forms::Position::ScreenCenter);
  EXPECT_TRUE(form.borderless);
  EXPECT_EQ(form.GetColor(), forms::clBtnFace);
  EXPECT_EQ(form.GetFont(), (forms::Font{.name = kGothic, .height = -12, .charset = SHIFTJIS_CHARSET}));
  ExpectLayout(form, kTitleTable);
  ExpectButtons(form, kTitleButtons);
  ExpectHeaderPanel(form);
  EXPECT_EQ(form.Image1.picture.GetKind(), forms::Picture::Kind::Bitmap);
  BITMAP bits{};
  GetObject(form.Image1.picture.Bitmap(), sizeof(bits), &bits);
  EXPECT_EQ(bits.bmBitsPixel, 24);
  EXPECT_EQ(form.ShikenNameLbl.alignment, forms::TextAlign::Center);
  EXPECT_FALSE(form.ShikenNameLbl.AutoSize());
  EXPECT_EQ(form.KyuName1Lbl.alignment, forms::TextAlign::Right);
  EXPECT_EQ(form.FileNameLbl.alignment, forms::TextAlign::Right);
  EXPECT_EQ(form.KyuLbl2Lbl.alignment, forms::TextAlign::Left);
  for (forms::Label* l : {&form.ShikenNameLbl, &form.KyuName1Lbl, &form.KyuLbl2Lbl, &form.CRLbl, &form.FileNameLbl}) {
    EXPECT_TRUE(l->transparent) << l->name;
  }
}

TEST_F(ScreensTest, ProcedureScreenAsItsLayoutTable) {
  TfrmJPZZ0040 form(nullptr, context_);
  EXPECT_EQ(std::vector<int>({form.Width(), form.Height()}), std::vector<int>({860, 688}));
  EXPECT_EQ(form.Text(), "試験実施の手順の確認");
  EXPECT_EQ(form.position, forms::Position::ScreenCenter);
  EXPECT_EQ(form.GetFont(), (forms::Font{.name = kGothic, .height = -12, .charset = SHIFTJIS_CHARSET}));
  ExpectLayout(form, kProcedureTable);
  ExpectButtons(form, kProcedureButtons);
  ExpectHeaderPanel(form);
  EXPECT_EQ(form.Panel2.bevelOuter, forms::BevelCut::None);
  EXPECT_EQ(form.Panel2.TabOrder(), 3);
  EXPECT_TRUE(form.CRLbl.transparent);
  EXPECT_TRUE(form.TitleLbl.transparent);
}

// The set-up's effects, per package: captions, positions, fonts, what is hidden.
TEST_F(ScreensTest, TitleSetUpFollowsThePackage) {
  const bool meiryo = ear::FontFamilyInstalled(kMeiryo);
  const std::string font = meiryo ? kMeiryo : kGothic;
  struct Case {
    const char* examName;
    const char* grade;
    const char* devCode;
    const char* fileName;
    const char* examType;
    const char* nameCaption, *gradeFirst, *gradeRest, *fileCaption, *footer;
    int nextTop;
    bool alternative;
  };
  const std::vector<Case> cases = {
      {"テスト検定試験", "準２級", "DEV01", "", "3", "テスト検定試験", "準", "２級", "DEV01",
       "(C) 2026 EAR 試験センター 団体受験事務局", 468, true},
      {"", "", "DEV01", "EXAMFILE", "03", "", "", "", "EXAMFILE", "(C) 2026 EAR 試験センター", 466, false},
      {"Ａ", "1", "", "", "３", "Ａ", "1", "", "", "(C) 2026 EAR 試験センター", 466, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.examType);
    System("試験名", c.examName);
    System("級名", c.grade);
    System("開発コード", c.devCode);
    System("ファイル名称", c.fileName);
    Setup("受験タイプ", c.examType);
    TfrmJPZZ0030 form(&backdrop_, context_);
    const int gradeWidth = form.KyuName1Lbl.Width();
    form.ShowForm();
    EXPECT_EQ(form.ShikenNameLbl.Caption(), c.nameCaption);
    EXPECT_TRUE(form.ShikenNameLbl.Visible());
    // Sized to its text and centred, halves to the even neighbour.
    const int width = form.ShikenNameLbl.Width();
    const int twice = 647 - width;
    const int left = form.ShikenNameLbl.Left();
    EXPECT_TRUE(twice % 2 == 0 ? left * 2 == twice : (left * 2 == twice - 1 || left * 2 == twice + 1) && left % 2 == 0)
        << left << " for width " << width;
    if (!*c.examName) {
      EXPECT_EQ(std::vector<int>({left, width}), std::vector<int>({324, 0}));
    }
    EXPECT_EQ(form.KyuName1Lbl.Caption(), c.gradeFirst);
    EXPECT_EQ(form.KyuLbl2Lbl.Caption(), c.gradeRest);
    EXPECT_EQ(form.FileNameLbl.Caption(), c.fileCaption);
    EXPECT_EQ(form.CRLbl.Caption(), c.footer);
    EXPECT_EQ(form.NextBtn.Top(), c.nextTop);
    EXPECT_EQ(form.RenImg.Visible(), !c.alternative);
    EXPECT_EQ(form.Ren2Img.Visible(), c.alternative);
    // The font branch: the moves, then the font of the four labels.
    EXPECT_EQ(form.KyuName1Lbl.Top(), meiryo ? 254 : 261);
    EXPECT_EQ(form.KyuLbl2Lbl.Left(), meiryo ? 327 : 326);
    EXPECT_EQ(form.KyuLbl2Lbl.Top(), meiryo ? 274 : 276);
    // Moved before the font change: the right edge follows from the new left edge.
    EXPECT_EQ(form.KyuName1Lbl.Left() + form.KyuName1Lbl.Width(), (meiryo ? 289 : 295) + gradeWidth);
    for (forms::Label* l : {&form.ShikenNameLbl, &form.KyuName1Lbl, &form.KyuLbl2Lbl, &form.FileNameLbl}) {
      EXPECT_EQ(l->GetFont().name, font) << l->name;
    }
    EXPECT_EQ(form.CRLbl.GetFont().name, kGothic);
    form.HideForm();
  }
}

TEST_F(ScreensTest, ProcedureSetUpFollowsTheExamType) {
  ASSERT_TRUE(CopyFileA(EAR_SOURCE_ROOT "/imaging/jpeg/testdata/blocks.jpg",
                        (paths_.imageFolder + "bg_procedure.jpg").c_str(), FALSE));
  const std::string font = ear::FontFamilyInstalled(kMeiryo) ? kMeiryo : kGothic;
  struct Case {
    const char* examType;
    const char* footer;
    int footerTop, backTop, nextTop;
  };
  for (const Case& c : {Case{"3", "(C) 2026 EAR 試験センター 団体受験事務局", 664, 655, 655},
                        Case{"03", "(C) 2026 EAR 試験センター", 666, 657, 656},
                        Case{"", "(C) 2026 EAR 試験センター", 666, 657, 656}}) {
    SCOPED_TRACE(c.examType);
    Setup("受験タイプ", c.examType);
    TfrmJPZZ0040 form(nullptr, context_);
    form.ShowForm();
    EXPECT_EQ(form.CRLbl.Caption(), c.footer);
    EXPECT_EQ(std::vector<int>({form.CRLbl.Top(), form.BackBtn.Top(), form.NextBtn.Top()}),
              std::vector<int>({c.footerTop, c.backTop, c.nextTop}));
    EXPECT_EQ(form.TitleLbl.GetFont().name, font);
    EXPECT_FALSE(form.TejunImg.picture.Empty());
    // The heading panel's window lies over the header panel's.
    HWND above = form.Panel2.Handle();
    bool headerBelow = false;
    for (HWND w = GetWindow(above, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT)) {
      if (w == form.Panel1.Handle()) headerBelow = true;
    }
    EXPECT_TRUE(headerBelow);
    form.HideForm();
  }
}

bool Topmost(forms::Form& form) { return (GetWindowLongW(form.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

// The wizard makes its screens in order, each with its program-wide reference set.
TEST_F(ScreensTest, WizardMakesItsScreensInOrder) {
  struct Expected {
    const char* name;
    const char* windowText;
    std::function<forms::Form*()> reference;
  };
  const Expected expected[] = {{"title", "frmJPZZ0030", [] { return frmJPZZ0030; }},
                               {"procedure", "試験実施の手順の確認", [] { return frmJPZZ0040; }},
                               {"registration", "frmJPZZ0010", [] { return frmJPZZ0010; }}};
  ASSERT_EQ(ear::WizardOrder().size(), std::size(expected));
  for (std::size_t step = 0; step < std::size(expected); ++step) {
    forms::Form* owner = step == 0 ? &backdrop_ : nullptr;
    const std::unique_ptr<ear::WizardScreen> screen = ear::MakeWizardScreen(step, owner, context_);
    EXPECT_STREQ(ear::WizardOrder()[step].name, expected[step].name);
    EXPECT_EQ(screen->Text(), expected[step].windowText);
    EXPECT_EQ(expected[step].reference(), screen.get());
    EXPECT_EQ(screen->Owner(), owner);
    EXPECT_EQ(screen->Context().step, step);
    EXPECT_EQ(screen->Context().backdrop, &backdrop_);
  }
  EXPECT_THROW(ear::MakeWizardScreen(std::size(expected), nullptr, context_), std::out_of_range);
}

// "次へ >" runs the next screen modally: back shows this screen again, any other end ends
// this one with the same result.
TEST_F(ScreensTest, NextRunsTheFollowingScreenAndPassesItsResultUp) {
  ASSERT_TRUE(CopyFileA(EAR_SOURCE_ROOT "/imaging/jpeg/testdata/blocks.jpg",
                        (paths_.imageFolder + "bg_procedure.jpg").c_str(), FALSE));
  static int ending = 0;
  for (int result : {forms::mrNo, forms::mrCancel, forms::mrOk}) {
    SCOPED_TRACE(result);
    ending = result;
    const std::unique_ptr<ear::WizardScreen> title = ear::MakeWizardScreen(0, &backdrop_, context_);
    title->ShowForm();
    frmJPZZ0040 = nullptr;
    // Ends the procedure screen from inside its modal loop.
    SetTimer(nullptr, 0, 200, testing_win::TimerProc([](HWND, UINT, UINT_PTR id, DWORD) {
      if (!frmJPZZ0040 || !frmJPZZ0040->IsModal()) return;
      KillTimer(nullptr, id);
      frmJPZZ0040->SetModalResult(ending);
    }));
    static_cast<TfrmJPZZ0030&>(*title).NextBtnClick();
    ASSERT_NE(frmJPZZ0040, nullptr);
    EXPECT_EQ(title->Visible(), result == forms::mrNo);
    EXPECT_EQ(title->ModalResult(), result == forms::mrNo ? 0 : result);
    title->HideForm();
  }
}

// Handles messages and idle work until done() or 5 s have passed; a timer keeps the loop
// from waiting for ever.
void RunUntil(const std::function<bool()>& done) {
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, nullptr);
  const DWORD start = GetTickCount();
  while (!done() && GetTickCount() - start < 5000) forms::App().HandleMessage();
  KillTimer(nullptr, timer);
}

// With prepareNext the title screen makes the procedure screen while it waits on view:
// windows made, still hidden, not set up. "次へ >" shows that very screen, set up from the
// package as it is at the click; back makes a fresh one. Without it nothing is made ahead.
TEST_F(ScreensTest, TheTitleMakesTheProcedureScreenAheadAndNextShowsIt) {
  ASSERT_TRUE(CopyFileA(EAR_SOURCE_ROOT "/imaging/jpeg/testdata/blocks.jpg",
                        (paths_.imageFolder + "bg_procedure.jpg").c_str(), FALSE));
  {
    const std::unique_ptr<ear::WizardScreen> title = ear::MakeWizardScreen(0, &backdrop_, context_);
    frmJPZZ0040 = nullptr;
    title->ShowForm();
    const DWORD start = GetTickCount();
    RunUntil([&] { return GetTickCount() - start > 300; });
    EXPECT_EQ(frmJPZZ0040, nullptr);
    title->HideForm();
  }
  context_.prepareNext = true;
  const std::unique_ptr<ear::WizardScreen> title = ear::MakeWizardScreen(0, &backdrop_, context_);
  frmJPZZ0040 = nullptr;
  title->ShowForm();
  RunUntil([] { return frmJPZZ0040 != nullptr && !forms::App().IdleWorkPending(); });
  ASSERT_NE(frmJPZZ0040, nullptr);
  ASSERT_TRUE(frmJPZZ0040->HandleAllocated());
  static HWND aheadWindow;  // a screen made anew could take the old one's address, not its window
  aheadWindow = frmJPZZ0040->Handle();
  EXPECT_FALSE(IsWindowVisible(aheadWindow));
  EXPECT_TRUE(frmJPZZ0040->TejunImg.picture.Empty());
  RECT placed{};
  GetWindowRect(aheadWindow, &placed);
  EXPECT_EQ(placed.left, (GetSystemMetrics(SM_CXSCREEN) - 860) / 2);  // where its show puts it
  EXPECT_EQ(placed.top, (GetSystemMetrics(SM_CYSCREEN) - 688) / 2);
  // The picture decoded ahead is stale by the click: the screen shows the file as it is then.
  ASSERT_TRUE(CopyFileA(EAR_SOURCE_ROOT "/imaging/jpeg/testdata/odd13x5.jpg",
                        (paths_.imageFolder + "bg_procedure.jpg").c_str(), FALSE));
  static bool shownAhead;
  static int shownWidth;
  shownAhead = false;
  shownWidth = 0;
  SetTimer(nullptr, 0, 100, testing_win::TimerProc([](HWND, UINT, UINT_PTR id, DWORD) {
    if (!frmJPZZ0040 || !frmJPZZ0040->IsModal()) return;
    KillTimer(nullptr, id);
    shownAhead = frmJPZZ0040->Handle() == aheadWindow;
    shownWidth = frmJPZZ0040->TejunImg.picture.Width();
    frmJPZZ0040->SetModalResult(forms::mrNo);
  }));
  static_cast<TfrmJPZZ0030&>(*title).NextBtnClick();
  EXPECT_TRUE(shownAhead);
  EXPECT_EQ(shownWidth, 13);
  EXPECT_TRUE(title->Visible());
  frmJPZZ0040 = nullptr;
  RunUntil([] { return frmJPZZ0040 != nullptr && !forms::App().IdleWorkPending(); });
  ASSERT_NE(frmJPZZ0040, nullptr);
  EXPECT_NE(frmJPZZ0040->Handle(), aheadWindow);
  EXPECT_FALSE(IsWindowVisible(frmJPZZ0040->Handle()));
  title->HideForm();
}

// A small screen of a made-up order whose making can be made to fail.
class PlainScreen : public ear::WizardScreen {
 public:
  PlainScreen(forms::Form* owner, const ear::WizardContext& context)
      : WizardScreen(owner, {.name = "PlainScreen", .clientWidth = 120, .clientHeight = 80, .text = "PlainScreen"},
                     context) {}
  void SetUp() override {}
  void Next() { OpenNextScreen(); }
};

int plainMakes = 0, plainFailures = 0;
PlainScreen* plainMade = nullptr;

std::unique_ptr<ear::WizardScreen> MakePlain(forms::Form* owner, const ear::WizardContext& context) {
  ++plainMakes;
  if (plainFailures > 0) {
    --plainFailures;
    throw std::runtime_error("\x8D\xEC\x82\xEA\x82\xDC\x82\xB9\x82\xF1");  // 作れません
  }
  auto screen = std::make_unique<PlainScreen>(owner, context);
  plainMade = screen.get();
  return screen;
}

constexpr ear::WizardStep kPlainOrder[] = {{"first", "1", &MakePlain}, {"second", "2", &MakePlain}};

// A next screen that cannot be made ahead fails unseen; the click makes it again, and an
// error there is shown then, as without making ahead.
TEST_F(ScreensTest, AScreenThatFailsAheadIsMadeAgainAtTheClick) {
  context_.prepareNext = true;
  context_.order = kPlainOrder;
  const std::unique_ptr<ear::WizardScreen> first = ear::MakeScreenAt(0, nullptr, context_);
  auto& plain = static_cast<PlainScreen&>(*first);
  for (const int failuresAtClick : {0, 1}) {
    SCOPED_TRACE(failuresAtClick);
    plainMakes = 0;
    plainFailures = 1;
    plainMade = nullptr;
    {
      testing_win::BoxWatcher none(IDOK, 500);
      plain.ShowForm();
      RunUntil([] { return plainMakes == 1 && !forms::App().IdleWorkPending(); });
      EXPECT_FALSE(none.get().found);
    }
    EXPECT_EQ(plainMade, nullptr);
    plainFailures = failuresAtClick;
    SetTimer(nullptr, 0, 100, testing_win::TimerProc([](HWND, UINT, UINT_PTR id, DWORD) {
      if (!plainMade || !plainMade->IsModal()) return;
      KillTimer(nullptr, id);
      plainMade->SetModalResult(forms::mrOk);
    }));
    testing_win::BoxWatcher box(IDOK, failuresAtClick ? 5000 : 500);
    plain.Next();
    EXPECT_EQ(plainMakes, 2);
    const testing_win::BoxInfo info = box.get();
    EXPECT_EQ(info.found, failuresAtClick == 1);
    if (failuresAtClick) {
      EXPECT_EQ(info.text, "\x8D\xEC\x82\xEA\x82\xDC\x82\xB9\x82\xF1.");
    }
    EXPECT_EQ(plain.ModalResult(), failuresAtClick ? forms::mrCancel : forms::mrOk);
    plain.SetModalResult(forms::mrNone);
  }
  plain.HideForm();
}

// The window bands each screen sets on show, with the backdrop and "-debug" as handed.
TEST_F(ScreensTest, ScreensSetTheirWindowBandsWithTheHandedBackdropAndFlag) {
  backdrop_.ShowForm();
  {
    TfrmJPZZ0030 title(&backdrop_, context_);
    title.ShowForm();
    EXPECT_TRUE(Topmost(title));
    EXPECT_FALSE(Topmost(backdrop_));
    EXPECT_TRUE(backdrop_.Visible());
  }
  for (bool debug : {false, true}) {
    SCOPED_TRACE(debug);
    backdrop_.ShowForm();
    context_.debugMode = debug;
    TfrmJPZZ0010 registration(nullptr, context_);
    EXPECT_EQ(registration.DebugMode, debug);
    registration.ShowForm();
    EXPECT_EQ(Topmost(registration), !debug);
    EXPECT_EQ(backdrop_.Visible(), !debug);
  }
  // Without a backdrop (earcheck's preview hands none) the title screen still takes its band.
  context_.backdrop = nullptr;
  TfrmJPZZ0030 alone(nullptr, context_);
  alone.ShowForm();
  EXPECT_TRUE(Topmost(alone));
}

// A picture extension holding a separator ("試験画像拡張子=.x\..\..\..\..\pic.jpg") names a
// file outside the package: the title screen never opens it, and looks exactly as without
// the picture (the exam name hidden, the maker logo centred), whatever lies there.
TEST_F(ScreensTest, APictureExtensionWithASeparatorIsAMissingPicture) {
  const ear::gdiplus::Session gdiplus;
  const std::string blocks = EAR_SOURCE_ROOT "/imaging/jpeg/testdata/blocks.jpg";
  const std::string outside = paths_.exeFolder + "ear-outside.jpg";
  ASSERT_TRUE(CopyFileA(blocks.c_str(), outside.c_str(), FALSE));
  ASSERT_TRUE(CopyFileA(blocks.c_str(), (paths_.imageFolder + "MakerImage.jpg").c_str(), FALSE));
  const std::string leadingOut = ".x\\..\\..\\..\\..\\ear-outside.jpg";
  char resolved[MAX_PATH] = {};
  GetFullPathNameA((paths_.imageFolder + "ShikenImage" + leadingOut).c_str(), MAX_PATH, resolved, nullptr);
  ASSERT_EQ(std::string(resolved), outside);  // where Windows would open it
  System("試験名", "テスト検定試験");
  System("メーカー画像拡張子", ".jpg");
  struct Shot {
    std::vector<std::uint8_t> bgra;
    bool nameShown;
  };
  auto shoot = [&](const char* ext) {
    System("試験画像拡張子", ext);
    TfrmJPZZ0030 form(&backdrop_, context_);
    form.ShowForm();
    Shot shot{forms::SnapshotForm(form).bgra, form.ShikenNameLbl.Visible()};
    form.HideForm();
    return shot;
  };
  const Shot missing = shoot(".png");  // no ShikenImage.png in the package
  const Shot leadsOut = shoot(leadingOut.c_str());
  const Shot slashed = shoot(".x/../../../../ear-outside.jpg");
  ASSERT_TRUE(CopyFileA(blocks.c_str(), (paths_.imageFolder + "ShikenImage.jpg").c_str(), FALSE));
  const Shot shown = shoot(".jpg");  // the same picture in the package is drawn
  DeleteFileA((paths_.imageFolder + "ShikenImage.jpg").c_str());
  DeleteFileA((paths_.imageFolder + "MakerImage.jpg").c_str());
  DeleteFileA(outside.c_str());
  ASSERT_FALSE(missing.bgra.empty());
  EXPECT_FALSE(missing.nameShown);
  EXPECT_FALSE(leadsOut.nameShown);
  EXPECT_TRUE(leadsOut.bgra == missing.bgra);
  EXPECT_TRUE(slashed.bgra == missing.bgra);
  EXPECT_TRUE(shown.bgra != missing.bgra);
}

// The package pictures' rows against the screens that draw them: the control is there, a
// picture cut at its box is cut by the control's size, and the width it is centred on is
// the screen's own (earcheck predicts from the rows, the screens draw on these).
TEST_F(ScreensTest, PictureRowsMatchTheScreensThatDrawThem) {
  const unsigned takers[] = {ear::kTitle, ear::kProcedure, ear::kRegistration};
  ASSERT_EQ(ear::WizardOrder().size(), std::size(takers));
  std::set<std::string> checked;
  for (std::size_t step = 0; step < std::size(takers); ++step) {
    const std::unique_ptr<ear::WizardScreen> screen =
        ear::MakeWizardScreen(step, step == 0 ? &backdrop_ : nullptr, context_);
    for (const ear::PackagePicture& row : ear::kPackagePictures) {
      if (!(row.takers & takers[step])) continue;
      SCOPED_TRACE(std::string(ear::WizardOrder()[step].name) + ": " + row.name);
      auto* image = dynamic_cast<forms::Image*>(Find(*screen, row.control));
      ASSERT_NE(image, nullptr);
      if (row.placement == ear::Placement::TopLeftCut || row.placement == ear::Placement::CentredCut) {
        EXPECT_EQ(std::vector<int>({image->Width(), image->Height()}), std::vector<int>({row.box.width, row.box.height}));
      }
      if (row.centreOn) {
        EXPECT_EQ(screen->Width(), row.centreOn);
      }
      checked.insert(row.name);
    }
  }
  for (const ear::PackagePicture& row : ear::kPackagePictures) {
    EXPECT_EQ(checked.contains(row.name), (row.takers & ear::kEveryWizardScreen) != 0) << row.name;
  }
}

// A family counts as installed exactly when the system's whole list of families names it.
int CALLBACK CollectFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM lp) {
  reinterpret_cast<std::vector<std::wstring>*>(lp)->push_back(font->lfFaceName);
  return 1;
}

TEST(FontFamilies, InstalledExactlyWhenTheWholeListNamesTheFamily) {
  std::vector<std::wstring> listed;
  LOGFONTW all{};
  all.lfCharSet = DEFAULT_CHARSET;
  HDC screen = GetDC(nullptr);
  EnumFontFamiliesExW(screen, &all, &CollectFamily, reinterpret_cast<LPARAM>(&listed), 0);
  ReleaseDC(nullptr, screen);
  ASSERT_FALSE(listed.empty());
  for (const std::wstring& family : listed) {
    const std::string name = ear::Narrow(family, 932);
    if (ear::Widen(name, 932) != family) continue;  // not expressible in Shift-JIS
    EXPECT_TRUE(ear::FontFamilyInstalled(name)) << name;
  }
  const bool meiryoListed = std::find(listed.begin(), listed.end(), ear::Widen(kMeiryo, 932)) != listed.end();
  EXPECT_EQ(ear::FontFamilyInstalled(kMeiryo), meiryoListed);
  for (const char* absent : {"ない書体", "", "ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJ"}) {
    EXPECT_FALSE(ear::FontFamilyInstalled(absent)) << absent;
  }
}

}  // namespace
