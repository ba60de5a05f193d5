#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <set>
#include <vector>

#include "screens/candidate_folder.h"
#include "screens/title_rules.h"
#include "tests/sjis_samples.h"

namespace ear {
namespace {

TEST(CandidateFolder, NameInBothModesAndPrefixChoice) {
  struct Case { std::string abb, fileName, devCode, kaiCd, juBan, sei, mei, expected; };
  const Case cases[] = {
      {"", "ABC", "EAR01", "12345", "678", YAMADA, TARO, "C:\\exams\\ABC" YAMADA "_" TARO LBR "aB3x9" RBR},
      {"EAR", "ABC", "EAR01", "12345", "678", YAMADA, TARO, "C:\\exams\\ABC12345_678" LBR "aB3x9" RBR},
      {"EAR", "", "EAR01", "12345", "678", "", "", "C:\\exams\\EAR0112345_678" LBR "aB3x9" RBR},
      {"", "", "", "", "", YAMADA, TARO, "C:\\exams\\" YAMADA "_" TARO LBR "aB3x9" RBR},
      {" ", "", "EAR01", " 12", "-5", "x", "y", "C:\\exams\\EAR01 12_-5" LBR "aB3x9" RBR},  // values as typed
  };
  for (const auto& c : cases) {
    const CandidateValues v = ValuesForMode(ModeFromAbb(c.abb), c.kaiCd, c.juBan, c.sei, c.mei);
    EXPECT_EQ(CandidateFolderName("C:\\exams\\", FileNameOrDevCode(c.fileName, c.devCode), v.first, v.second,
                                  "aB3x9"),
              c.expected);
  }
}

TEST(CandidateFolder, ShiftJisSecondBytesAreKeptWhole) {
  // ソ 表 タ 運: second bytes 0x5C ('\') and 0x5E ('^') pass through untouched.
  const std::string folder = CandidateFolderName("D:\\" SO "\\", TA, SO HYO, TA UN, "Zz901");
  EXPECT_EQ(folder, std::string("D:\\\x83\x5c\\\x83\x5e\x83\x5c\x95\x5c_\x83\x5e\x89\x5e\x81\x6dZz901\x81\x6e"));
  EXPECT_EQ(CandidateExamProgramPath(folder, HYO "\x8E\x8E"),
            folder + "\\[1]\x95\x5c\x8E\x8E.exe");
}

TEST(CandidateFolder, ExamProgramPath) {
  EXPECT_EQ(CandidateExamProgramPath("C:\\p\\ABC" YAMADA "_" TARO LBR "k1k2k" RBR, "\x96\xCD\x8B\x5B"),
            "C:\\p\\ABC" YAMADA "_" TARO LBR "k1k2k" RBR "\\[1]\x96\xCD\x8B\x5B.exe");
  EXPECT_EQ(CandidateExamProgramPath("C:\\p\\x", ""), "C:\\p\\x\\[1].exe");
}

TEST(CandidateFolder, CollisionsDrawFreshKeysUntilTheNameIsFree) {
  std::deque<std::string> keys{"aaaaa", "bbbbb", "ccccc", "ddddd"};
  const std::set<std::string> directories{"C:\\e\\P1_2" LBR "aaaaa" RBR, "C:\\e\\P1_2" LBR "bbbbb" RBR};
  std::vector<std::string> asked;
  const CandidateFolder chosen = ChooseCandidateFolder(
      "C:\\e\\", "P", {"1", "2"},
      [&] {
        std::string k = keys.front();
        keys.pop_front();
        return k;
      },
      [&](const std::string& path) {
        asked.push_back(path);
        return directories.count(path) > 0;
      });
  EXPECT_EQ(chosen.key, "ccccc");
  EXPECT_EQ(chosen.path, "C:\\e\\P1_2" LBR "ccccc" RBR);
  EXPECT_EQ(asked, (std::vector<std::string>{"C:\\e\\P1_2" LBR "aaaaa" RBR, "C:\\e\\P1_2" LBR "bbbbb" RBR,
                                             "C:\\e\\P1_2" LBR "ccccc" RBR}));
  EXPECT_EQ(keys.size(), 1u);  // one key per try, none drawn after the free name
}

TEST(CandidateFolder, OnlyADirectoryCountsAsTaken) {
  struct Case { std::uint32_t attributes; bool directory; };
  const Case cases[] = {{0xFFFFFFFFu, false} /* nothing there */, {0x20, false} /* an archive file */,
                        {0x80, false}, {0x01, false}, {0x10, true}, {0x12, true}, {0x30, true}};
  for (const auto& c : cases) EXPECT_EQ(IsExistingDirectory(c.attributes), c.directory) << c.attributes;
}

TEST(RandomKey, DrawsEveryAlphabetCharacterAndNothingElse) {
  RandomKeyMaker maker(20261210);
  const std::string alphabet = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ1234567890";
  std::map<char, int> counts;
  for (int i = 0; i < 2480; ++i) {  // 12400 characters, 200 expected per character
    const std::string key = maker.MakeRandomKey(5);
    ASSERT_EQ(key.size(), 5u);
    for (char ch : key) ++counts[ch];
  }
  ASSERT_EQ(counts.size(), 62u);
  for (const auto& [ch, n] : counts) {
    EXPECT_NE(alphabet.find(ch), std::string::npos) << ch;
    EXPECT_GT(n, 130) << ch;  // far outside chance for a uniform draw (about 5 standard deviations)
    EXPECT_LT(n, 270) << ch;
  }
}

TEST(RandomKey, SuccessiveKeysDiffer) {
  // One seed per run: keys drawn within the same millisecond must not repeat.
  RandomKeyMaker maker(1);
  std::set<std::string> seen;
  for (int i = 0; i < 1000; ++i) seen.insert(maker.MakeRandomKey(5));
  EXPECT_EQ(seen.size(), 1000u);
  EXPECT_NE(RandomKeyMaker(1).MakeRandomKey(8), RandomKeyMaker(2).MakeRandomKey(8));
  EXPECT_EQ(RandomKeyMaker(7).MakeRandomKey(0), "");

  const std::string a = MakeRandomKey(5);
  const std::string b = MakeRandomKey(5);
  EXPECT_EQ(a.size(), 5u);
  EXPECT_NE(a, b);  // equal by chance once in 62^5
  EXPECT_EQ(a.find_first_not_of(kRandomKeyAlphabet), std::string::npos);
}

TEST(CandidateFolder, ModeFromAbb) {
  EXPECT_EQ(ModeFromAbb(""), RegistrationMode::Name);
  EXPECT_EQ(ModeFromAbb("EAR"), RegistrationMode::Venue);
  EXPECT_EQ(ModeFromAbb(" "), RegistrationMode::Venue);
}

}  // namespace
}  // namespace ear
