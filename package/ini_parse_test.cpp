#include <gtest/gtest.h>

#include "package/ini_parse.h"
#include "package/ini_parse_cases.h"

namespace ear {
namespace {

TEST(IniParse, ReadsWhatTheProfileReaderReads) {
  for (const auto& c : ini_cases::kCases) {
    EXPECT_EQ(ReadIniText(c.text, c.section, c.key), c.expected) << c.what;
  }
}

TEST(IniParse, MissingAndEmptyDifferOnlyBeforeTheDefault) {
  EXPECT_EQ(FindIniValue("[s]\r\nk=\r\n", "s", "k"), std::optional<std::string>(""));
  EXPECT_EQ(FindIniValue("[s]\r\n", "s", "k"), std::nullopt);
  EXPECT_EQ(FindIniValue("[s]\r\nk=a\0b\r\n", "s", "k"), std::optional<std::string>("a"));
  EXPECT_EQ(FindIniValue(std::string_view("[s]\r\nk=a\0b\r\n", 11), "s", "k"), std::optional<std::string>("a"));
  EXPECT_EQ(FindIniValue("[s]\r\nk=" + std::string(3000, 'x'), "s", "k")->size(), 3000u);
}

TEST(IniParse, LineNumbers) {
  const std::string text = "[s]\r\n\r\nk=1\nj=2\rm=3";
  EXPECT_EQ(FindIniLine(text, "s", "k"), 3);
  EXPECT_EQ(FindIniLine(text, "s", "j"), 4);
  EXPECT_EQ(FindIniLine(text, "s", "m"), 5);
  EXPECT_EQ(FindIniLine(text, "s", "x"), 0);
}

TEST(IniParse, InvalidShiftJisLines) {
  struct Case { std::string text; std::vector<int> lines; };
  const Case cases[] = {
      {"[s]\r\nk=" HYO SO "\xb1\r\n", {}},            // two-byte and half-width kana
      {"a\r\nb\x80\r\nc\r\n\xa0", {2, 4}},
      {"k=\x95\r\n", {1}},                              // lead byte before the line end
      {"k=\x95\x3f\r\nok\r\nx\xfd", {1, 3}},           // bad second byte; 0xFD
      {"k=\xe3\x81\x82\r\n", {1}},                      // UTF-8 あ
      {"\x95", {1}},
  };
  for (const auto& c : cases) EXPECT_EQ(InvalidShiftJisLines(c.text), c.lines) << c.text;
}

TEST(IniParse, LinesEndingInALeadByte) {
  struct Case { std::string text; std::vector<int> lines; };
  const Case cases[] = {
      {"a\x95\r\nb\x95\nc\x95\rd\x95", {1, 2, 3}},  // the last one ends the file, no line follows
      {"a" HYO "\r\n\x95?\r\n" SO "\n", {}},         // 0x5C second bytes; an invalid one inside the line
      {"\x95\x95\n", {}},                              // a lead byte as the second byte
      {"\x95\x95\x95\n", {1}},
  };
  for (const auto& c : cases) EXPECT_EQ(LeadByteAtLineEndLines(c.text), c.lines) << c.text;
}

}  // namespace
}  // namespace ear
