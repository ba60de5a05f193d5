#include "base/command_line.h"

namespace ear {

bool HasDebugFlag(const std::vector<std::string>& arguments) {
  for (const std::string& argument : arguments) {
    if (argument == "-debug") return true;
  }
  return false;
}

}  // namespace ear
