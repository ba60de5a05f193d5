// The UTF-16 conversion under Wine, on a machine whose ANSI code page is 932 and, in a run
// of its own (EAR_EXPECT_FOREIGN_ACP set), on one whose page is not: the program's own text
// widens and narrows as Shift-JIS whatever the page; file-system text follows the page.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

#include "base/text_win.h"

namespace ear {
namespace {

bool ForeignCodePage() { return std::getenv("EAR_EXPECT_FOREIGN_ACP") != nullptr; }

TEST(Text, RunsUnderTheExpectedCodePage) {
  if (ForeignCodePage()) {
    EXPECT_NE(GetACP(), 932u);
  } else {
    EXPECT_EQ(GetACP(), 932u);
  }
}

TEST(Text, ProgramTextIsShiftJisWhateverTheCodePage) {
  struct Case { std::string sjis; std::wstring wide; };
  const Case cases[] = {
      {"試験名表示位置", L"試験名表示位置"},
      {"\x83\x5C" "\x95\x5C", L"ソ表"},  // second bytes that are a backslash in ASCII
      {"\xB6\xC5", L"ｶﾅ"},                // half-width katakana: one byte each
      {"C:\\##TMP##\\", L"C:\\##TMP##\\"},
      {"", L""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Widen(c.sjis), c.wide) << c.sjis;
    EXPECT_EQ(Narrow(c.wide), c.sjis) << c.sjis;
  }
}

TEST(Text, FileSystemTextFollowsTheAnsiCodePage) {
  EXPECT_EQ(Widen("abc", kFileSystemCodePage), L"abc");
  EXPECT_EQ(Narrow(L"abc", kFileSystemCodePage), "abc");
  if (ForeignCodePage()) {
    EXPECT_NE(Widen("\x83\x5C", kFileSystemCodePage), L"ソ");
  } else {
    EXPECT_EQ(Widen("\x83\x5C", kFileSystemCodePage), L"ソ");
    EXPECT_EQ(Narrow(L"ソ", kFileSystemCodePage), "\x83\x5C");
  }
}

}  // namespace
}  // namespace ear
