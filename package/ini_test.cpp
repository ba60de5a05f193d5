#include <gtest/gtest.h>

#include "base/error.h"
#include "package/ini.h"

namespace ear {
namespace {

TEST(IniValue, ACutValueNeverEndsInHalfACharacter) {
  const std::string a2045(2045, 'a');
  std::string hyo1023;  // 表 x 1023 = 2046 bytes
  for (int i = 0; i < 1023; ++i) hyo1023 += "\x95\x5c";
  struct Case { std::string raw; std::string expected; };
  const Case cases[] = {
      {"", ""},
      {"abc", "abc"},
      {"ab\x95", "ab\x95"},  // short: the file holds it so, nothing was cut
      {std::string(2047, 'a'), std::string(2047, 'a')},
      {std::string(3000, 'a'), std::string(2047, 'a')},
      {a2045 + "a\x95", a2045 + "a"},              // the buffer's end cut 表 in half
      {a2045 + "\x95\x5c", a2045 + "\x95\x5c"},    // ends on a whole 表
      {a2045 + "\x95\x95", a2045 + "\x95\x95"},    // last byte looks like a lead byte but is a second byte
      {hyo1023 + "\x95", hyo1023},
      {"a" + hyo1023, "a" + hyo1023},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FitIniValue(c.raw), c.expected) << "raw size " << c.raw.size();
  }
}

TEST(IniValue, WriteIsTriedElevenTimesWithPausesBetween) {
  struct Case { int failures; int attempts; int pauses; bool throws; };
  const Case cases[] = {
      {0, 1, 0, false}, {1, 2, 1, false}, {10, 11, 10, false}, {11, 11, 10, true}, {50, 11, 10, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.failures);
    int attempts = 0;
    int pauses = 0;
    auto attempt = [&] {
      ++attempts;
      if (attempts <= c.failures) throw Error("attempt " + std::to_string(attempts));
    };
    auto pause = [&] { ++pauses; };
    if (c.throws) {
      try {
        RetryIniWrite(attempt, pause);
        ADD_FAILURE() << "no error";
      } catch (const Error& e) {
        EXPECT_EQ(e.Message(), "attempt 11");  // the last attempt's error
      }
    } else {
      EXPECT_NO_THROW(RetryIniWrite(attempt, pause));
    }
    EXPECT_EQ(attempts, c.attempts);
    EXPECT_EQ(pauses, c.pauses);
  }
}

TEST(IniValue, WriteErrorTextNamesThePath) {
  EXPECT_EQ(IniWriteErrorText("C:\\\x83\x5c\\shiken.ini"),
            "C:\\\x83\x5c\\shiken.ini \x82\xc9\x8f\x91\x82\xab\x8d\x9e\x82\xdf\x82\xdc\x82\xb9\x82\xf1");
}

}  // namespace
}  // namespace ear
