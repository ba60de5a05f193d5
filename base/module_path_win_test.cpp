// The executable path and the override that the package checker's preview puts in its place.
#include <gtest/gtest.h>

#include <windows.h>

#include "base/module_path.h"

namespace ear {
namespace {

std::string ModuleFileName() {
  char buffer[MAX_PATH * 4];
  const DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
  return std::string(buffer, n);
}

TEST(ExecutablePath, AnOverrideAnswersForItsLifetimeAndNestedOnesRestoreTheOuter) {
  const std::string own = ModuleFileName();
  EXPECT_EQ(ExecutablePath(), own);
  {
    ExecutablePathOverride outer("D:\\\x95\x5c\\ExamAutoRunner.exe");  // 表
    EXPECT_EQ(ExecutablePath(), "D:\\\x95\x5c\\ExamAutoRunner.exe");
    {
      ExecutablePathOverride inner("E:\\b\\ExamAutoRunner.exe");
      EXPECT_EQ(ExecutablePath(), "E:\\b\\ExamAutoRunner.exe");
    }
    EXPECT_EQ(ExecutablePath(), "D:\\\x95\x5c\\ExamAutoRunner.exe");
  }
  EXPECT_EQ(ExecutablePath(), own);
}

}  // namespace
}  // namespace ear
