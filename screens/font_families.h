#pragma once
// Whether a font family is installed: present in the system's list of font families.
#include <string>

namespace ear {

// name in CP932; compared with the listed family names exactly.
bool FontFamilyInstalled(const std::string& name);

// "メイリオ" when that family is installed, else "ＭＳ Ｐゴシック" (the screens' run-time font).
std::string ScreenFontName();

}  // namespace ear
