#pragma once
// A portable reader of Windows profile (INI) text that finds a key's value the way
// the system's profile functions do, so that tools off Windows read what the
// launcher reads. Section and key names are compared with ASCII letters folded,
// which is exact for the launcher's own names (their only letters are ASCII).
#include <optional>
#include <vector>
#include <string>
#include <string_view>

namespace ear {

// The whole value of key in the first section named section, before any buffer cut:
// the line split at its first "=", blanks around the name and the value dropped,
// one pair of matching quotes around the value removed, cut at a NUL byte.
// nullopt when the section or the key is missing.
std::optional<std::string> FindIniValue(std::string_view text, std::string_view section,
                                        std::string_view key);

// 1-based number of the line that holds the key's value, or 0 when missing.
int FindIniLine(std::string_view text, std::string_view section, std::string_view key);

// What ReadIniString returns for the same file text: FitIniValue of the value, or "".
std::string ReadIniText(std::string_view text, std::string_view section, std::string_view key);

// 1-based numbers of the lines that hold bytes that are not Shift-JIS (code page 932):
// a byte 0x80, 0xA0 or 0xFD-0xFF, or a lead byte without a valid second byte.
std::vector<int> InvalidShiftJisLines(std::string_view text);

}  // namespace ear
