#include <windows.h>

#include "package/ini_parse.h"

namespace ear {

// The launcher's ANSI profile functions convert with the system's Shift-JIS table,
// look-alikes ("e" for "é") and "?" included.
std::string SjisFromUtf16(std::u16string_view units) {
  if (units.empty()) return {};
  const auto* w = reinterpret_cast<const wchar_t*>(units.data());
  const int count = static_cast<int>(units.size());
  const int n = WideCharToMultiByte(932, 0, w, count, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(932, 0, w, count, out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace ear
