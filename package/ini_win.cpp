#include <windows.h>

#include <cstring>

#include "base/error.h"
#include "package/ini.h"

namespace ear {

namespace {

// Releasing the file: the system drops its cached copy, so the next access reads the disk.
void FlushIni(const std::string& path) {
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
}

}  // namespace

std::string ReadIniString(const std::string& path, const std::string& section,
                          const std::string& key) {
  char buffer[kIniBufferSize] = {};
  const DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer,
                                                sizeof buffer, path.c_str());
  FlushIni(path);
  // Wine counts a NUL in the length when it shortens a cut value by half a character.
  const std::size_t used = length < sizeof buffer ? length : sizeof buffer - 1;
  return FitIniValue({buffer, strnlen(buffer, used)});
}

void WriteIniString(const std::string& path, const std::string& section, const std::string& key,
                    const std::string& value) {
  WriteIniString(path, section, key, value, [](unsigned ms) { Sleep(ms); });
}

void WriteIniString(const std::string& path, const std::string& section, const std::string& key,
                    const std::string& value, const std::function<void(unsigned)>& pause) {
  RetryIniWrite(
      [&] {
        const BOOL written =
            WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str());
        FlushIni(path);
        if (!written) throw Error(IniWriteErrorText(path));
      },
      [&] { pause(kIniRetryPauseMs); });
}

}  // namespace ear
