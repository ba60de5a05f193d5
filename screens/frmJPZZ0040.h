#pragma once
// The procedure confirmation screen: the second screen of the wizard.
#include "forms/picture.h"
#include "forms/standard_controls.h"
#include "package/package_pictures.h"
#include "screens/artwork.h"
#include "screens/screen_style.h"
#include "screens/wizard_screen.h"

class TfrmJPZZ0040 : public ear::WizardScreen {
 public:
  TfrmJPZZ0040(forms::Form* owner, const ear::WizardContext& context)
      : WizardScreen(owner, {.name = "frmJPZZ0040", .clientWidth = 860, .clientHeight = 688,
                     .position = forms::Position::ScreenCenter, .color = forms::clBtnFace, .font = ear::kGothic12,
                     .text = "試験実施の手順の確認"}, context) {}

  forms::Image Image1{this, {.name = "Image1", .bounds = {0, -24, 873, 729}},
                      {.resource = ear::kProcedureBackground.name}};
  forms::Label CRLbl{this, {.name = "CRLbl", .bounds = {290, 666, 308, 12}, .font = ear::kFooterFont},
                     {.caption = ear::kCopyrightNotice, .transparent = true}};
  forms::Image TejunImg{this, {.name = "TejunImg", .bounds = {17, 91, ear::kProcedurePicture.box.width,
                                                             ear::kProcedurePicture.box.height}}};
  forms::Panel Panel1{this, {.name = "Panel1", .bounds = {0, 0, 860, 70}, .align = forms::Align::Top, .tabOrder = 1},
                      {.bevelOuter = forms::BevelCut::None}};
  forms::Image TRImg{&Panel1, {.name = "TRImg", .bounds = {190, 0, 676, 122},
                               .anchors = forms::akLeft | forms::akTop | forms::akRight}};
  forms::Image TLImg{&Panel1, {.name = "TLImg", .bounds = {0, 0, 196, 70}}, {.resource = ear::kHeaderLogo.name}};
  forms::Label TitleLbl{&Panel1, {.name = "TitleLbl", .bounds = {225, 9, 119, 25}, .font = ear::kMeiryoWhite17},
                        {.caption = "実施手順の確認", .transparent = true}};
  ear::CloseButton EndBtn{&Panel1, {.name = "EndBtn", .bounds = {746, 8, 80, 28}},
                          {.caption = "閉じる", .captionTop = 7, .modalResult = forms::mrCancel}};
  ear::ActionButton NextBtn{this, {.name = "NextBtn", .bounds = {746, 656, 80, 28}, .tabOrder = 0,
                                   .onClick = [this] { NextBtnClick(); }},
                            {.caption = "次へ >", .captionTop = 9}};
  ear::ActionButton BackBtn{this, {.name = "BackBtn", .bounds = {41, 657, 80, 28}, .tabOrder = 2},
                            {.caption = "< 戻る", .captionTop = 9, .modalResult = forms::mrNo}};
  forms::Panel Panel2{this, {.name = "Panel2", .bounds = {218, 48, 447, 42}, .tabOrder = 3},
                      {.caption = "Panel2", .bevelOuter = forms::BevelCut::None}};
  forms::Image Image2{&Panel2, {.name = "Image2", .bounds = {0, 0, 447, 44}}, {.resource = ear::kProcedureHeading.name}};

  // The four set-up steps; a procedure picture that cannot be loaded stops them there.
  void SetupProcedureScreen();
  void SetUp() override { SetupProcedureScreen(); }
  // The procedure picture decoded ahead: the set-up's largest step.
  void Prepare() override;
  void NextBtnClick() { OpenNextScreen(); }

 private:
  std::string ProcedurePicture() const;
};

// The procedure screen last made: set by the wizard when it makes it, never cleared; no
// code reaches the screen through it.
extern TfrmJPZZ0040* frmJPZZ0040;
