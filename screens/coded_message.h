#pragma once
// The coded message: its first three characters choose the box's title, icon,
// buttons and default button; the rest is what the box shows.
#include <string>
#include <string_view>

namespace ear {

// What the code of a coded message asks for. `valid` is false when the buttons
// digit is missing or unknown: then no box is shown.
struct CodedBox {
  bool valid = false;
  std::string title;
  unsigned style = 0;  // the message box style, MB_SETFOREGROUND included
  std::string text;    // the shown text: at most 200 bytes, never half a character
};

constexpr std::size_t kCodedMessageMaxText = 200;

CodedBox DecodeCodedMessage(std::string_view codedMessage, std::string_view detail);

}  // namespace ear
