#pragma once
// Text is CP932 bytes end to end; this is the one place that widens or narrows it.
#include <string>
#include <string_view>

namespace ear {

std::wstring Widen(std::string_view text);    // active code page -> UTF-16
std::string Narrow(std::wstring_view text);   // UTF-16 -> active code page

}  // namespace ear
