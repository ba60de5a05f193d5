#pragma once
// Questions about the file system that the screens and the OK action share, and reading a
// picture file whole (Windows only).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ear {

// True when the path (CP932 bytes) names an existing file; a folder is no file.
bool FileExists(const std::string& path);

// The whole file (path in CP932 bytes); none when it cannot be opened or is larger than
// maxBytes. Plain Win32 reading: a file stream would link the C++ stream and locale
// library, a large part of the executable, for this one read.
std::optional<std::vector<unsigned char>> ReadFileBytes(const std::string& path, std::uint64_t maxBytes);

}  // namespace ear
