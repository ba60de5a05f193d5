#pragma once
// earcheck's command line, parsed apart from the run.
#include <string>
#include <vector>

namespace earcheck {

struct Options {
  enum class Action { Check, Help, Reference, Screens, Version, UsageError };
  Action action = Action::Check;
  std::string error;        // UsageError: the message (Shift-JIS), shown before the usage
  bool json = false;
  bool preview = false;     // --preview DIR given
  std::string previewDir;
  std::string htmlFile;     // --html FILE; empty: none
  bool anyOption = false;   // an option given (a run from a drop has none)
  std::vector<std::string> paths;
};

// The arguments after the program's name, read left to right: --help, --reference, --screens and --version end the
// reading there, as does the first error; "--" ends the options.
Options ParseOptions(const std::vector<std::string>& args);

}  // namespace earcheck
