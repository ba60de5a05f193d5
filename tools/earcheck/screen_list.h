#pragma once
// --screens: the wizard's screens in their order, as the launcher makes them, one line a
// screen: its name (the preview's files), its window title, its name on the report page and
// its client size, separated by tabs. The tests and the screenshot script read it, so the
// order is known in one place (screens/wizard.cpp). Windows build only.
#include <string>

namespace earcheck {

// The lines, in Shift-JIS; each screen is made (no window, no package read) and asked.
// Empty natively: the screens are the launcher's Windows code.
std::string ScreenList();

// Prints the lines for the terminal and returns 0; natively says it cannot and returns 2.
int PrintScreenList();

}  // namespace earcheck
