#include "forms/colors_fonts.h"

#include <cstdint>
#include <map>
#include <tuple>

#include "base/text_win.h"
#include "forms/system_color.h"

namespace forms {

using ear::Widen;

COLORREF ColorToRGB(Color color) {
  return ResolveColor(color, [](int index) { return static_cast<std::uint32_t>(GetSysColor(index)); });
}

HFONT FontHandle(const Font& font) {
  using Key = std::tuple<std::string, int, bool, BYTE>;
  static std::map<Key, HFONT> cache;  // lives for the whole run
  const Key key{font.name, font.height, font.bold, font.charset};
  auto it = cache.find(key);
  if (it != cache.end()) return it->second;
  HFONT handle = CreateFontW(font.height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                             font.charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, Widen(font.name).c_str());
  cache.emplace(key, handle);
  return handle;
}

HBRUSH CachedBrush(COLORREF color) {
  static std::map<COLORREF, HBRUSH> brushes;  // lives for the whole run
  auto it = brushes.find(color);
  if (it == brushes.end()) it = brushes.emplace(color, CreateSolidBrush(color)).first;
  return it->second;
}

}  // namespace forms
