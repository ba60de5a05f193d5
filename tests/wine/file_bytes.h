#pragma once
// Test helpers: files written and read as raw bytes, and folder trees made and listed,
// through the ANSI (CP932) file API; a name's attributes by either API.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/handle.h"
#include "package/paths.h"

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

inline DWORD Attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }
inline DWORD Attributes(const std::wstring& path) { return GetFileAttributesW(path.c_str()); }

inline bool Exists(const std::string& path) { return Attributes(path) != INVALID_FILE_ATTRIBUTES; }
inline bool Exists(const std::wstring& path) { return Attributes(path) != INVALID_FILE_ATTRIBUTES; }

// Creates every missing folder of path.
inline void MakeFolders(const std::string& path) {
  for (std::size_t i = 3; i <= path.size(); ++i) {
    if (i == path.size() || (path[i] == '\\' && ear::EndsWithSeparator(path.substr(0, i + 1)))) {
      CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
    }
  }
}

inline void ListInto(const std::string& folder, const std::string& prefix, std::vector<std::string>& out) {
  WIN32_FIND_DATAA entry;
  const ear::FindHandle find(FindFirstFileA(ear::JoinPath(folder, "*").c_str(), &entry));
  if (!find) return;
  do {
    const std::string name = entry.cFileName;
    if (name == "." || name == "..") continue;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      out.push_back(prefix + name + "\\");
      ListInto(ear::JoinPath(folder, name), prefix + name + "\\", out);
    } else {
      out.push_back(prefix + name + " " + std::to_string(entry.nFileSizeLow));
    }
  } while (FindNextFileA(find.Get(), &entry));
}

// Every entry below folder, relative, folders ending in a separator, sorted.
inline std::vector<std::string> Listing(const std::string& folder) {
  std::vector<std::string> out;
  ListInto(folder, "", out);
  std::sort(out.begin(), out.end());
  return out;
}

}  // namespace testing_win
