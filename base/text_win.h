#pragma once
// Text is CP932 bytes end to end; this is the one place that widens or narrows it.
#include <string>
#include <string_view>

namespace ear {

// Code page 0 is the active (ANSI) code page.
std::wstring Widen(std::string_view text, unsigned codePage = 0);   // bytes -> UTF-16
std::string Narrow(std::wstring_view text, unsigned codePage = 0);  // UTF-16 -> bytes

}  // namespace ear
