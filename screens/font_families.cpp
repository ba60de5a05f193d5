#include "screens/font_families.h"

#include <windows.h>

#include "base/gdi.h"
#include "base/text_win.h"

namespace ear {

namespace {

struct Search {
  std::wstring name;
  bool found = false;
};

// A plain function: a lambda has no stdcall conversion in the 32-bit build.
int CALLBACK CompareFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM lp) {
  auto* search = reinterpret_cast<Search*>(lp);
  if (search->name == font->lfFaceName) {
    search->found = true;
    return 0;  // stops the enumeration
  }
  return 1;
}

}  // namespace

bool FontFamilyInstalled(const std::string& name) {
  Search search{Widen(name, 932)};
  // Every family of every character set, as the system lists them.
  LOGFONTW all{};
  all.lfCharSet = DEFAULT_CHARSET;
  const gdi::WindowDC screen;
  EnumFontFamiliesExW(screen.Get(), &all, &CompareFamily, reinterpret_cast<LPARAM>(&search), 0);
  return search.found;
}

std::string ScreenFontName() {
  return FontFamilyInstalled("メイリオ") ? "メイリオ" : "ＭＳ Ｐゴシック";
}

}  // namespace ear
