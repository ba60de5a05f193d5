#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <set>
#include <vector>

#include "package/candidate_folder.h"
#include "package/package_settings.h"
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

TEST(CandidatePaths, ForbiddenFileNameCharacters) {
  struct Case { std::string text; std::size_t at; };
  const std::size_t none = std::string::npos;
  const Case cases[] = {
      {"\\", 0}, {"/", 0}, {":", 0}, {"*", 0}, {"?", 0}, {"\"", 0}, {"<", 0}, {">", 0}, {"|", 0},
      {"\x01", 0}, {"\x1F", 0}, {"\t", 0}, {"a\nb", 1}, {"\x1b[2J", 0}, {std::string("a\0b", 3), 1},
      {"\x83\x5C\\", 2} /* ソ then a separator */, {"..\\..\\x", 2}, {"a\"b", 1},
      {"", none}, {YAMADA, none}, {SO HYO TA UN, none}, {"\x81\x7C" /* －: 0x7C second byte */, none},
      {" ", none}, {WSP, none}, {"a.b", none}, {"..", none}, {"a_b", none}, {"%^&;,=()!", none},
      {"\x7F", none}, {"\xB1", none}, {"\x95\x5C\x8E\xA6" /* 表示 */, none},
  };
  for (const auto& c : cases) EXPECT_EQ(FindForbiddenFileNameChar(c.text), c.at) << c.text;
}

PackageSettings Settings(std::string prefix, std::string examKindName) {
  PackageSettings s;
  s.fileName = std::move(prefix);
  s.examKindName = std::move(examKindName);
  return s;
}

TEST(CandidatePaths, LongestPathIsTheExamProgramShikenIniOrAnyPathInThePackage) {
  // C:\exam\ABC山田_太郎［kkkkk］ is 29 bytes; inside: the package's longest relative path.
  struct Case { std::string examKindName; std::size_t inside; std::size_t longest; long long left; };
  const Case cases[] = {
      {"\x96\xCD\x8B\x5B\x8E\x8E\x8C\xB1", 0, 29 + 18, 259 - (29 - 8) - 18},  // 模擬試験: \system\shiken.ini wins
      {"", 0, 29 + 18, 259 - 21 - 18},
      {"0123456789", 0, 29 + 18, 259 - 21 - 18},                   // \[1]0123456789.exe: as long
      {"0123456789ABCDEF", 0, 29 + 4 + 16 + 4, 259 - 21 - 24},     // the exam program wins
      {"\x96\xCD\x8B\x5B", 17, 29 + 18, 259 - 21 - 18},            // system\shiken.ini already there
      {"\x96\xCD\x8B\x5B", 18, 29 + 19, 259 - 21 - 19},            // system\1\setup.ini: one byte more
      {"0123456789ABCDEF", 40, 29 + 41, 259 - 21 - 41},            // a picture deeper than the exam program
  };
  for (const auto& c : cases) {
    const PackageSettings s = Settings("ABC", c.examKindName);
    EXPECT_EQ(LongestCandidatePath("C:\\exam\\", s, c.inside, YAMADA, TARO), c.longest) << c.examKindName;
    EXPECT_EQ(BytesLeftForValues("C:\\exam\\", s, c.inside), c.left) << c.examKindName;
    // The values' bytes add one for one: the bytes left are exactly what fits.
    EXPECT_EQ(LongestCandidatePath("C:\\exam\\", s, c.inside, std::string(c.left, 'a'), ""), kMaxPathBytes);
  }
  EXPECT_LT(BytesLeftForValues(std::string(250, 'd'), Settings("ABC", ""), 0), 0);
}

TEST(CandidatePaths, PackageValuesThatWouldSteerAPath) {
  struct Case { std::string fileName, devCode, examKindName; const char* key; };
  const Case cases[] = {
      {"", "EAR01", "\x96\xCD\x8B\x5B", nullptr},
      {"\x95\x5C\x83\x5C", "", "\x95\x5C\x8E\xA6" SO, nullptr},   // 表ソ, 表示ソ: 0x5C second bytes
      {"", "", "", nullptr},
      {"", "EAR01", "\\..\\..\\evil", "部種名称"},
      {"", "EAR01", "x\"\\..\\\x96\xCD", "部種名称"},
      {"", "EAR01", "a\x1b", "部種名称"},
      {"..\\..\\x", "EAR01", "b", "ファイル名称"},
      {"", "A/B", "b", "開発コード"},
      {"ABC", "A/B", "b", nullptr},                 // an unused 開発コード steers nothing
      {"A:B", "", "\\x", "部種名称"},               // 部種名称 is named first
  };
  for (const auto& c : cases) {
    PackageSettings s;
    s.fileName = c.fileName;
    s.devCode = c.devCode;
    s.examKindName = c.examKindName;
    const char* key = ForbiddenPackageValueKey(s);
    EXPECT_EQ(key ? std::string(key) : "", c.key ? std::string(c.key) : "") << c.fileName << c.devCode << c.examKindName;
  }
}

}  // namespace
}  // namespace ear
