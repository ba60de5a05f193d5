#pragma once
// Questions about the file system that the screens and the OK action share (Windows only).
#include <string>

namespace ear {

// True when the path (CP932 bytes) names an existing file; a folder is no file.
bool FileExists(const std::string& path);

}  // namespace ear
