#include "base/file_win.h"

#include <windows.h>

#include <algorithm>

#include "base/handle.h"

namespace ear {

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::optional<std::vector<unsigned char>> ReadFileBytes(const std::string& path, std::uint64_t maxBytes) {
  const FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!file || !GetFileSizeEx(file.Get(), &size) || static_cast<std::uint64_t>(size.QuadPart) > maxBytes) {
    return std::nullopt;
  }
  std::vector<unsigned char> data(static_cast<std::size_t>(size.QuadPart));
  std::size_t done = 0;
  DWORD got = 0;
  while (done < data.size() &&
         ReadFile(file.Get(), data.data() + done,
                  static_cast<DWORD>(std::min<std::size_t>(data.size() - done, 1u << 30)), &got, nullptr) &&
         got > 0) {
    done += got;
  }
  data.resize(done);
  return data;
}

}  // namespace ear
