#pragma once
#include <string>
#include <vector>

namespace ear {

// The process's command-line arguments after the program name, as the C runtime split
// them at start (__argv: CommandLineToArgvW's rules for every plain or quoted argument,
// in the ANSI code page).
std::vector<std::string> CommandLineArguments();

}  // namespace ear
