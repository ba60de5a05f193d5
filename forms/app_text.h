#pragma once
// Texts of the application object, computed from bytes alone.
#include <string>
#include <string_view>

namespace forms {

// The executable's file name without its folder, cut at its first ".", every
// character after the first in lower case.
std::string ApplicationTitle(std::string_view exePath);

// The default error box's text: the message, plus "." when its last byte sorts after ".".
std::string ErrorBoxText(std::string_view message);

}  // namespace forms
