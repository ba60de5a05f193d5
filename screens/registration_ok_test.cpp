#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

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

}  // namespace
}  // namespace ear
