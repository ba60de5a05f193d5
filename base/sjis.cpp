#include "base/sjis.h"

namespace ear {

std::size_t CharLength(std::string_view text, std::size_t pos) {
  if (IsLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size()) return 2;
  return 1;
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

}  // namespace ear
