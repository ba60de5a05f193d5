#include "forms/dialogs.h"

namespace forms {

int ShowInformation(HWND owner, const std::string& text) {
  return MessageBoxA(owner, text.c_str(), "情報", MB_OK | MB_ICONINFORMATION);
}

}  // namespace forms
