#include "screens/coded_message.h"

#include "base/sjis.h"

namespace ear {

namespace {
constexpr unsigned kSetForeground = 0x10000;

char At(std::string_view text, std::size_t i) { return i < text.size() ? text[i] : '\0'; }
}  // namespace

CodedBox DecodeCodedMessage(std::string_view codedMessage, std::string_view detail) {
  CodedBox box;
  if (codedMessage.empty()) return box;
  unsigned icon = 0, buttons = 0, defaultButton = 0;
  switch (At(codedMessage, 0)) {
    case 'E': box.title = "エラー"; icon = 0x10; break;
    case 'I': box.title = "情報"; icon = 0x40; break;
    case 'Q': box.title = "確認"; icon = 0x20; break;
    case 'W': box.title = "警告"; icon = 0x30; break;
    default: break;
  }
  switch (At(codedMessage, 1)) {
    case '1': buttons = 0; break;
    case '2': buttons = 4; break;
    case '3': buttons = 3; break;
    default: return CodedBox{};
  }
  switch (At(codedMessage, 2)) {
    case '2': defaultButton = 0x100; break;
    case '3': defaultButton = 0x200; break;
    default: break;
  }
  box.valid = true;
  box.style = buttons + icon + defaultButton + kSetForeground;
  std::string full(codedMessage);
  if (!detail.empty()) {
    full += "\r\n\r\n";
    full += detail;
  }
  const std::string_view shown = full.size() > 3 ? std::string_view(full).substr(3) : std::string_view();
  // The cut keeps whole characters: a box must never end in half a Shift-JIS character.
  box.text = std::string(CutAtCharBoundary(shown, kCodedMessageMaxText));
  return box;
}

}  // namespace ear
