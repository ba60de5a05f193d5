#include <gtest/gtest.h>

#include "screens/registration_rules.h"
#include "tests/sjis_samples.h"

namespace ear {
namespace {

TEST(IntegerSyntax, ReadsDecimalAndHexadecimalWithinInt32) {
  struct Case { std::string text; std::optional<std::int32_t> value; };
  const Case cases[] = {
      {"0", 0}, {"00012", 12}, {"12345", 12345}, {"-1234", -1234}, {"+7", 7}, {"-0", 0},
      {"   12", 12}, {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1},
      {"0000000000002147483647", 2147483647},
      {"2147483648", std::nullopt}, {"-2147483649", std::nullopt}, {"99999999999999999999", std::nullopt},
      {"$10", 16}, {"x1234", 0x1234}, {"X1a2B", 0x1A2B}, {"$1A2B", 0x1A2B}, {"0x1f", 31}, {"0XFF", 255},
      {"0x7FFFFFFF", 2147483647}, {"$FFFFFFFF", -1}, {"0x80000000", -2147483647 - 1},
      {"-$FFFFFFFF", 1}, {"-0x10", -16}, {"-$80000000", -2147483647 - 1}, {"$000000001", 1},
      {"0x100000000", std::nullopt}, {"$", std::nullopt}, {"0x", std::nullopt}, {"x", std::nullopt},
      {"-$", std::nullopt}, {"$-1", std::nullopt}, {"0x$1", std::nullopt}, {"$G", std::nullopt},
      {"", std::nullopt}, {" ", std::nullopt}, {"-", std::nullopt}, {"+", std::nullopt},
      {"+-1", std::nullopt}, {"--1", std::nullopt}, {"- 1", std::nullopt}, {"1 ", std::nullopt},
      {"12 34", std::nullopt}, {"\t1", std::nullopt}, {WSP "1", std::nullopt}, {"1.0", std::nullopt},
      {"1e3", std::nullopt}, {"ABCDE", std::nullopt}, {"0b1", std::nullopt}, {"h10", std::nullopt},
      {"\x82\x50\x82\x51", std::nullopt},  // full-width "１２"
      {std::string("1\0", 2), std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseInteger(c.text), c.value) << "[" << c.text << "]";
}

TEST(RegistrationChecks, VenueCode) {
  struct Case { std::string text; bool ok; const char* message; };
  const Case cases[] = {
      {"12345", true, ""}, {"00000", true, ""}, {"x1234", true, ""}, {"$1A2B", true, ""},
      {"   12", true, ""}, {"-1234", true, ""}, {"0x7FF", true, ""}, {"$FFFF", true, ""},
      {"", false, kMsgVenueCodeEmpty},
      {"1234", false, kMsgVenueCodeInvalid}, {"123456", false, kMsgVenueCodeInvalid},
      {"999999", false, kMsgVenueCodeInvalid}, {"ABCDE", false, kMsgVenueCodeInvalid},
      {"12 34", false, kMsgVenueCodeInvalid}, {"1234 ", false, kMsgVenueCodeInvalid},
      {"     ", false, kMsgVenueCodeInvalid}, {"+-123", false, kMsgVenueCodeInvalid},
      {"- 123", false, kMsgVenueCodeInvalid}, {"0x   ", false, kMsgVenueCodeInvalid},
      {"$    ", false, kMsgVenueCodeInvalid},
      {"\x82\x50\x82\x51\x82\x52\x82\x53\x82\x54", false, kMsgVenueCodeInvalid},  // １２３４５
      {"12\x82\x52", false, kMsgVenueCodeInvalid},  // 5 bytes, 3 characters
  };
  for (const auto& c : cases) {
    const CheckResult r = CheckVenueCode(c.text);
    EXPECT_EQ(r.ok, c.ok) << "[" << c.text << "]";
    EXPECT_EQ(r.message, c.message) << "[" << c.text << "]";
    EXPECT_EQ(r.focus, c.ok ? RegistrationEdit::None : RegistrationEdit::KaiCdEdt) << "[" << c.text << "]";
  }
}

TEST(RegistrationChecks, CandidateNumber) {
  struct Case { std::string text; bool ok; const char* message; };
  const Case cases[] = {
      {"0", true, ""}, {"00012", true, ""}, {"$10", true, ""}, {"678", true, ""},
      {"999999", true, ""}, {"-999998", true, ""}, {"2147483647", true, ""}, {"-2147483648", true, ""},
      {"000000000000000000000000000000042", true, ""}, {"0xFFFFFFFF", true, ""}, {"  -5", true, ""},
      {"", false, kMsgCandidateNumberEmpty},
      {"-999999", false, kMsgCandidateNumberInvalid},
      {"-$F423F", false, kMsgCandidateNumberInvalid},  // the marker reached through hexadecimal
      {"2147483648", false, kMsgCandidateNumberInvalid}, {"0x100000000", false, kMsgCandidateNumberInvalid},
      {"12a", false, kMsgCandidateNumberInvalid}, {" ", false, kMsgCandidateNumberInvalid},
      {"1 ", false, kMsgCandidateNumberInvalid}, {"$", false, kMsgCandidateNumberInvalid},
      {"0x", false, kMsgCandidateNumberInvalid}, {"+-1", false, kMsgCandidateNumberInvalid},
      {"\x82\x4F", false, kMsgCandidateNumberInvalid},  // full-width ０
  };
  for (const auto& c : cases) {
    const CheckResult r = CheckCandidateNumber(c.text);
    EXPECT_EQ(r.ok, c.ok) << "[" << c.text << "]";
    EXPECT_EQ(r.message, c.message) << "[" << c.text << "]";
    EXPECT_EQ(r.focus, c.ok ? RegistrationEdit::None : RegistrationEdit::JuBanEdt) << "[" << c.text << "]";
  }
}

TEST(RegistrationChecks, MessagesAreTheCodedBytes) {
  // "E11" + 氏名を入力して下さい。 in CP932, spelled out.
  EXPECT_EQ(std::string(kMsgNameEmpty),
            "E11\x8E\x81\x96\xBC\x82\xF0\x93\xFC\x97\xCD\x82\xB5\x82\xC4\x89\xBA\x82\xB3\x82\xA2\x81\x42");
  EXPECT_EQ(std::string(kMsgNameForbiddenChar).substr(0, 7), "E11\x8E\x81\x96\xBC");
}

PackageSettings WithExamKindName(std::string examKindName) {
  PackageSettings s;
  s.examKindName = std::move(examKindName);
  return s;
}

TEST(RegistrationChecks, NamesInTheirOrder) {
  // Parent 8 bytes, no prefix, 部種名称 "b": the longest path is 36 bytes + both names.
  const PackageSettings settings = WithExamKindName("b");
  const std::string a100(100, 'a');
  struct Case { std::string sei; std::string mei; RegistrationEdit focus; const char* message; };
  const Case cases[] = {
      {"\x8E\x52\x93\x63", "\x91\xBE\x98\x59", RegistrationEdit::None, ""},   // 山田 太郎
      {" ", WSP, RegistrationEdit::None, ""},                                   // blanks pass
      {SO HYO, TA UN, RegistrationEdit::None, ""},
      {"", "\x91\xBE\x98\x59", RegistrationEdit::SeiEdt, kMsgNameEmpty},
      {"\x8E\x52\x93\x63", "", RegistrationEdit::MeiEdt, kMsgNameEmpty},
      {"", "", RegistrationEdit::SeiEdt, kMsgNameEmpty},
      {"a|b", "", RegistrationEdit::MeiEdt, kMsgNameEmpty},                   // emptiness is tested first
      {"..\\x", "\x91\xBE\x98\x59", RegistrationEdit::SeiEdt, kMsgNameForbiddenChar},
      {"\x8E\x52/", "a:b", RegistrationEdit::SeiEdt, kMsgNameForbiddenChar},
      {"\x8E\x52\x93\x63", "\x91\xBE*", RegistrationEdit::MeiEdt, kMsgNameForbiddenChar},
      {"\x8E\x52\x93\x63", "\x91\xBE\x98\x59\r", RegistrationEdit::MeiEdt, kMsgNameForbiddenChar},
      {a100, std::string(123, 'b'), RegistrationEdit::None, ""},                // 259 bytes: fits
      {a100, std::string(124, 'b'), RegistrationEdit::MeiEdt, kMsgNameTooLong},  // 260 bytes
      {std::string(124, 'a'), a100, RegistrationEdit::SeiEdt, kMsgNameTooLong},
      {std::string(112, 'a'), std::string(112, 'b'), RegistrationEdit::SeiEdt, kMsgNameTooLong},  // tie
  };
  for (const auto& c : cases) {
    const CheckResult r = CheckNames(c.sei, c.mei, "C:\\exam\\", settings, 0);
    EXPECT_EQ(r.ok, c.focus == RegistrationEdit::None) << c.sei << "/" << c.mei;
    EXPECT_EQ(r.focus, c.focus) << c.sei << "/" << c.mei;
    EXPECT_EQ(r.message, c.message) << c.sei << "/" << c.mei;
  }
}

TEST(RegistrationChecks, LengthLimitTakesTheExamProgramPathWhenItIsLonger) {
  // 部種名称 of 30 bytes: the exam program path (folder + 38) outgrows the settings path.
  const PackageSettings settings = WithExamKindName("012345678901234567890123456789");
  EXPECT_TRUE(CheckNames(std::string(100, 'a'), std::string(103, 'b'), "C:\\exam\\", settings, 0).ok);  // 18+203+38 = 259
  EXPECT_EQ(CheckNames(std::string(100, 'a'), std::string(104, 'b'), "C:\\exam\\", settings, 0).message,
            kMsgNameTooLong);
  // A path inside the package of 40 bytes (the exam program's is 37): three bytes fewer for the names.
  EXPECT_TRUE(CheckNames(std::string(100, 'a'), std::string(100, 'b'), "C:\\exam\\", settings, 40).ok);
  EXPECT_EQ(CheckNames(std::string(100, 'a'), std::string(101, 'b'), "C:\\exam\\", settings, 40).message,
            kMsgNameTooLong);
}

}  // namespace
}  // namespace ear
