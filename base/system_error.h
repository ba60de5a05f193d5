#pragma once
// Texts of platform failures, as the error box shows them.
#include <string>
#include <string_view>

namespace ear {

// The system's message without the line break it ends with.
std::string TrimMessageEnd(std::string_view message);

// "システムエラー。コード：<code>." CR LF <message>, or the fixed text for code 0.
std::string SystemErrorText(unsigned long code, std::string_view systemMessage);

// The text of a file that could not be created, with the system's reason.
std::string FileCreateErrorText(std::string_view fileName, std::string_view reason);

#ifdef _WIN32
// The system's own message for an error code, trimmed; empty if it has none.
std::string SystemMessage(unsigned long code);

[[noreturn]] void ThrowSystemError(unsigned long code);
[[noreturn]] void ThrowLastError();
[[noreturn]] void ThrowFileCreateError(const std::string& fileName, unsigned long code);
#endif

}  // namespace ear
