#include <windows.h>

#include "base/error.h"
#include "base/system_error.h"
#include "imaging/file_reader.h"

namespace ear {
namespace {

// The reason stands inside a sentence: blanks and dots at its end go too, as Delphi's
// SysErrorMessage leaves them off.
std::string Reason(DWORD code) {
  std::string message = SystemMessage(code);
  while (!message.empty() && (static_cast<unsigned char>(message.back()) <= 32 || message.back() == '.'))
    message.pop_back();
  return message;
}

std::string FullPathName(const std::string& fileName) {
  char buffer[MAX_PATH * 2];
  const DWORD length = GetFullPathNameA(fileName.c_str(), sizeof buffer, buffer, nullptr);
  return length > 0 && length < sizeof buffer ? std::string(buffer, length) : fileName;
}

HANDLE AsHandle(std::intptr_t h) { return reinterpret_cast<HANDLE>(h); }

}  // namespace

// Share mode 0: nobody may write the picture while its header is read.
FileReader::FileReader(const std::string& fileName)
    : fileName_(fileName),
      handle_(reinterpret_cast<std::intptr_t>(CreateFileA(fileName.c_str(), GENERIC_READ, 0, nullptr,
                                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))) {
  if (AsHandle(handle_) == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    throw Error(FileOpenErrorText(FullPathName(fileName), Reason(code)));
  }
  // A console or pipe named like a picture would block ReadFile: it reads as empty.
  readable_ = GetFileType(AsHandle(handle_)) == FILE_TYPE_DISK;
}

FileReader::~FileReader() { CloseHandle(AsHandle(handle_)); }

// A synchronous handle reads at the OVERLAPPED offset: one call, no seek.
std::size_t FileReader::ReadAt(std::int64_t position, void* buffer, std::size_t count) {
  if (!readable_ || position < 0) return 0;
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(position);
  at.OffsetHigh = static_cast<DWORD>(static_cast<std::uint64_t>(position) >> 32);
  DWORD got = 0;
  if (!ReadFile(AsHandle(handle_), buffer, static_cast<DWORD>(count), &got, &at)) return 0;
  return got;
}

}  // namespace ear
