// A plain first screen: one button ends the wizard as registered (1, Enter), the
// other as closed (2, Escape).
#include "forms/standard_controls.h"
#include "screens/wizard.h"

namespace {

class TfrmStandIn : public forms::Form {
 public:
  explicit TfrmStandIn(forms::Form* owner)
      : Form(owner, {.name = "frmStandIn", .clientWidth = 360, .clientHeight = 150,
                     .position = forms::Position::ScreenCenter, .text = "frmStandIn"}) {}
  forms::Label MessageLbl{this, {.name = "MessageLbl", .bounds = {20, 24, 320, 14}},
                          {.caption = "試験の準備ができました。"}};
  forms::Button OkBtn{this, {.name = "OkBtn", .bounds = {60, 90, 110, 28}},
                      {.caption = "登録完了", .modalResult = forms::mrOk, .isDefault = true}};
  forms::Button EndBtn{this, {.name = "EndBtn", .bounds = {190, 90, 110, 28}},
                       {.caption = "閉じる", .modalResult = forms::mrCancel, .cancel = true}};
};

}  // namespace

forms::Form* wizardBackdrop = nullptr;

std::unique_ptr<forms::Form> CreateTitleScreen(forms::Form* owner) {
  return std::make_unique<TfrmStandIn>(owner);
}
