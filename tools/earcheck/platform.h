#pragma once
// What earcheck needs of the platform: file kinds, full paths and the conversion
// between the launcher's Shift-JIS paths and the names of the local file system.
// Natively (POSIX) names are UTF-8; on Windows they are the ANSI code page's bytes.
#include <cstddef>
#include <string>
#include <string_view>

namespace earcheck {

enum class Kind { Missing, File, Folder, Other };

// What lies at a native path; links are followed.
Kind KindOf(const std::string& nativePath);

// The absolute form of a native path, without a trailing separator (except a root).
std::string FullPath(const std::string& nativePath);

// Bytes of the longest path of a file or folder inside the native folder, relative to it, with
// each name as it will be in Shift-JIS (what the launcher's hand-over counts; a character
// without a Shift-JIS form counts ear::kUnrepresentableCharBytes); links are not followed.
std::size_t LongestPathInside(const std::string& nativeFolder);

// The native separator ('/' natively, '\\' on Windows).
char NativeSeparator();

// A native path in the launcher's form: Shift-JIS bytes with "\" separators.
// Natively, characters without a Shift-JIS form become "?".
std::string LauncherForm(const std::string& nativePath);

// One Shift-JIS path component as a native name (identity on Windows); false when
// it has no native form.
bool NativeName(std::string_view sjis, std::string& name);

// Shift-JIS text as UTF-8; bytes that are not Shift-JIS become U+FFFD.
std::string Utf8FromSjis(std::string_view sjis);

// A native path as UTF-8 (identity natively).
std::string Utf8FromNative(const std::string& nativePath);

// Text for the terminal: UTF-8 natively, the ANSI code page (Shift-JIS) on Windows.
std::string ConsoleFromSjis(std::string_view sjis);
std::string ConsoleFromNative(const std::string& nativePath);

bool StderrIsTerminal();

// Switches standard output to binary writes (no LF -> CR LF on Windows).
void BinaryStdout();

}  // namespace earcheck
