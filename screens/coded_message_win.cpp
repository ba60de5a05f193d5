#include "screens/coded_message_win.h"

#include <windows.h>

#include "base/text_win.h"
#include "forms/form.h"
#include "screens/coded_message.h"

namespace ear {

int ShowCodedMessage(forms::Form* OwnerForm, const std::string& CodedMessage, const std::string& Detail) {
  const CodedBox box = DecodeCodedMessage(CodedMessage, Detail);
  if (!box.valid) return 0;
  HWND owner = OwnerForm ? OwnerForm->Handle() : nullptr;
  return MessageBoxW(owner, Widen(box.text).c_str(), Widen(box.title).c_str(), box.style);
}

}  // namespace ear
