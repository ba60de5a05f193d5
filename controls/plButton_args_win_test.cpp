// TplButton declared from a layout row: every setting of the row reaches the button.
#include <gtest/gtest.h>

#include "controls/plButton.h"
#include "forms/standard_controls.h"
#include "forms/form.h"

namespace controls {
namespace {

const forms::Font kWhite13{.name = "ＭＳ Ｐゴシック", .height = -13, .color = forms::clWhite};

TEST(TplButtonArgs, ARowSetsEverySettingItNames) {
  forms::Form form(nullptr, {.name = "frmJPZZ0030", .clientWidth = 647, .clientHeight = 501});
  forms::Panel Panel1{&form, {.name = "Panel1", .bounds = {0, 0, 647, 70}, .align = forms::Align::Top, .tabOrder = 1},
                      {.bevelOuter = forms::BevelCut::None}};
  int clicked = 0;
  TplButton EndBtn{&Panel1,
                   {.name = "EndBtn", .bounds = {545, 8, 80, 28}, .font = kWhite13, .onClick = [&] { ++clicked; }},
                   {.caption = "閉じる", .gradBegin = 8947848, .gradEnd = 3750207, .captionTop = 7,
                    .captionVertCenter = false, .disableImage = false, .imageTop = 0, .modalResult = 2}};
  EXPECT_EQ(EndBtn.name, "EndBtn");
  EXPECT_EQ(EndBtn.Parent(), &Panel1);
  EXPECT_EQ(forms::ParentForm(EndBtn), &form);
  EXPECT_EQ(EndBtn.Left(), 545);
  EXPECT_EQ(EndBtn.Top(), 8);
  EXPECT_EQ(EndBtn.Width(), 80);
  EXPECT_EQ(EndBtn.Height(), 28);
  EXPECT_EQ(EndBtn.GetFont(), kWhite13);
  EXPECT_EQ(EndBtn.CaptionA().Caption(), "閉じる");
  EXPECT_EQ(EndBtn.GradBeginColor(), 8947848u);
  EXPECT_EQ(EndBtn.GradEndColor(), 3750207u);
  EXPECT_EQ(EndBtn.CaptionTop(), 7);
  EXPECT_FALSE(EndBtn.CaptionVertCenter());
  EXPECT_EQ(EndBtn.Image().Top(), 0);
  EXPECT_FALSE(EndBtn.DisableImage());
  EXPECT_EQ(EndBtn.ModalResult(), 2);
  EXPECT_EQ(EndBtn.TabOrder(), 0);
  EXPECT_EQ(Panel1.TabOrder(), 1);
  // A click hands the modal result to the form, then runs the handler.
  EndBtn.Click();
  EXPECT_EQ(form.ModalResult(), 2);
  EXPECT_EQ(clicked, 1);
}

TEST(TplButtonArgs, CaptionTopAloneTurnsVerticalCentringOffAndNoCaptionKeepsTheName) {
  forms::Form form(nullptr, {.clientWidth = 200, .clientHeight = 100});
  TplButton NextBtn{&form, {.name = "NextBtn", .bounds = {10, 10, 80, 28}}, {.captionTop = 9}};
  EXPECT_EQ(NextBtn.CaptionA().Caption(), "NextBtn");
  EXPECT_EQ(NextBtn.CaptionTop(), 9);
  EXPECT_FALSE(NextBtn.CaptionVertCenter());
  EXPECT_EQ(NextBtn.ModalResult(), 0);
  TplButton OkBtn{&form, {.name = "OkBtn", .bounds = {100, 10, 80, 26}}, {.caption = ""}};
  EXPECT_EQ(OkBtn.CaptionA().Caption(), "");
  EXPECT_TRUE(OkBtn.CaptionVertCenter());
}

}  // namespace
}  // namespace controls
