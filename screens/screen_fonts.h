#pragma once
// The fonts of the wizard screens' layout tables.
#include "forms/control_tree.h"

namespace ear {

// The forms' default font.
inline const forms::Font kGothic12{.name = "ＭＳ Ｐゴシック", .height = -12, .charset = SHIFTJIS_CHARSET};
inline const forms::Font kMeiryoBold20{.name = "メイリオ", .height = -20, .bold = true};
inline const forms::Font kMeiryoBold40{.name = "メイリオ", .height = -40, .bold = true};
inline const forms::Font kMeiryoWhite17{.name = "メイリオ", .height = -17, .color = forms::clWhite};
inline const forms::Font kFooterFont{.height = -12, .bold = true, .color = forms::clMedGray};
inline const forms::Font kGothic13{.height = -13};
// The gradient buttons: action ("次へ >", "< 戻る") and close ("閉じる").
inline const forms::Font kWhiteBold12{.height = -12, .bold = true, .color = forms::clWhite};
inline const forms::Font kWhite13{.height = -13, .color = forms::clWhite};

}  // namespace ear
