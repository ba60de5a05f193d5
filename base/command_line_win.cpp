#include "base/command_line_win.h"

#include <cstdlib>

namespace ear {

std::vector<std::string> CommandLineArguments() {
  // Split once by the runtime before main; no splitter of our own, and no shell32 for
  // CommandLineToArgvW.
  if (__argc < 1 || __argv == nullptr) return {};
  return std::vector<std::string>(__argv + 1, __argv + __argc);
}

}  // namespace ear
