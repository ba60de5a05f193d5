#include <gtest/gtest.h>

#include "base/system_error.h"

namespace ear {
namespace {

TEST(SystemError, TextCarriesCodeAndMessageOrTheFixedTextForZero) {
  struct Case { unsigned long code; std::string message; std::string expected; };
  const std::string prefix =  // "システムエラー。コード："
      "\x83\x56\x83\x58\x83\x65\x83\x80\x83\x47\x83\x89\x81\x5b\x81\x42\x83\x52\x81\x5b\x83\x68\x81\x46";
  const std::string unknown =  // "OS 機能呼び出しの失敗": 能 ends in 0x5C
      "OS \x8b\x40\x94\x5c\x8c\xc4\x82\xd1\x8f\x6f\x82\xb5\x82\xcc\x8e\xb8\x94\x73";
  const Case cases[] = {
      {5, "Access denied.", prefix + "5.\r\nAccess denied."},
      {2, "", prefix + "2.\r\n"},
      {145, "\x95\x5c", prefix + "145.\r\n\x95\x5c"},
      {0x80004005UL, "x", prefix + "-2147467259.\r\nx"},
      {0, "ignored", unknown},
  };
  for (const auto& c : cases) EXPECT_EQ(SystemErrorText(c.code, c.message), c.expected) << c.code;
}

TEST(SystemError, MessageEndLosesOnlyItsLineBreaks) {
  struct Case { std::string message; std::string expected; };
  const Case cases[] = {
      {"Access denied.\r\n", "Access denied."},
      {"two\r\nlines\r\n\r\n", "two\r\nlines"},
      {"no break. ", "no break. "},
      {"\x95\x5c\r\n", "\x95\x5c"},
      {"\r\n", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(TrimMessageEnd(c.message), c.expected) << c.message;
}

TEST(SystemError, FileCreateTextQuotesTheFullName) {
  // ファイル "<name>". <reason> を作成できません
  EXPECT_EQ(FileCreateErrorText("C:\\\x83\x5c\\ExamAutoRunner.BAT", "Access denied."),
            "\x83\x74\x83\x40\x83\x43\x83\x8b \"C:\\\x83\x5c\\ExamAutoRunner.BAT\". Access denied. "
            "\x82\xf0\x8d\xec\x90\xac\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1");
}

}  // namespace
}  // namespace ear
