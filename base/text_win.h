#pragma once
// Text is CP932 bytes end to end; this is the one place that widens or narrows it.
#include <string>
#include <string_view>

namespace ear {

// What the program shows (captions, labels, messages, font face names) is Shift-JIS
// whatever the machine's ANSI code page, so it is widened as 932, never as the ANSI page.
inline constexpr unsigned kTextCodePage = 932;
// Paths and command-line arguments meet the file system's A functions elsewhere, which
// read them in the ANSI code page (0); they are widened and narrowed the same way.
inline constexpr unsigned kFileSystemCodePage = 0;

std::wstring Widen(std::string_view text, unsigned codePage = kTextCodePage);   // bytes -> UTF-16
std::string Narrow(std::wstring_view text, unsigned codePage = kTextCodePage);  // UTF-16 -> bytes

}  // namespace ear
