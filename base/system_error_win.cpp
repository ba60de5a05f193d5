#include <windows.h>

#include "base/error.h"
#include "base/system_error.h"
#include "base/text_win.h"

namespace ear {

std::string SystemMessage(unsigned long code) {
  // Read wide and narrowed as CP932, like every other text the program shows.
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::string message = length != 0 ? TrimMessageEnd(Narrow({buffer, length})) : std::string();
  LocalFree(buffer);
  return message;
}

void ThrowSystemError(unsigned long code) {
  throw Error(SystemErrorText(code, SystemMessage(code)));
}

void ThrowLastError() { ThrowSystemError(GetLastError()); }

void ThrowFileCreateError(const std::string& fileName, unsigned long code) {
  throw Error(FileCreateErrorText(fileName, SystemMessage(code)));
}

}  // namespace ear
