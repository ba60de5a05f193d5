#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "package/package_tree_win.h"
#include "tools/earcheck/platform.h"

namespace earcheck {

Kind KindOf(const std::string& nativePath) {
  const DWORD a = GetFileAttributesA(nativePath.c_str());
  if (a == INVALID_FILE_ATTRIBUTES) return Kind::Missing;
  if (a & FILE_ATTRIBUTE_DIRECTORY) return Kind::Folder;
  if (a & FILE_ATTRIBUTE_DEVICE) return Kind::Other;
  return Kind::File;
}

std::string FullPath(const std::string& nativePath) {
  char buffer[4096];
  const DWORD n = GetFullPathNameA(nativePath.c_str(), sizeof buffer, buffer, nullptr);
  std::string full = (n > 0 && n < sizeof buffer) ? std::string(buffer, n) : nativePath;
  // Trailing separators go, a drive's root keeps its own ("C:\"). "\" never ends a
  // path here as a second byte: GetFullPathNameA has already split the components.
  while (full.size() > 3 && (full.back() == '\\' || full.back() == '/')) {
    const std::size_t before = full.size() - 1;
    bool second = false;
    for (std::size_t i = 0; i < before; ++i) {
      const unsigned char c = static_cast<unsigned char>(full[i]);
      if ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) {
        if (i + 1 == before) second = true;
        ++i;
      }
    }
    if (second) break;
    full.pop_back();
  }
  return full;
}

std::size_t LongestPathInside(const std::string& nativeFolder) { return ear::LongestPathInside(nativeFolder); }

char NativeSeparator() { return '\\'; }

std::string LauncherForm(const std::string& nativePath) { return nativePath; }

bool NativeName(std::string_view sjis, std::string& name) {
  name.assign(sjis);
  return true;
}

namespace {

std::string Convert(std::string_view in, UINT from, UINT to) {
  if (in.empty()) return {};
  const int wn = MultiByteToWideChar(from, 0, in.data(), static_cast<int>(in.size()), nullptr, 0);
  std::wstring w(static_cast<std::size_t>(wn), L'\0');
  MultiByteToWideChar(from, 0, in.data(), static_cast<int>(in.size()), w.data(), wn);
  const int n = WideCharToMultiByte(to, 0, w.data(), wn, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(to, 0, w.data(), wn, out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace

std::string Utf8FromSjis(std::string_view sjis) { return Convert(sjis, 932, CP_UTF8); }

std::string Utf8FromNative(const std::string& nativePath) { return Convert(nativePath, CP_ACP, CP_UTF8); }

std::string ConsoleFromSjis(std::string_view sjis) { return std::string(sjis); }

std::string ConsoleFromNative(const std::string& nativePath) { return nativePath; }

bool StderrIsTerminal() { return _isatty(_fileno(stderr)) != 0; }

void BinaryStdout() { _setmode(_fileno(stdout), _O_BINARY); }

}  // namespace earcheck
