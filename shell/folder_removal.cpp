#include "shell/folder_removal.h"

#include "base/system_error.h"

namespace ear {

std::string RemovalFailureText(unsigned long firstCode, std::string_view systemMessage, std::size_t remaining) {
  std::string text = SystemErrorText(firstCode, systemMessage);
  // A code the system has no message for already ends its text with a line break.
  if (!text.ends_with("\r\n")) text += "\r\n";
  return text + "削除できなかった項目：" + std::to_string(remaining) + " 件";
}

}  // namespace ear
