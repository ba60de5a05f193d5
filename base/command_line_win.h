#pragma once
#include <string>
#include <vector>

namespace ear {

// The process's command-line arguments after the program name, as CP932 bytes.
std::vector<std::string> CommandLineArguments();

}  // namespace ear
