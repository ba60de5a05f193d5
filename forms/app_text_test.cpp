#include <gtest/gtest.h>

#include "forms/app_text.h"

namespace forms {
namespace {

TEST(ApplicationText, TitleFromExePath) {
  struct Case { std::string path; std::string expected; };
  const Case cases[] = {
      {"C:\\exam\\ExamAutoRunner.exe", "Examautorunner"},
      {"C:\\exam\\EXAM.AUTO.EXE", "Exam"},
      {"ExamAutoRunner", "Examautorunner"},
      {"C:\\\x83\x5C\\ABC.exe", "Abc"},               // a folder named "ソ" (second byte 0x5C)
      {"C:\\x\\\x83\x65\x83\x58\x83\x67" "A.exe", "\x83\x65\x83\x58\x83\x67" "a"},  // two-byte characters kept
  };
  for (const auto& c : cases) EXPECT_EQ(ApplicationTitle(c.path), c.expected) << c.path;
}

TEST(ApplicationText, ErrorTextGetsAFullStopAfterBytesAboveTheDot) {
  struct Case { std::string message; std::string expected; };
  const Case cases[] = {
      {"abc", "abc."},
      {"abc.", "abc."},
      {"abc!", "abc!"},   // '!' sorts before '.'
      {"\x81\x42", "\x81\x42."},  // ends in the ideographic full stop
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ErrorBoxText(c.message), c.expected) << c.message;
}

}  // namespace
}  // namespace forms
