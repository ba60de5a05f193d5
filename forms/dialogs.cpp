#include "forms/dialogs.h"

#include "base/text_win.h"

namespace forms {

int ShowInformation(HWND owner, const std::string& text) {
  return MessageBoxW(owner, ear::Widen(text).c_str(), ear::Widen("情報").c_str(), MB_OK | MB_ICONINFORMATION);
}

}  // namespace forms
