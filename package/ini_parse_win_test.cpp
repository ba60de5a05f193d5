#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "package/ini.h"
#include "package/ini_parse.h"
#include "package/ini_parse_cases.h"
#include "package/paths.h"
#include "tests/wine/file_bytes.h"

namespace ear {
namespace {

// The portable reader and the system's profile functions on the same files.
TEST(IniParseWin, AgreesWithReadIniString) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string folder =
      JoinPath(temp, "ear-iniparse-" + std::to_string(GetCurrentProcessId()) + "-" HYO);
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  int n = 0;
  for (const auto& c : ini_cases::kCases) {
    const std::string path = JoinPath(folder, std::to_string(++n) + ".ini");
    testing_win::WriteBytes(path, c.text);
    EXPECT_EQ(ReadIniString(path, c.section, c.key), c.expected) << c.what;
    EXPECT_EQ(ReadIniText(testing_win::ReadBytes(path), c.section, c.key), c.expected) << c.what;
    DeleteFileA(path.c_str());
  }
  RemoveDirectoryA(folder.c_str());
}

}  // namespace
}  // namespace ear
