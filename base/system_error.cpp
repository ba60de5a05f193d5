#include "base/system_error.h"

namespace ear {

std::string TrimMessageEnd(std::string_view message) {
  while (!message.empty() && (message.back() == '\r' || message.back() == '\n')) {
    message.remove_suffix(1);
  }
  return std::string(message);
}

std::string SystemErrorText(unsigned long code, std::string_view systemMessage) {
  if (code == 0) return "OS 機能呼び出しの失敗";
  // Codes are shown as the signed 32-bit value, as HRESULT-like codes would be.
  return "システムエラー。コード：" + std::to_string(static_cast<int>(code)) + ".\r\n" +
         std::string(systemMessage);
}

std::string FileCreateErrorText(std::string_view fileName, std::string_view reason) {
  return "ファイル \"" + std::string(fileName) + "\". " + std::string(reason) + " を作成できません";
}

}  // namespace ear
