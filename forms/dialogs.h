#pragma once
#include <windows.h>

#include <string>

namespace forms {

// The standard information dialog: title "情報", information icon, one OK button.
int ShowInformation(HWND owner, const std::string& text);

}  // namespace forms
