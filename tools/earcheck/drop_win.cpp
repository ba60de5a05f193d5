#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/system_error.h"
#include "tools/earcheck/drop.h"

namespace earcheck::drop {

bool Dropped() {
  DWORD ids[2];
  if (GetConsoleProcessList(ids, 2) != 1) return false;
  DWORD mode;
  if (!GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) || !GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode)) {
    return false;
  }
  return true;
}

std::string NewPageFile(std::string& reason) {
  char temp[MAX_PATH + 1];
  const DWORD n = GetTempPathA(sizeof temp, temp);
  if (n == 0 || n >= sizeof temp) {
    reason = ear::SystemMessage(GetLastError());
    return {};
  }
  SYSTEMTIME t;
  GetLocalTime(&t);
  char stem[64];
  std::snprintf(stem, sizeof stem, "earcheck-%04u%02u%02u-%02u%02u%02u", t.wYear, t.wMonth, t.wDay, t.wHour,
                t.wMinute, t.wSecond);
  // CREATE_NEW: an earlier report of the same second keeps its file; the next number is taken.
  for (int k = 1; k < 1000; ++k) {
    std::string file = std::string(temp) + stem;
    if (k > 1) {
      file += '-';
      file += std::to_string(k);
    }
    file += ".html";
    const HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      CloseHandle(h);
      return file;
    }
    if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) {
      reason = ear::SystemMessage(GetLastError());
      return {};
    }
  }
  reason = ear::SystemMessage(ERROR_FILE_EXISTS);
  return {};
}

bool OpenPage(const std::string& file) {
  const char* off = std::getenv("EARCHECK_NO_BROWSER");
  if (off && std::strcmp(off, "1") == 0) return true;
  // The shell's handlers for a file type may be COM objects.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteA(nullptr, "open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (SUCCEEDED(com)) CoUninitialize();
  return result > 32;
}

void Show(const std::string& text) {
  if (text.empty()) return;
  const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  DWORD written;
  WriteConsoleW(GetStdHandle(STD_OUTPUT_HANDLE), wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
}

void WaitForEnter() {
  int c;
  while ((c = std::getchar()) != EOF && c != '\n') {
  }
}

}  // namespace earcheck::drop
