#pragma once
// What the package holds, as far as the candidate folder's paths are concerned (Windows only).
#include <cstddef>
#include <string>
#include <string_view>

namespace ear {

// A name's length once it is Shift-JIS text: a character without a Shift-JIS form (nor a
// best fit standing in for it) counts kUnrepresentableCharBytes.
std::size_t ShiftJisLength(std::wstring_view name);

// Bytes of the longest path of a file or folder inside the folder (CP932 bytes, the launcher's
// form), relative to it: "system\1\setup.ini" is 18. Names are read as Unicode and measured
// with ShiftJisLength; a link is counted by its own name and never followed; a folder that
// cannot be listed adds nothing below it. 0 for an empty or missing folder.
std::size_t LongestPathInside(const std::string& folder);

}  // namespace ear
