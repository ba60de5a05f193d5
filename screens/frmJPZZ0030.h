#pragma once
// The exam title screen: the first screen of the wizard, over the backdrop.
#include "forms/picture.h"
#include "forms/standard_controls.h"
#include "screens/artwork.h"
#include "screens/screen_style.h"
#include "screens/wizard_screen.h"

class TfrmJPZZ0030 : public ear::WizardScreen {
 public:
  TfrmJPZZ0030(forms::Form* owner, const ear::WizardContext& context)
      : WizardScreen(owner, {.name = "frmJPZZ0030", .clientWidth = 647, .clientHeight = 501,
                     .position = forms::Position::ScreenCenter, .color = forms::clBtnFace, .font = ear::kGothic12,
                     .text = "frmJPZZ0030"}, context) {}

  forms::Image Image1{this, {.name = "Image1", .bounds = {-3, 0, 651, 503}},
                      {.resource = ear::kTitleBackground.name, .bitmap24 = true}};
  forms::Image Image3{this, {.name = "Image3", .bounds = {253, 80, 142, 83}}, {.resource = ear::kTitleEmblem.name}};
  forms::Label ShikenNameLbl{this, {.name = "ShikenNameLbl", .bounds = {104, 222, 441, 30}, .font = ear::kMeiryoBold20},
                             {.caption = "試験名表示位置", .alignment = forms::TextAlign::Center, .autoSize = false,
                              .transparent = true}};
  forms::Label KyuName1Lbl{this, {.name = "KyuName1Lbl", .bounds = {289, 248, 40, 60}, .font = ear::kMeiryoBold40},
                           {.caption = "３", .alignment = forms::TextAlign::Right, .transparent = true}};
  forms::Label KyuLbl2Lbl{this, {.name = "KyuLbl2Lbl", .bounds = {327, 268, 20, 30}, .font = ear::kMeiryoBold20},
                          {.caption = "級", .transparent = true}};
  forms::Image RenImg{this, {.name = "RenImg", .bounds = {90, 316, 467, 73}}, {.resource = ear::kTitleNotice.name}};
  forms::Label CRLbl{this, {.name = "CRLbl", .bounds = {178, 474, 308, 12}, .font = ear::kFooterFont},
                     {.caption = ear::kCopyrightNotice, .transparent = true}};
  forms::Label FileNameLbl{this, {.name = "FileNameLbl", .bounds = {510, 440, 107, 13}, .font = ear::kGothic13},
                           {.caption = "ファイル名表示位置", .alignment = forms::TextAlign::Right, .transparent = true}};
  forms::Image Ren2Img{this, {.name = "Ren2Img", .bounds = {90, 316, 467, 73}}, {.resource = ear::kTitleNotice3.name}};
  ear::ActionButton NextBtn{this, {.name = "NextBtn", .bounds = {545, 466, 80, 28}, .tabOrder = 0,
                                   .onClick = [this] { NextBtnClick(); }},
                            {.caption = "次へ >", .captionTop = 9}};
  forms::Panel Panel1{this, {.name = "Panel1", .bounds = {0, 0, 647, 70}, .align = forms::Align::Top, .tabOrder = 1},
                      {.bevelOuter = forms::BevelCut::None}};
  forms::Image TRImg{&Panel1, {.name = "TRImg", .bounds = {190, 0, 463, 122},
                               .anchors = forms::akLeft | forms::akTop | forms::akRight}};
  forms::Image TLImg{&Panel1, {.name = "TLImg", .bounds = {0, 0, 196, 70}}, {.resource = ear::kHeaderLogo.name}};
  ear::CloseButton EndBtn{&Panel1, {.name = "EndBtn", .bounds = {545, 8, 80, 28}},
                          {.caption = "閉じる", .captionTop = 7, .modalResult = forms::mrCancel}};

  // The seven set-up steps; a picture that the probe rejects stops them where it lies.
  void SetupTitleScreen();
  void SetUp() override { SetupTitleScreen(); }
  void NextBtnClick() { OpenNextScreen(); }

 protected:
  // Above every window, with the backdrop just under it.
  void PlaceWindow() override { PutBackdropJustBelow(); }
};

// The title screen last made: set by the wizard when it makes it, never cleared; no code
// reaches the screen through it.
extern TfrmJPZZ0030* frmJPZZ0030;
