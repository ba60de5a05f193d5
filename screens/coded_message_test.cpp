#include <gtest/gtest.h>

#include "screens/coded_message.h"

namespace ear {
namespace {

TEST(CodedMessage, CodeChoosesTitleIconButtonsAndDefault) {
  struct Case { std::string code; std::string title; unsigned style; };
  const Case cases[] = {
      {"E11", "\x83\x47\x83\x89\x81\x5B", 0x10010},             // エラー, stop icon, OK
      {"I11", "\x8F\xEE\x95\xF1", 0x10040},                      // 情報
      {"Q22", "\x8A\x6D\x94\x46", 0x10000 + 0x20 + 4 + 0x100},   // 確認, Yes/No, No default
      {"W33", "\x8C\x78\x8D\x90", 0x10000 + 0x30 + 3 + 0x200},   // 警告, Yes/No/Cancel, Cancel default
      {"e11", "", 0x10000},                                      // lower case: no title, no icon
      {"X31", "", 0x10003},
      {"E19", "\x83\x47\x83\x89\x81\x5B", 0x10010},              // other default digit: first button
  };
  for (const auto& c : cases) {
    const CodedBox box = DecodeCodedMessage(c.code + "text", "");
    EXPECT_TRUE(box.valid) << c.code;
    EXPECT_EQ(box.title, c.title) << c.code;
    EXPECT_EQ(box.style, c.style) << c.code;
    EXPECT_EQ(box.text, "text") << c.code;
  }
}

TEST(CodedMessage, InvalidButtonsOrEmptyTakeTheFallback) {
  for (const std::string message : {"", "E", "E0x", "E4", "Ea1", "\x83\x47"}) {
    EXPECT_FALSE(DecodeCodedMessage(message, "detail").valid) << message;
  }
}

TEST(CodedMessage, DetailFollowsABlankLine) {
  EXPECT_EQ(DecodeCodedMessage("E11abc", "why").text, "abc\r\n\r\nwhy");
  EXPECT_EQ(DecodeCodedMessage("E1", "").text, "");          // two characters: an empty box
  EXPECT_EQ(DecodeCodedMessage("E1", "d").text, "\n\r\nd");  // the CR took the code's third place
  const CodedBox shortCode = DecodeCodedMessage("E1", "");
  EXPECT_TRUE(shortCode.valid);
  EXPECT_EQ(shortCode.style, 0x10010u);
}

TEST(CodedMessage, LongTextIsCutToWholeCharactersWithinTwoHundredBytes) {
  const std::string message = "E11\x83\x6F\x83\x62\x83\x60";  // バッチ
  // 6 bytes of message + 4 of line breaks + detail: the cut falls at byte 200.
  const std::string oddDetail = std::string(189, 'x') + "\x83\x5C\x83\x5C";  // ...ソソ
  const CodedBox box = DecodeCodedMessage(message, oddDetail);
  // 6 + 4 + 189 = 199: the next character (2 bytes) would end at 201, so it goes whole.
  EXPECT_EQ(box.text, "\x83\x6F\x83\x62\x83\x60\r\n\r\n" + std::string(189, 'x'));

  const CodedBox ascii = DecodeCodedMessage("E11", std::string(300, 'y'));
  EXPECT_EQ(ascii.text, "\r\n\r\n" + std::string(196, 'y'));
}

}  // namespace
}  // namespace ear
