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
  Search search{Widen(name)};
  // Only the entries listed under this family name, in every character set: the same
  // answer as searching the whole list, without walking every font the system has.
  LOGFONTW family{};
  family.lfCharSet = DEFAULT_CHARSET;
  if (search.name.size() >= LF_FACESIZE) return false;  // no family name is that long
  search.name.copy(family.lfFaceName, search.name.size());
  const gdi::WindowDC screen;
  EnumFontFamiliesExW(screen.Get(), &family, &CompareFamily, reinterpret_cast<LPARAM>(&search), 0);
  return search.found;
}

std::string ScreenFontName() {
  return FontFamilyInstalled("メイリオ") ? "メイリオ" : "ＭＳ Ｐゴシック";
}

}  // namespace ear
