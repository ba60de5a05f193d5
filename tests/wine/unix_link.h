#pragma once
// Test helpers for links under Wine: Wine makes no Unix link itself (and lists none that
// CreateSymbolicLink made), so a test that needs one runs ln as a Unix program.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/wine/file_bytes.h"

namespace testing_win {

inline bool UnderWine() {
  return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

// The Unix name of a Windows path under Wine; empty elsewhere.
inline std::string UnixPath(const std::wstring& path) {
  using ToUnix = char* (*)(const wchar_t*);
  const auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  char* unix = toUnix ? toUnix(path.c_str()) : nullptr;
  const std::string result = unix ? unix : "";
  HeapFree(GetProcessHeap(), 0, unix);
  return result;
}

inline std::string UnixPath(const std::string& ansiPath) {
  wchar_t wide[MAX_PATH] = {};
  MultiByteToWideChar(CP_ACP, 0, ansiPath.c_str(), -1, wide, MAX_PATH);
  return UnixPath(std::wstring(wide));
}

// Runs a Unix program under Wine (Wine starts Unix programs by their Unix file) and waits for it.
inline void RunUnix(const std::string& program, const std::string& arguments) {
  std::string commandLine = "\"" + program + "\" " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  ASSERT_TRUE(CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &process))
      << program;
  WaitForSingleObject(process.hProcess, 10000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

// A Unix symbolic link at link to target, under Wine; waits until Wine sees it. A link to a
// folder shows as a reparse point there, a link to a file as a plain file.
template <class Path>
void MakeUnixLink(const Path& target, const Path& link) {
  RunUnix("Z:\\bin\\ln", "-s \"" + UnixPath(target) + "\" \"" + UnixPath(link) + "\"");
  for (int i = 0; i < 100 && !Exists(link); ++i) Sleep(50);
  ASSERT_TRUE(Exists(link)) << "no link made at " << UnixPath(link);
}

inline bool CreateLink(const std::string& link, const std::string& target, DWORD flags) {
  return CreateSymbolicLinkA(link.c_str(), target.c_str(), flags | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
}
inline bool CreateLink(const std::wstring& link, const std::wstring& target, DWORD flags) {
  return CreateSymbolicLinkW(link.c_str(), target.c_str(), flags | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
}

// A symbolic link at link to target: a Unix one under Wine, CreateSymbolicLink's elsewhere
// (flags: SYMBOLIC_LINK_FLAG_DIRECTORY for a folder).
template <class Path>
void MakeLink(const Path& target, const Path& link, DWORD flags) {
  if (UnderWine()) {
    MakeUnixLink(target, link);
  } else {
    ASSERT_TRUE(CreateLink(link, target, flags)) << GetLastError();
  }
}

// A link to the folder target, which both systems list as a reparse point.
template <class Path>
void MakeFolderLink(const Path& target, const Path& link) {
  MakeLink(target, link, SYMBOLIC_LINK_FLAG_DIRECTORY);
  ASSERT_NE(Attributes(link) & FILE_ATTRIBUTE_REPARSE_POINT, 0u) << "no folder link at " << link;
}

}  // namespace testing_win
