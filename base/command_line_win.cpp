#include "base/command_line_win.h"

#include <windows.h>

#include "base/command_line.h"
#include "base/text_win.h"

namespace ear {

std::vector<std::string> CommandLineArguments() {
  // Split here rather than by CommandLineToArgvW: shell32 and all it loads would cost the
  // start-up several milliseconds for this one call.
  std::vector<std::string> arguments;
  for (const std::wstring& argument : SplitCommandLine<wchar_t>(GetCommandLineW())) {
    arguments.push_back(Narrow(argument, kFileSystemCodePage));
  }
  return arguments;
}

}  // namespace ear
