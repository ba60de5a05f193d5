#pragma once
// Test helpers: files written and read as raw bytes through the ANSI (CP932) file API.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/handle.h"

namespace testing_win {

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  const ear::FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(file) << path;
  DWORD written = 0;
  WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

// The file's bytes (at most 64 KiB), or "<missing>".
inline std::string ReadBytes(const std::string& path) {
  const ear::FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return "<missing>";
  std::string bytes(1 << 16, '\0');
  DWORD read = 0;
  ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  bytes.resize(read);
  return bytes;
}

}  // namespace testing_win
