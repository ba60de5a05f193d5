#pragma once
// The look the wizard screens share: their fonts and their two gradient buttons, so a
// screen's rows carry only its own bounds, captions and caption offsets.
#include <utility>

#include "controls/plButton.h"
#include "forms/control_tree.h"

namespace ear {

// The forms' default font.
inline const forms::Font kGothic12{.name = "ＭＳ Ｐゴシック", .height = -12, .charset = SHIFTJIS_CHARSET};
inline const forms::Font kMeiryoBold20{.name = "メイリオ", .height = -20, .bold = true};
inline const forms::Font kMeiryoBold40{.name = "メイリオ", .height = -40, .bold = true};
inline const forms::Font kMeiryoWhite17{.name = "メイリオ", .height = -17, .color = forms::clWhite};
inline const forms::Font kFooterFont{.height = -12, .bold = true, .color = forms::clMedGray};
inline const forms::Font kGothic13{.height = -13};
// The registration screen's name-mode instruction: height 12 (a cell height, not -12) and
// the half-width "P", as designed.
inline const forms::Font kMidashiFont{.name = "ＭＳ Pゴシック", .height = 12, .color = forms::clWindowText};
inline const forms::Font kWhiteBold12{.height = -12, .bold = true, .color = forms::clWhite};
inline const forms::Font kWhite13{.height = -13, .color = forms::clWhite};

struct ButtonLook {
  forms::Font font;
  forms::Color gradBegin;
  forms::Color gradEnd;
};
// The blue action button ("次へ >", "< 戻る") and the grey close button ("閉じる").
inline const ButtonLook kActionLook{kWhiteBold12, 14128128, 8931584};
inline const ButtonLook kCloseLook{kWhite13, 8947848, 3750207};

// A gradient button in one of the looks; its caption sits at the row's captionTop.
class StyledButton : public controls::TplButton {
 protected:
  StyledButton(forms::WinControl* parent, const ButtonLook& look, forms::ControlArgs control, Args args)
      : TplButton(parent, WithFont(std::move(control), look.font), WithGradient(std::move(args), look)) {}

 private:
  static forms::ControlArgs WithFont(forms::ControlArgs control, const forms::Font& font) {
    control.font = font;
    return control;
  }
  static Args WithGradient(Args args, const ButtonLook& look) {
    args.gradBegin = look.gradBegin;
    args.gradEnd = look.gradEnd;
    args.captionVertCenter = false;
    return args;
  }
};

class ActionButton : public StyledButton {
 public:
  ActionButton(forms::WinControl* parent, forms::ControlArgs control, Args args)
      : StyledButton(parent, kActionLook, std::move(control), std::move(args)) {}
};

class CloseButton : public StyledButton {
 public:
  CloseButton(forms::WinControl* parent, forms::ControlArgs control, Args args)
      : StyledButton(parent, kCloseLook, std::move(control), std::move(args)) {}
};

}  // namespace ear
