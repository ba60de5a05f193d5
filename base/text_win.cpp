#include "base/text_win.h"

#include <windows.h>

namespace ear {

std::wstring Widen(std::string_view text, unsigned codePage) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int n = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), size, out.data(), n);
  return out;
}

std::string Narrow(std::wstring_view text, unsigned codePage) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int n = WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), size, out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace ear
