#include "base/sjis.h"

namespace ear {

std::size_t CharLength(std::string_view text, std::size_t pos) {
  if (IsLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size()) return 2;
  return 1;
}

bool IsAllSingleByte(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (CharLength(text, i) != 1) return false;
  }
  return true;
}

std::string_view CutAtCharBoundary(std::string_view text, std::size_t maxBytes) {
  std::size_t end = 0;
  while (end < text.size()) {
    const std::size_t next = end + CharLength(text, end);
    if (next > maxBytes) break;
    end = next;
  }
  return text.substr(0, end);
}

std::size_t LastSeparator(std::string_view path) {
  std::size_t found = std::string_view::npos;
  for (std::size_t i = 0; i < path.size(); i += CharLength(path, i)) {
    if (path[i] == '\\') found = i;
  }
  return found;
}

std::string FileExtension(std::string_view path) {
  std::size_t dot = std::string_view::npos;
  for (std::size_t i = 0; i < path.size(); i += CharLength(path, i)) {
    const char c = path[i];
    if (c == '\\' || c == '/') dot = std::string_view::npos;
    else if (c == '.') dot = i;
  }
  if (dot == std::string_view::npos) return {};
  std::string ext(path.substr(dot));
  // Code page 932 lower-cases single-byte A-Z only; second bytes stay as they are.
  for (std::size_t i = 0; i < ext.size(); i += CharLength(ext, i)) {
    if (ext[i] >= 'A' && ext[i] <= 'Z') ext[i] = static_cast<char>(ext[i] - 'A' + 'a');
  }
  return ext;
}

}  // namespace ear
