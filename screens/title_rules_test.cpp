#include <gtest/gtest.h>

#include "screens/title_rules.h"
#include "tests/sjis_samples.h"

namespace ear {
namespace {

std::string Repeat(std::string_view unit, std::size_t n) {
  std::string s;
  for (std::size_t i = 0; i < n; ++i) s.append(unit);
  return s;
}

TEST(TitleRules, GradeSplitCountsCharactersNotBytes) {
  struct Case { std::string grade; std::string first; std::string rest; };
  const Case cases[] = {
      {"", "", ""},
      {"\x82\x52", "\x82\x52", ""},                   // "３" alone: the suffix label is empty
      {"\x82\x52\x8B\x89", "\x82\x52", "\x8B\x89"},   // "３級"
      {"3\x8B\x89", "3", "\x8B\x89"},                 // "3級"
      {"\x8F\x80\x82\x51\x8B\x89", "\x8F\x80", "\x82\x51\x8B\x89"},  // "準２級"
      {SO "1", SO, "1"},                              // ソ's 0x5C second byte stays with it
      {"\xB1\xB2", "\xB1", "\xB2"},                   // half-width katakana are single bytes
      {"A\x82", "A", "\x82"},                         // a dangling lead byte is one character
      {"\x82", "\x82", ""},
  };
  for (const auto& c : cases) {
    const GradeSplit s = SplitGradeName(c.grade);
    EXPECT_EQ(s.first, c.first) << c.grade;
    EXPECT_EQ(s.rest, c.rest) << c.grade;
  }
}

TEST(TitleRules, GradeRestKeepsAtMost999Characters) {
  const std::string kyu = "\x8B\x89";  // 級
  struct Case { std::string grade; std::string rest; };
  const Case cases[] = {
      {"A" + Repeat(kyu, 1200), Repeat(kyu, 999)},           // 1998 bytes, not 999
      {"A" + Repeat(kyu, 999), Repeat(kyu, 999)},
      {"A" + Repeat(kyu, 998) + "bc", Repeat(kyu, 998) + "b"},
      {kyu + Repeat("z", 1000), Repeat("z", 999)},
  };
  for (const auto& c : cases) {
    const GradeSplit s = SplitGradeName(c.grade);
    EXPECT_EQ(s.rest, c.rest) << c.grade.size();
    EXPECT_EQ(s.first + s.rest, c.grade.substr(0, s.first.size() + c.rest.size()));
  }
}

}  // namespace
}  // namespace ear
