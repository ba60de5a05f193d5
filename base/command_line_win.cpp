#include "base/command_line_win.h"

#include <windows.h>
#include <shellapi.h>

#include "base/text_win.h"

namespace ear {

std::vector<std::string> CommandLineArguments() {
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(Narrow(argv[i], kFileSystemCodePage));
  LocalFree(argv);
  return arguments;
}

}  // namespace ear
