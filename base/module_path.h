#pragma once
#include <string>

namespace ear {

// The running module's file name as the system reports it (CP932 bytes), however long.
std::string ExecutablePath();

}  // namespace ear
