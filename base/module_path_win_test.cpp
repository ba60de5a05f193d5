// The executable path as the system reports it.
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

TEST(ExecutablePath, IsTheModuleFileName) { EXPECT_EQ(ExecutablePath(), ModuleFileName()); }

}  // namespace
}  // namespace ear
