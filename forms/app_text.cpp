#include "forms/app_text.h"

#include "base/sjis.h"

namespace forms {

std::string ApplicationTitle(std::string_view exePath) {
  const std::size_t sep = ear::LastSeparator(exePath);
  std::string_view name = sep == std::string_view::npos ? exePath : exePath.substr(sep + 1);
  // The first "." that is a character of its own ends the title.
  for (std::size_t i = 0; i < name.size(); i += ear::CharLength(name, i)) {
    if (name[i] == '.') {
      name = name.substr(0, i);
      break;
    }
  }
  std::string title;
  bool first = true;
  for (std::size_t i = 0; i < name.size();) {
    const std::size_t len = ear::CharLength(name, i);
    if (len == 1 && !first && name[i] >= 'A' && name[i] <= 'Z') {
      title += static_cast<char>(name[i] - 'A' + 'a');
    } else {
      title.append(name.substr(i, len));
    }
    first = false;
    i += len;
  }
  return title;
}

std::string ErrorBoxText(std::string_view message) {
  std::string text(message);
  if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.')) text += '.';
  return text;
}

}  // namespace forms
