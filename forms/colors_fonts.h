#pragma once
// Colours and fonts as the controls describe them, and the GDI objects made from them:
// fonts and brushes are made once and kept for the whole run.
#include <windows.h>

#include <string>

namespace forms {

// 0x00BBGGRR, or 0xFF0000nn for the system colour with index nn.
using Color = unsigned int;
constexpr Color SystemColor(int index) { return 0xFF000000u | static_cast<unsigned>(index); }
constexpr Color clBtnFace = SystemColor(COLOR_BTNFACE);
constexpr Color clBtnShadow = SystemColor(COLOR_BTNSHADOW);
constexpr Color clBtnHighlight = SystemColor(COLOR_BTNHIGHLIGHT);
constexpr Color clWindow = SystemColor(COLOR_WINDOW);
constexpr Color clWindowText = SystemColor(COLOR_WINDOWTEXT);
constexpr Color clWhite = 0xFFFFFF;
constexpr Color clBlack = 0x000000;
constexpr Color clMedGray = 0xA4A0A0;  // red 160, green 160, blue 164
COLORREF ColorToRGB(Color color);

struct Font {
  std::string name = "ＭＳ Ｐゴシック";
  int height = -12;
  bool bold = false;
  Color color = clWindowText;
  BYTE charset = SHIFTJIS_CHARSET;
  bool operator==(const Font&) const = default;
};
// A GDI font for the description; cached for the whole run, never freed by callers.
HFONT FontHandle(const Font& font);

// A solid brush per colour, kept for the whole run (control colour messages return it).
HBRUSH CachedBrush(COLORREF color);

}  // namespace forms
