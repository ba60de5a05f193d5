#include <gtest/gtest.h>

#include "base/command_line.h"
#include "base/rounding.h"
#include "base/sjis.h"

namespace ear {
namespace {

TEST(Sjis, CutNeverSplitsATwoByteCharacter) {
  struct Case { std::string text; std::size_t max; std::string expected; };
  const Case cases[] = {
      {"abc", 2, "ab"},
      {"a\x83\x5C", 2, "a"},          // "aソ": the cut would fall inside ソ
      {"a\x83\x5C", 3, "a\x83\x5C"},
      {"\x83\x5C\x83\x5C", 3, "\x83\x5C"},
      {"", 5, ""},
      {"ab\x83", 3, "ab\x83"},        // a dangling lead byte counts as one byte
  };
  for (const auto& c : cases) EXPECT_EQ(CutAtCharBoundary(c.text, c.max), c.expected) << c.text;
}

TEST(Sjis, SingleByteFollowsShiftJisLeadBytes) {
  struct Case { std::string text; bool single; };
  const Case cases[] = {
      {"", true}, {"12345", true}, {"\xB1\xB2\xB3", true} /* half-width katakana */,
      {"\x80\xA0\xFD\xFE\xFF", true}, {"\x82\x50", false}, {"1\x83\x5C", false}, {"\xE0\x40", false},
      {"\xFC\x40", false}, {"123\x81", true} /* a dangling lead byte converts to one code unit */,
  };
  for (const auto& c : cases) EXPECT_EQ(IsAllSingleByte(c.text), c.single) << c.text;
}

TEST(Sjis, LastSeparatorSkipsSecondBytes) {
  EXPECT_EQ(LastSeparator("C:\\a\\b"), 4u);
  EXPECT_EQ(LastSeparator("C:\\\x83\x5C"), 2u);  // "C:\ソ": 0x5C of ソ is no separator
  EXPECT_EQ(LastSeparator("\x95\x5C"), std::string_view::npos);
  EXPECT_EQ(LastSeparator("C:\\\x95\x5C\\"), 5u);
}

TEST(Sjis, FileExtensionOfTheLastComponent) {
  struct Case { std::string path; std::string expected; };
  const Case cases[] = {
      {"a.bmp", ".bmp"},
      {"C:\\dir\\PHOTO.JPEG", ".jpeg"},
      {"x.tiff.bak", ".bak"},
      {"noext", ""},
      {"dot.", "."},
      {".bmp", ".bmp"},
      {"dir.bmp\\noext", ""},
      {"dir.bmp/noext", ""},
      {"a.b.c.PNG", ".png"},
      {"C:\\\x83\x5C.jpg", ".jpg"},                    // "C:\ソ.jpg"
      {"\x83\x5C.jpg", ".jpg"},                          // "ソ.jpg"
      {"pic.jpg\\noext", ""},                           // a real folder separator ends the name
      {"pic.jpg\x83\x5Cnoext", ".jpg\x83\x5Cnoext"},   // "pic.jpgソnoext": the 0x5C of ソ is no separator
      {"x.\x83\x41", ".\x83\x41"},                     // ア: its second byte 'A' stays
      {"x.\x83\x41JPG", ".\x83\x41jpg"},
      {"x.\xB1" "BMP", ".\xB1" "bmp"},                  // half-width ｱ is one byte
      {"x.bmp\x83", ".bmp\x83"},                       // a dangling lead byte
  };
  for (const auto& c : cases) EXPECT_EQ(FileExtension(c.path), c.expected) << c.path;
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
  struct Case { double v; std::int64_t expected; };
  const Case cases[] = {{238.5, 238}, {239.5, 240}, {-110.0, -110}, {-0.5, 0},
                        {-1.5, -2}, {2.4999, 2}, {2.5001, 3}, {-2.5, -2}};
  for (const auto& c : cases) EXPECT_EQ(RoundHalfEven(c.v), c.expected) << c.v;
}

TEST(CommandLine, DebugOnlyExactlyAndAnywhere) {
  struct Case { std::vector<std::string> args; bool expected; };
  const Case cases[] = {
      {{}, false},
      {{"-debug"}, true},
      {{"x", "y", "-debug"}, true},
      {{"-Debug"}, false},
      {{"/debug"}, false},
      {{"--debug"}, false},
      {{"-debug "}, false},
      {{"debug"}, false},
  };
  for (const auto& c : cases) EXPECT_EQ(HasDebugFlag(c.args), c.expected);
}

}  // namespace
}  // namespace ear
