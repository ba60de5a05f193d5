#pragma once
// The command line's one option.
#include <string>
#include <vector>

namespace ear {

// True when one of the arguments (the program name excluded) is exactly "-debug".
bool HasDebugFlag(const std::vector<std::string>& arguments);

}  // namespace ear
