#pragma once
// The candidate registration screen: venue code and candidate number, or surname and
// given name; its OK action (registration_ok_win.cpp) hands the package over to the exam.
#include "forms/picture.h"
#include "forms/standard_controls.h"
#include "package/batch_win.h"
#include "package/candidate_folder.h"
#include "package/package_pictures.h"
#include "screens/artwork.h"
#include "screens/registration_rules.h"
#include "screens/screen_style.h"
#include "screens/wizard_screen.h"

class TfrmJPZZ0010 : public ear::WizardScreen {
 public:
  TfrmJPZZ0010(forms::Form* owner, const ear::WizardContext& context);

  forms::Image Image1{this, {.name = "Image1", .bounds = {0, -1, 804, 593}},
                      {.resource = ear::kRegistrationBackground.name}};
  forms::Label SeiLbl{this, {.name = "SeiLbl", .bounds = {279, 262, 12, 12}},
                      {.caption = "姓", .transparent = true}};
  forms::Label MeiLbl{this, {.name = "MeiLbl", .bounds = {351, 262, 12, 12}},
                      {.caption = "名", .transparent = true}};
  forms::Bevel Bevel1{this, {.name = "Bevel1", .bounds = {223, 216, 201, 73}}};
  forms::Label CRLbl{this, {.name = "CRLbl", .bounds = {186, 528, 308, 12}, .font = ear::kFooterFont},
                     {.caption = ear::kCopyrightNotice, .transparent = true}};
  forms::Image TejunImg{this, {.name = "TejunImg", .bounds = {8, 98, ear::kRegistrationProcedurePicture.box.width,
                                                            ear::kRegistrationProcedurePicture.box.height}}};
  forms::Label MidashiLbl{this, {.name = "MidashiLbl", .bounds = {74, 186, 499, 12}, .font = ear::kMidashiFont},
                          {.transparent = true}};
  forms::Image MongonImg{this, {.name = "MongonImg", .bounds = {64, 168, 538, 48}},
                         {.resource = ear::kRegistrationMongon.name}};
  forms::Image MidashiImg{this, {.name = "MidashiImg", .bounds = {184, 248, 329, 105}},
                          {.resource = ear::kRegistrationMidashi.name}};
  ear::ActionButton OkBtn{this, {.name = "OkBtn", .bounds = {578, 521, 80, 26}, .tabOrder = 4,
                                 .onClick = [this] { OkBtnClick(); }},
                          {.caption = "次へ >", .captionTop = 8}};
  forms::Edit SeiEdt{this, {.name = "SeiEdt", .bounds = {253, 239, 68, 20}, .tabOrder = 0},
                     {.enterClicks = &OkBtn}};
  forms::Edit MeiEdt{this, {.name = "MeiEdt", .bounds = {328, 239, 68, 20}, .tabOrder = 1},
                     {.enterClicks = &OkBtn}};
  forms::Edit JuBanEdt{this, {.name = "JuBanEdt", .bounds = {352, 307, 129, 20}, .tabOrder = 3},
                       {.text = "99999", .imeOff = true, .enterClicks = &OkBtn}};
  forms::Edit KaiCdEdt{this, {.name = "KaiCdEdt", .bounds = {352, 272, 129, 20}, .tabOrder = 2},
                       {.text = "99999", .maxLength = 5, .imeOff = true, .enterClicks = &OkBtn}};
  forms::Panel Panel1{this, {.name = "Panel1", .bounds = {0, 0, 697, 70}, .align = forms::Align::Top,
                             .tabOrder = 5},
                      {.bevelOuter = forms::BevelCut::None}};
  forms::Image TRImg{&Panel1, {.name = "TRImg", .bounds = {190, 0, 513, 122},
                               .anchors = forms::akLeft | forms::akTop | forms::akRight}};
  forms::Image TLImg{&Panel1, {.name = "TLImg", .bounds = {0, 0, 196, 70}}, {.resource = ear::kHeaderLogo.name}};
  forms::Label TitleLbl{&Panel1, {.name = "TitleLbl", .bounds = {225, 9, 215, 25}, .font = ear::kMeiryoWhite17},
                        {.caption = "01 受験者用フォルダー作成", .transparent = true}};
  ear::CloseButton EndBtn{&Panel1, {.name = "EndBtn", .bounds = {578, 8, 80, 28}, .tabOrder = 0},
                          {.caption = "閉じる", .captionTop = 7, .modalResult = forms::mrCancel}};
  ear::ActionButton BackBtn{this, {.name = "BackBtn", .bounds = {41, 521, 80, 28}, .tabOrder = 6},
                            {.caption = "< 戻る", .captionTop = 9, .modalResult = forms::mrNo}};

  void FormCreate() override;
  void SetupRegistrationScreen();
  void SetUp() override { SetupRegistrationScreen(); }
  // A failed input check: focuses the offending edit and shows its message.
  void ShowCheckResult(const ear::CheckResult& result);
  // The OK action: registers the candidate and hands the package over to the exam.
  void OkBtnClick();

 protected:
  // With "-debug" the backdrop hides and the screen leaves the topmost band.
  void PlaceWindow() override;

 public:
  // Run state and the hooks tests replace; not part of the layout.
  bool DebugMode = false;  // "-debug" on the command line, as the shell handed it
  bool Busy = false;       // the OK action's re-entry guard
  // Where the candidate folder's keys come from, and what starts the launch batch; tests
  // choose their own.
  std::function<std::string(std::size_t)> makeRandomKey = [](std::size_t n) { return ear::MakeRandomKey(n); };
  std::function<bool(const std::string&, const ear::BatchStartArea&)> startBatch = ear::StartBatch;
};

// The registration screen last made: set by the wizard when it makes it, never cleared; no
// code reaches the screen through it.
extern TfrmJPZZ0010* frmJPZZ0010;
