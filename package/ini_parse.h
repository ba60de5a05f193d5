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

// How the profile functions take a file's bytes: a UTF-16 byte-order mark (either
// order) or a UTF-8 one makes them read Unicode; anything else is Shift-JIS.
enum class IniEncoding { ShiftJis, Utf16, Utf8Bom };
IniEncoding DetectIniEncoding(std::string_view fileBytes);

// The file's text as the profile functions read it, in Shift-JIS. Unicode files are
// converted as the system converts them for the launcher (characters without a
// Shift-JIS form become "?" or a look-alike). In Shift-JIS files a lead byte whose
// next byte cannot end a two-byte character takes that byte with it, even a line
// end, and both read as "・".
std::string ProfileText(std::string_view fileBytes);

// Unicode to Shift-JIS as the system converts it for the ANSI profile functions;
// one "?" for each unit it cannot convert. Each platform has its own.
std::string SjisFromUtf16(std::u16string_view units);

// FindIniValue and FindIniLine take the text as ProfileText gives it.
// The whole value of key in the first section named section, before any buffer cut:
// the line split at its first "=", blanks around the name and the value dropped,
// one pair of matching quotes around the value removed, cut at a NUL byte.
// nullopt when the section or the key is missing.
std::optional<std::string> FindIniValue(std::string_view text, std::string_view section,
                                        std::string_view key);

// 1-based number of the line that holds the key's value, or 0 when missing.
int FindIniLine(std::string_view text, std::string_view section, std::string_view key);

// What ReadIniString returns for a file of these bytes: FitIniValue of the value, or "".
std::string ReadIniText(std::string_view text, std::string_view section, std::string_view key);

// 1-based numbers of the lines that hold bytes that are not Shift-JIS (code page 932):
// a byte 0x80, 0xA0 or 0xFD-0xFF, or a lead byte without a valid second byte.
std::vector<int> InvalidShiftJisLines(std::string_view text);

// 1-based numbers of the lines that end in a lead byte: the profile functions read
// the line end as its second byte, so the next line may join this one.
std::vector<int> LeadByteAtLineEndLines(std::string_view text);

}  // namespace ear
