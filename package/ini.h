#pragma once
// Settings access: every read and write of the package's INI files goes through here.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace ear {

constexpr std::size_t kIniBufferSize = 2048;
constexpr int kIniWriteAttempts = 11;
constexpr unsigned kIniRetryPauseMs = 100;

// The value as read into the buffer, without a lead byte whose second byte the
// buffer's end cut off.
std::string FitIniValue(std::string_view raw);

// Runs attempt until it returns normally, at most kIniWriteAttempts times, calling
// pause between attempts; the last attempt's error is passed on.
void RetryIniWrite(const std::function<void()>& attempt, const std::function<void()>& pause);

// "%s に書き込めません" with the file path.
std::string IniWriteErrorText(std::string_view path);

// The key's value, or "" when the file, section or key is missing. Never throws.
std::string ReadIniString(const std::string& path, const std::string& section,
                          const std::string& key);

// Creates the file and section when missing; throws ear::Error when every attempt fails.
void WriteIniString(const std::string& path, const std::string& section, const std::string& key,
                    const std::string& value);

// The same, with pause(kIniRetryPauseMs) called between attempts instead of sleeping.
void WriteIniString(const std::string& path, const std::string& section, const std::string& key,
                    const std::string& value, const std::function<void(unsigned)>& pause);

}  // namespace ear
