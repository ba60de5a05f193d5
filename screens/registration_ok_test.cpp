#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/error.h"
#include "package/batch.h"
#include "screens/registration_ok.h"
#include "tests/sjis_samples.h"

namespace ear {
namespace {

// A fake clock that the pause advances; the window shows at showAtMs (or never).
struct WaitRun {
  std::uint64_t now = 5000;
  std::uint64_t showAt;
  int looks = 0;
  int pauses = 0;
  ExamWindowWait outcome;
  WaitRun(std::uint64_t showAtMs, std::uint64_t timeoutMs) : showAt(now + showAtMs) {
    outcome = WaitForExamWindow([&] { return ++looks, now >= showAt; },
                                [&] { ++pauses, now += kExamWindowPollMs; }, [&] { return now; }, timeoutMs);
  }
};

TEST(ExamWindowWait, EndsWhenTheWindowShowsOrAtTheBound) {
  struct Case { std::uint64_t showAtMs, timeoutMs; ExamWindowWait outcome; int pauses; };
  constexpr std::uint64_t never = UINT64_MAX / 2;
  const Case cases[] = {
      {0, kExamWindowTimeoutMs, ExamWindowWait::Shown, 0},        // there at the first look
      {250, kExamWindowTimeoutMs, ExamWindowWait::Shown, 3},      // three pauses of 100 ms
      {never, kExamWindowTimeoutMs, ExamWindowWait::TimedOut, 1200},  // 120 s of 100 ms pauses
      {never, 0, ExamWindowWait::TimedOut, 0},
      {120000, 120000, ExamWindowWait::Shown, 1200},              // shows right at the bound
  };
  for (const Case& c : cases) {
    const WaitRun run(c.showAtMs, c.timeoutMs);
    EXPECT_EQ(run.outcome, c.outcome) << c.showAtMs << " " << c.timeoutMs;
    EXPECT_EQ(run.pauses, c.pauses) << c.showAtMs << " " << c.timeoutMs;
  }
}

TEST(HideFolder, LeavesOnlyTheExecutablesOwnPathAlone) {
  struct Case { std::string path, exe; bool itself; };
  const Case cases[] = {
      {"C:\\app\\##TMP##\\system\\", "C:\\app\\ExamAutoRunner.exe", false},
      {"C:\\app\\ExamAutoRunner", "C:\\app\\ExamAutoRunner.exe", true},
      {"C:\\app\\ExamAutoRunner.bat", "C:\\app\\ExamAutoRunner.exe", true},
      {"C:\\app\\examautorunner.exe", "C:\\app\\ExamAutoRunner.exe", false},  // case-sensitive
      {"C:\\a.b\\run", "C:\\a.b\\run.exe", true},        // a dot in a folder is no extension
      {"C:\\a.b", "C:\\a.c\\x.exe", false},
      // ソ ends in 0x5C: the byte is no separator, so ".x" after it is still the extension.
      {"C:\\" SO ".x", "C:\\" SO ".exe", true},
  };
  for (const Case& c : cases) EXPECT_EQ(IsExecutableItself(c.path, c.exe), c.itself) << c.path;
  EXPECT_EQ(PathWithoutExtension("C:\\a.b\\c.d.exe"), "C:\\a.b\\c.d");
  EXPECT_EQ(PathWithoutExtension("C:\\a.b\\"), "C:\\a.b\\");
  EXPECT_EQ(PathWithoutExtension("C:x.exe"), "C:x");
}

// The launcher in C:\exams\app\: its candidate folders go to C:\exams\ (9 bytes).
const HandoverPlace kPlace{"C:\\exams\\app\\ExamAutoRunner.exe", "C:\\windows\\system32"};
#define MOGI "\x96\xCD\x8B\x5B\x8E\x8E\x8C\xB1"  // 模擬試験

PackageSettings Package(std::string abb, std::string fileName = "", std::string examKindName = MOGI) {
  PackageSettings s;
  s.abb = std::move(abb);
  s.devCode = "EAR01";
  s.fileName = std::move(fileName);
  s.examKindName = std::move(examKindName);
  return s;
}

// A plan with its keys drawn from `keys` and `taken` as the directories that exist.
struct PlanRun {
  std::vector<std::string> keys{"taken", "Zq9k1"};
  std::set<std::string> taken;
  int drawn = 0;
  int looks = 0;
  HandoverPlan plan;
  PlanRun(const PackageSettings& settings, const Entries& entries, std::set<std::string> existing = {},
          std::size_t longestInPackage = 0)
      : taken(std::move(existing)) {
    HandoverPlace place = kPlace;
    place.longestInPackage = longestInPackage;
    plan = PlanHandover(
        settings, entries, place, [&] { return keys.at(drawn++); },
        [&](const std::string& path) { return ++looks, taken.count(path) > 0; });
  }
};

TEST(HandoverPlan, WritesRenameAndBatchInTheirOrder) {
  struct Case { PackageSettings settings; Entries entries; std::string name; std::vector<IniWrite> shiken; };
  const std::string shiken = "C:\\exams\\app\\##TMP##\\system\\shiken.ini";
  const Case cases[] = {
      {Package("EAR"), {"12345", "678", "x", "y"}, "EAR0112345_678",
       {{shiken, "受験者情報", "会場コード", "12345"}, {shiken, "受験者情報", "受験番号", "678"}}},
      {Package("", "ABC"), {"1", "2", YAMADA, TARO}, "ABC" YAMADA "_" TARO,
       {{shiken, "受験者情報", "姓", YAMADA}, {shiken, "受験者情報", "名", TARO}}},
      // 0x5C second bytes (表, ソ) in the package's values and the names steer nothing.
      {Package("", HYO SO, HYO "\x8E\xA6" SO), {"", "", SO, HYO}, HYO SO SO "_" HYO,
       {{shiken, "受験者情報", "姓", SO}, {shiken, "受験者情報", "名", HYO}}},
  };
  for (const Case& c : cases) {
    const std::string folder = "C:\\exams\\" + c.name + LBR "Zq9k1" RBR;
    const PlanRun run(c.settings, c.entries, {"C:\\exams\\" + c.name + LBR "taken" RBR});
    const HandoverPlan& p = run.plan;
    ASSERT_FALSE(p.Refused()) << c.name;
    EXPECT_EQ(run.drawn, 2) << c.name;  // the first key names a directory that exists
    EXPECT_EQ(p.candidateFolder, folder);
    EXPECT_EQ(p.key, "Zq9k1");
    ASSERT_EQ(p.iniWrites.size(), 3u);
    EXPECT_EQ(p.iniWrites[0].path, "C:\\exams\\app\\##TMP##\\system\\system.ini");
    EXPECT_EQ(p.iniWrites[0].section, "基本情報");
    EXPECT_EQ(p.iniWrites[0].key, "固有キー");
    EXPECT_EQ(p.iniWrites[0].value, "Zq9k1");
    for (std::size_t i = 0; i < 2; ++i) {
      EXPECT_EQ(p.iniWrites[i + 1].path, c.shiken[i].path);
      EXPECT_EQ(p.iniWrites[i + 1].section, c.shiken[i].section);
      EXPECT_EQ(p.iniWrites[i + 1].key, c.shiken[i].key);
      EXPECT_EQ(p.iniWrites[i + 1].value, c.shiken[i].value);
    }
    EXPECT_EQ(p.systemFolder, "C:\\exams\\app\\##TMP##\\system\\");
    EXPECT_EQ(p.package, "C:\\exams\\app\\##TMP##");
    EXPECT_EQ(p.examProgram, folder + "\\[1]" + c.settings.examKindName + ".exe");
    EXPECT_EQ(p.batchPath, "C:\\exams\\ExamAutoRunner.BAT");
    EXPECT_EQ(p.batchText,
              LaunchBatchText(p.examProgram, kPlace.exePath, "C:\\exams\\app\\", kPlace.systemFolder));
  }
}

TEST(HandoverPlan, RefusesBeforeAKeyIsDrawn) {
  // C:\exams\EAR0112345_［kkkkk］\system\shiken.ini is 9 + 11 + 9 + 18 = 47 bytes: 212 left for
  // the candidate number; with system\1\setup.ini in the package, 211.
  const std::string longest(212, '0'), tooLong(213, '0');
  struct Case {
    const char* what; PackageSettings settings; Entries entries; CheckResult check; const char* refusal;
    std::size_t inside = 0;  // the longest path inside the package
  };
  const Case cases[] = {
      {"venue code empty", Package("EAR"), {"", "678", "", ""},
       {false, RegistrationEdit::KaiCdEdt, kMsgVenueCodeEmpty}, ""},
      {"candidate number not a number", Package("EAR"), {"12345", "6a", "", ""},
       {false, RegistrationEdit::JuBanEdt, kMsgCandidateNumberInvalid}, ""},
      {"name empty", Package(""), {"12345", "678", YAMADA, ""}, {false, RegistrationEdit::MeiEdt, kMsgNameEmpty}, ""},
      {"name with a separator", Package(""), {"", "", "..\\x", TARO},
       {false, RegistrationEdit::SeiEdt, kMsgNameForbiddenChar}, ""},
      {"names too long", Package(""), {"", "", std::string(200, 'a'), std::string(18, 'b')},
       {false, RegistrationEdit::SeiEdt, kMsgNameTooLong}, ""},
      // The input checks come first: a bad package value waits for valid entries.
      {"checks before package values", Package("EAR", "", "\\..\\..\\evil"), {"1234", "678", "", ""},
       {false, RegistrationEdit::KaiCdEdt, kMsgVenueCodeInvalid}, ""},
      {"部種名称 climbing out", Package("EAR", "", "\\..\\..\\evil"), {"12345", "678", "", ""}, {}, kMsgDeployFailed},
      {"部種名称 with a quote", Package("", "", "x\"\\..\\" MOGI), {"", "", YAMADA, TARO}, {}, kMsgDeployFailed},
      {"部種名称 with a control character", Package("EAR", "", "a\x1b"), {"12345", "678", "", ""}, {},
       kMsgDeployFailed},
      {"ファイル名称 climbing out", Package("", "..\\..\\x"), {"", "", YAMADA, TARO}, {}, kMsgDeployFailed},
      {"開発コード with a colon", [] { auto s = Package("EAR"); s.devCode = "C:x"; return s; }(),
       {"12345", "678", "", ""}, {}, kMsgDeployFailed},
      // A candidate number too long for the candidate folder's paths: its field takes the focus.
      {"candidate number one byte too long", Package("EAR"), {"12345", tooLong, "", ""},
       {false, RegistrationEdit::JuBanEdt, kMsgDeployFailed}, ""},
      {"candidate number at the limit", Package("EAR"), {"12345", longest, "", ""}, {}, ""},
      {"system\\1\\setup.ini one byte longer than system\\shiken.ini", Package("EAR"), {"12345", longest, "", ""},
       {false, RegistrationEdit::JuBanEdt, kMsgDeployFailed}, "", 18},
      {"at the limit with system\\1\\setup.ini", Package("EAR"), {"12345", longest.substr(1), "", ""}, {}, "", 18},
      {"a picture 13 bytes deeper", Package("EAR"), {"12345", longest.substr(12), "", ""},
       {false, RegistrationEdit::JuBanEdt, kMsgDeployFailed}, "", 30},
      {"at the limit with that picture", Package("EAR"), {"12345", longest.substr(13), "", ""}, {}, "", 30},
      {"names too long for that picture", Package(""), {"", "", std::string(200, 'a'), std::string(6, 'b')},
       {false, RegistrationEdit::SeiEdt, kMsgNameTooLong}, "", 30},
  };
  for (const Case& c : cases) {
    const PlanRun run(c.settings, c.entries, {}, c.inside);
    const HandoverPlan& p = run.plan;
    EXPECT_EQ(p.check.ok, c.check.ok) << c.what;
    EXPECT_EQ(p.check.focus, c.check.focus) << c.what;
    EXPECT_EQ(p.check.message, c.check.message) << c.what;
    EXPECT_EQ(p.refusal, c.refusal) << c.what;
    EXPECT_EQ(p.Refused(), !c.check.ok || *c.refusal != '\0') << c.what;
    if (p.Refused()) {
      EXPECT_EQ(run.drawn, 0) << c.what;
      EXPECT_EQ(run.looks, 0) << c.what;
      EXPECT_TRUE(p.iniWrites.empty()) << c.what;
      EXPECT_TRUE(p.candidateFolder.empty() && p.batchText.empty()) << c.what;
    } else {
      EXPECT_EQ(p.candidateFolder.size() + 1 + std::max<std::size_t>(c.inside, 17), 259u) << c.what;
    }
  }
}

TEST(HandoverPlan, AFailingKeySourceFailsThePlan) {
  EXPECT_THROW(PlanHandover(Package("EAR"), {"12345", "678", "", ""}, kPlace,
                            []() -> std::string { throw Error("no key"); }, [](const std::string&) { return false; }),
               Error);
}

}  // namespace
}  // namespace ear
