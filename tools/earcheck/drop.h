#pragma once
// The start for folders dropped onto earcheck.exe in Explorer: Windows starts it with a
// console of its own, which closes with the program. Natively Dropped() is false.
#include <string>

namespace earcheck::drop {

// Whether this process alone uses its console, and reads and writes through it: started by
// Explorer (or a shortcut), not from a command prompt or with its output redirected.
bool Dropped();

// A new empty file for the page in the user's temp folder, named after the time and never
// one that exists; empty, with the system's reason, when none could be made.
std::string NewPageFile(std::string& reason);

// Opens the page with the default browser, unless EARCHECK_NO_BROWSER is "1" (tests); false
// when the system could not open it.
bool OpenPage(const std::string& file);

// Writes text of the ANSI code page (Shift-JIS) to the console as characters, whatever the
// console's code page.
void Show(const std::string& text);

// Keeps the console open until Enter is pressed (or the input ends).
void WaitForEnter();

}  // namespace earcheck::drop
