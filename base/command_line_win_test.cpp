// Our splitter against the system's CommandLineToArgvW on lines that exercise its rules.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/command_line.h"

namespace ear {
namespace {

std::vector<std::wstring> SystemSplit(const std::wstring& line) {
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(line.c_str(), &count);
  std::vector<std::wstring> arguments;
  for (int i = 1; i < count; ++i) arguments.emplace_back(argv[i]);
  LocalFree(argv);
  return arguments;
}

TEST(CommandLineWin, SplitsAsCommandLineToArgvW) {
  const wchar_t* lines[] = {
      L"prog.exe",
      L"prog.exe -debug",
      L"\"C:\\My Files\\prog.exe\" -debug x",
      L"\"C:\\a b\\prog.exe\"-debug",
      L"C:\\a\"b\"c.exe x",
      L"p \t a\tb  c ",
      L"p \"-debug\" -deb\"ug\"",
      L"p \"a b\" c \"\" d",
      L"p a\\b c\\\\d e\\",
      L"p a\\\"b a\\\\\"b c\" a\\\\\\\"b",
      L"p \"a\"\"b\" \"\"\"a\"\"\" x",
      L"p \"\"\"\" \"\"\"\"\"\" a\"\"\"\"b",
      L"p \\\"\"a \"\\\\\"\"",
      L"p \"unterminated -debug",
      L"p 受験 \"試験 -debug\" \\\\\"ｶﾅ\"",
  };
  for (const wchar_t* line : lines) {
    EXPECT_EQ(SplitCommandLine<wchar_t>(line), SystemSplit(line)) << testing::PrintToString(std::wstring(line));
  }
}

}  // namespace
}  // namespace ear
