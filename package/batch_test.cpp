#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <vector>

#include "package/batch.h"
#include "tests/sjis_samples.h"

namespace ear {
namespace {


TEST(EscapeBatchPath, EachSignInItsOrder) {
  struct Case { std::string path; std::string expected; };
  const Case cases[] = {
      {"C:\\exam\\ExamAutoRunner.exe", "C:\\exam\\ExamAutoRunner.exe"},
      {"C:\\a b\\", "C:\\a^ b\\"},
      {"100%", "100%%"},
      {"a^b", "a^^b"},
      {"%^&", "%%^^^&"},
      {"%%", "%%%%"},
      {"^^", "^^^^"},
      {"a&b;c,d=e", "a^&b^;c^,d^=e"},
      {"a =b", "a^ ^=b"},
      {"a" WSP "b", "a^" WSP "b"},
      {WSP WSP, "^" WSP "^" WSP},
      {"(x)!\t@", "(x)!\t@"},
      {"%PATH%", "%%PATH%%"},
  };
  for (const auto& c : cases) EXPECT_EQ(EscapeBatchPath(c.path), c.expected) << c.path;
}

TEST(EscapeBatchPath, SecondBytesAreNeverSigns) {
  struct Case { std::string path; std::string expected; };
  const Case cases[] = {
      {"C:\\" TA UN "\\", "C:\\" TA UN "\\"},
      {TA "^", TA "^^"},
      {"^" UN, "^^" UN},
      {SO " " HYO, SO "^ " HYO},
      // ＝ (81 81) then "@": the 81 40 inside is no full-width space.
      {"\x81\x81\x40", "\x81\x81\x40"},
      {"\x81\x81" WSP, "\x81\x81^" WSP},
      // A lead byte alone at the end stays as it is.
      {"a&\x83", "a^&\x83"},
  };
  for (const auto& c : cases) EXPECT_EQ(EscapeBatchPath(c.path), c.expected) << c.path;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start) + "<no CR LF>");
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

constexpr const char* kSystem = "C:\\Windows\\system32";
#define PAUSE(n) "\"C:\\Windows\\system32\\PING.EXE\" -n " #n " 127.0.0.1 >nul"

TEST(CleanupBatch, WholeTextForAPlainPath) {
  EXPECT_EQ(CleanupBatchText("C:\\exam\\ExamAutoRunner.exe", kSystem),
            "SET /A EarTries=0\r\n"
            PAUSE(4) "\r\n"
            ":Lbl0\r\n"
            PAUSE(2) "\r\n"
            "SET /A EarTries+=1\r\n"
            "IF %EarTries% GTR 180 GOTO LblEnd\r\n"
            "DEL ^\"C:\\exam\\ExamAutoRunner.exe^\"\r\n"
            "IF EXIST ^\"C:\\exam\\ExamAutoRunner.exe^\" GOTO Lbl0\r\n"
            "cd..\r\n"
            ":Lbl1\r\n"
            PAUSE(2) "\r\n"
            "SET /A EarTries+=1\r\n"
            "IF %EarTries% GTR 180 GOTO LblEnd\r\n"
            "RMDIR ^\"C:\\exam\\^\"\r\n"
            "IF EXIST ^\"C:\\exam\\^\" GOTO Lbl1\r\n"
            ":LblEnd\r\n"
            "DEL ^\"C:\\ExamAutoRunner.BAT^\"\r\n"
            "EXIT\r\n");
}

TEST(Batches, PingIsNamedByItsFullPathWhereverTheSystemFolderLies) {
  struct Case { std::string system; std::string pause; };
  const Case cases[] = {
      {"C:\\Windows\\system32", "\"C:\\Windows\\system32\\PING.EXE\" -n 2 127.0.0.1 >nul"},
      {"C:\\WINDOWS\\system32\\", "\"C:\\WINDOWS\\system32\\PING.EXE\" -n 2 127.0.0.1 >nul"},
      // Between plain quotes the signs stand for themselves, only "%" is doubled.
      {"D:\\Win 100% & ^\\" SO, "\"D:\\Win 100%% & ^\\" SO "\\PING.EXE\" -n 2 127.0.0.1 >nul"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.system);
    const auto cleanup = Lines(CleanupBatchText("C:\\a\\x.exe", c.system));
    const auto launch = Lines(LaunchBatchText("C:\\c\\[1]A.exe", "C:\\a\\x.exe", "C:\\a\\", c.system));
    for (const auto* lines : {&cleanup, &launch}) {
      int pauses = 0;
      for (const std::string& line : *lines) {
        EXPECT_EQ(line.find("ping"), std::string::npos) << line;
        if (line.find("PING") != std::string::npos) {
          ++pauses;
          if (line.find(" -n 2 ") != std::string::npos) {
            EXPECT_EQ(line, c.pause);
          }
        }
      }
      EXPECT_EQ(pauses, 3);
    }
  }
}

bool IsPacingOrBound(const std::string& line) {
  return line.starts_with("SET /A EarTries") || line.starts_with("\"C:\\Windows\\system32\\PING.EXE\" ") ||
         line.starts_with("IF %EarTries% ") || line == ":LblEnd";
}

// The batch's lines as specified: the pacing and the bound left out.
std::vector<std::string> WithoutPacing(const std::string& batch) {
  std::vector<std::string> lines;
  for (const std::string& line : Lines(batch)) {
    if (!IsPacingOrBound(line)) lines.push_back(line);
  }
  return lines;
}

// Nine lines in order between the pacing; in a root folder only the executable and the
// batch go (no folder to leave and remove).
TEST(CleanupBatch, LinesInOrderBetweenThePacing) {
  // f empty: a root folder; b: the batch's own path, by which it deletes itself
  struct Case { std::string exe; std::string e; std::string f; std::string b; };
  const Case cases[] = {
      {"C:\\a b\\ExamAutoRunner.exe", "C:\\a^ b\\ExamAutoRunner.exe", "C:\\a^ b\\", "C:\\ExamAutoRunner.BAT"},
      {"C:\\p\\%^&;,=\\ExamAutoRunner.exe", "C:\\p\\%%^^^&^;^,^=\\ExamAutoRunner.exe",
       "C:\\p\\%%^^^&^;^,^=\\", "C:\\p\\ExamAutoRunner.BAT"},
      {"D:\\" SO WSP HYO "\\" TA "\\ExamAutoRunner.exe",
       "D:\\" SO "^" WSP HYO "\\" TA "\\ExamAutoRunner.exe", "D:\\" SO "^" WSP HYO "\\" TA "\\",
       "D:\\" SO "^" WSP HYO "\\ExamAutoRunner.BAT"},
      {"E:\\(x86)!\\ExamAutoRunner.exe", "E:\\(x86)!\\ExamAutoRunner.exe", "E:\\(x86)!\\", "E:\\ExamAutoRunner.BAT"},
      {"C:\\ExamAutoRunner.exe", "C:\\ExamAutoRunner.exe", "", "C:\\ExamAutoRunner.BAT"},
      {"\\\\srv\\a b\\ExamAutoRunner.exe", "\\\\srv\\a^ b\\ExamAutoRunner.exe", "",
       "\\\\srv\\a^ b\\ExamAutoRunner.BAT"},
      // A "%" in the parent folder's name is doubled like any other.
      {"C:\\100%完了\\a\\ExamAutoRunner.exe", "C:\\100%%完了\\a\\ExamAutoRunner.exe",
       "C:\\100%%完了\\a\\", "C:\\100%%完了\\ExamAutoRunner.BAT"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.exe);
    std::vector<std::string> expected = {
        ":Lbl0",
        "DEL ^\"" + c.e + "^\"",
        "IF EXIST ^\"" + c.e + "^\" GOTO Lbl0",
    };
    if (!c.f.empty()) {
      expected.insert(expected.end(), {
          "cd..",
          ":Lbl1",
          "RMDIR ^\"" + c.f + "^\"",
          "IF EXIST ^\"" + c.f + "^\" GOTO Lbl1",
      });
    }
    expected.insert(expected.end(), {"DEL ^\"" + c.b + "^\"", "EXIT"});
    EXPECT_EQ(WithoutPacing(CleanupBatchText(c.exe, kSystem)), expected);
  }
}

// A delete of the executable, which is retried; the batch deletes itself once, at its end.
bool DeletesTheExecutable(const std::string& line) {
  return line.starts_with("DEL ^\"") && line.ends_with(".exe^\"");
}

TEST(CleanupBatch, EveryAttemptIsPacedAndCountedBeforeItRuns) {
  const auto lines = Lines(CleanupBatchText("C:\\a\\ExamAutoRunner.exe", kSystem));
  int pausesSinceStart = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i] == PAUSE(4)) pausesSinceStart += 3;
    if (lines[i] == PAUSE(2)) pausesSinceStart += 1;
    if (DeletesTheExecutable(lines[i]) || lines[i].starts_with("RMDIR ")) {
      ASSERT_GE(i, 3u);
      EXPECT_EQ(lines[i - 3], PAUSE(2)) << lines[i];
      EXPECT_EQ(lines[i - 2], "SET /A EarTries+=1") << lines[i];
      EXPECT_EQ(lines[i - 1], "IF %EarTries% GTR 180 GOTO LblEnd") << lines[i];
    }
    // The launcher lingers ~2 s after closing under Wine: the first delete waits ~4 s.
    if (DeletesTheExecutable(lines[i])) {
      EXPECT_GE(pausesSinceStart, 4);
    }
  }
  EXPECT_EQ(lines.front(), "SET /A EarTries=0");
}

TEST(LaunchBatch, WholeTextForHostilePaths) {
  struct Case {
    const char* label;
    std::string exam, exe, exeFolder;
    std::string text;
  };
  const Case cases[] = {
      {"plain", "C:\\p\\ABC_1\x81\x6d" "aB3xZ\x81\x6e\\[1]TEST.exe", "C:\\p\\e\\ExamAutoRunner.exe", "C:\\p\\e\\",
       "cd..\r\n"
       "IF EXIST \"C:\\p\\ABC_1\x81\x6d" "aB3xZ\x81\x6e\\[1]TEST.exe\" GOTO LblStart\r\n"
       "IF NOT EXIST ^\"C:\\p\\ABC_1\x81\x6d" "aB3xZ\x81\x6e\\[1]TEST.exe^\" GOTO Lbl2\r\n"
       ":LblStart\r\n"
       "START /b \"\" ^\"C:\\p\\ABC_1\x81\x6d" "aB3xZ\x81\x6e\\[1]TEST.exe^\"\r\n"
       "SET /A EarTries=0\r\n"
       PAUSE(6) "\r\n"
       ":Lbl0\r\n"
       PAUSE(2) "\r\n"
       "SET /A EarTries+=1\r\n"
       "IF %EarTries% GTR 3600 GOTO Lbl2\r\n"
       "DEL ^\"C:\\p\\e\\ExamAutoRunner.exe^\"\r\n"
       "IF EXIST \"C:\\p\\e\\ExamAutoRunner.exe\" GOTO Lbl0\r\n"
       "IF EXIST ^\"C:\\p\\e\\ExamAutoRunner.exe^\" GOTO Lbl0\r\n"
       "SET /A EarTries=0\r\n"
       ":Lbl1\r\n"
       PAUSE(2) "\r\n"
       "SET /A EarTries+=1\r\n"
       "IF %EarTries% GTR 10 GOTO Lbl2\r\n"
       "RMDIR ^\"C:\\p\\e\\^\"\r\n"
       "IF EXIST \"C:\\p\\e\\\" GOTO Lbl1\r\n"
       "IF EXIST ^\"C:\\p\\e\\^\" GOTO Lbl1\r\n"
       ":Lbl2\r\n"
       "DEL ^\"C:\\p\\ExamAutoRunner.BAT^\"\r\n"
       "EXIT\r\n"},
      {"every sign, second bytes 5C and 5E",
       "D:\\q " WSP "&^%;,=()!\\" SO HYO TA UN "_x\\[1]" UN " " TA ".exe",
       "D:\\q " WSP "&^%;,=()!\\" SO " " HYO "\\ExamAutoRunner.exe",
       "D:\\q " WSP "&^%;,=()!\\" SO " " HYO "\\",
       "cd..\r\n"
       "IF EXIST \"D:\\q " WSP "&^%%;,=()!\\" SO HYO TA UN "_x\\[1]" UN " " TA ".exe\" GOTO LblStart\r\n"
       "IF NOT EXIST ^\"D:\\q^ ^" WSP "^&^^%%^;^,^=()!\\" SO HYO TA UN "_x\\[1]" UN "^ " TA ".exe^\" GOTO Lbl2\r\n"
       ":LblStart\r\n"
       "START /b \"\" ^\"D:\\q^ ^" WSP "^&^^%%^;^,^=()!\\" SO HYO TA UN "_x\\[1]" UN "^ " TA ".exe^\"\r\n"
       "SET /A EarTries=0\r\n"
       PAUSE(6) "\r\n"
       ":Lbl0\r\n"
       PAUSE(2) "\r\n"
       "SET /A EarTries+=1\r\n"
       "IF %EarTries% GTR 3600 GOTO Lbl2\r\n"
       "DEL ^\"D:\\q^ ^" WSP "^&^^%%^;^,^=()!\\" SO "^ " HYO "\\ExamAutoRunner.exe^\"\r\n"
       "IF EXIST \"D:\\q " WSP "&^%%;,=()!\\" SO " " HYO "\\ExamAutoRunner.exe\" GOTO Lbl0\r\n"
       "IF EXIST ^\"D:\\q^ ^" WSP "^&^^%%^;^,^=()!\\" SO "^ " HYO "\\ExamAutoRunner.exe^\" GOTO Lbl0\r\n"
       "SET /A EarTries=0\r\n"
       ":Lbl1\r\n"
       PAUSE(2) "\r\n"
       "SET /A EarTries+=1\r\n"
       "IF %EarTries% GTR 10 GOTO Lbl2\r\n"
       "RMDIR ^\"D:\\q^ ^" WSP "^&^^%%^;^,^=()!\\" SO "^ " HYO "\\^\"\r\n"
       "IF EXIST \"D:\\q " WSP "&^%%;,=()!\\" SO " " HYO "\\\" GOTO Lbl1\r\n"
       "IF EXIST ^\"D:\\q^ ^" WSP "^&^^%%^;^,^=()!\\" SO "^ " HYO "\\^\" GOTO Lbl1\r\n"
       ":Lbl2\r\n"
       "DEL ^\"D:\\q^ ^" WSP "^&^^%%^;^,^=()!\\ExamAutoRunner.BAT^\"\r\n"
       "EXIT\r\n"},
      // In a drive's root only the executable and the batch go: no RMDIR of the root.
      {"root", "C:\\A_1\x81\x6dk\x81\x6e\\[1]T.exe", "C:\\ExamAutoRunner.exe", "C:\\",
       "cd..\r\n"
       "IF EXIST \"C:\\A_1\x81\x6dk\x81\x6e\\[1]T.exe\" GOTO LblStart\r\n"
       "IF NOT EXIST ^\"C:\\A_1\x81\x6dk\x81\x6e\\[1]T.exe^\" GOTO Lbl2\r\n"
       ":LblStart\r\n"
       "START /b \"\" ^\"C:\\A_1\x81\x6dk\x81\x6e\\[1]T.exe^\"\r\n"
       "SET /A EarTries=0\r\n"
       PAUSE(6) "\r\n"
       ":Lbl0\r\n"
       PAUSE(2) "\r\n"
       "SET /A EarTries+=1\r\n"
       "IF %EarTries% GTR 3600 GOTO Lbl2\r\n"
       "DEL ^\"C:\\ExamAutoRunner.exe^\"\r\n"
       "IF EXIST \"C:\\ExamAutoRunner.exe\" GOTO Lbl0\r\n"
       "IF EXIST ^\"C:\\ExamAutoRunner.exe^\" GOTO Lbl0\r\n"
       ":Lbl2\r\n"
       "DEL ^\"C:\\ExamAutoRunner.BAT^\"\r\n"
       "EXIT\r\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LaunchBatchText(c.exam, c.exe, c.exeFolder, kSystem), c.text) << c.label;
  }
}

TEST(LaunchBatch, TwelveLinesInOrderBetweenThePacing) {
  const std::string exam = "C:\\p\\" SO "_" TA "\\[1]A.exe";
  const std::string e = "^\"C:\\p\\" SO "_" TA "\\[1]A.exe^\"";
  std::vector<std::string> lines =
      WithoutPacing(LaunchBatchText(exam, "C:\\p\\a b\\x.exe", "C:\\p\\a b\\", kSystem));
  // The Wine accommodation: a plain-quoted test of the same path before each caret-quoted one.
  const std::vector<std::string> plainTests = {
      "IF EXIST \"C:\\p\\" SO "_" TA "\\[1]A.exe\" GOTO LblStart",
      "IF EXIST \"C:\\p\\a b\\x.exe\" GOTO Lbl0",
      "IF EXIST \"C:\\p\\a b\\\" GOTO Lbl1",
  };
  for (const std::string& line : plainTests) {
    EXPECT_EQ(std::erase(lines, line), 1u) << line;
  }
  std::erase(lines, ":LblStart");
  const std::vector<std::string> expected = {
      "cd..",
      "IF NOT EXIST " + e + " GOTO Lbl2",
      "START /b \"\" " + e,
      ":Lbl0",
      "DEL ^\"C:\\p\\a^ b\\x.exe^\"",
      "IF EXIST ^\"C:\\p\\a^ b\\x.exe^\" GOTO Lbl0",
      ":Lbl1",
      "RMDIR ^\"C:\\p\\a^ b\\^\"",
      "IF EXIST ^\"C:\\p\\a^ b\\^\" GOTO Lbl1",
      ":Lbl2",
      "DEL ^\"C:\\p\\ExamAutoRunner.BAT^\"",
      "EXIT",
  };
  EXPECT_EQ(lines, expected);
}

// The pause before an attempt (ping -n N waits N - 1 seconds) and the loop's bound, for the
// attempt on the given line.
struct Attempt {
  int pauseSeconds = 0;
  int bound = 0;
};

Attempt AttemptBefore(const std::vector<std::string>& lines, std::size_t at) {
  Attempt a;
  if (at < 3 || !lines[at - 2].starts_with("SET /A EarTries+=1")) return a;
  if (std::sscanf(lines[at - 3].c_str(), "\"C:\\Windows\\system32\\PING.EXE\" -n %d", &a.pauseSeconds) == 1) {
    --a.pauseSeconds;
  }
  std::sscanf(lines[at - 1].c_str(), "IF %%EarTries%% GTR %d", &a.bound);
  return a;
}

TEST(LaunchBatch, TriesTheExecutableForAnHourAndTheFolderAFewTimes) {
  const auto lines = Lines(LaunchBatchText("C:\\p\\c\\[1]A.exe", "C:\\p\\e\\x.exe", "C:\\p\\e\\", kSystem));
  int deletes = 0, removes = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const Attempt a = AttemptBefore(lines, i);
    if (DeletesTheExecutable(lines[i])) {
      ++deletes;
      // A launcher left open for most of an hour (a box nobody closes) is still deleted.
      EXPECT_GE(a.pauseSeconds, 1);
      EXPECT_GE(a.pauseSeconds * a.bound, 3600);
    }
    if (lines[i].starts_with("RMDIR")) {
      ++removes;
      // A folder that holds the candidate's files never empties: the batch soon gives up.
      EXPECT_EQ(lines[i - 5], "SET /A EarTries=0");
      EXPECT_GE(a.pauseSeconds, 1);
      EXPECT_LE(a.pauseSeconds * a.bound, 60);
      EXPECT_EQ(lines[i], "RMDIR ^\"C:\\p\\e\\^\"");
    }
  }
  EXPECT_EQ(deletes, 1);
  EXPECT_EQ(removes, 1);
}

TEST(Batches, CommandLineRunsTheBatchWholeWithDelayedExpansionOff) {
  struct Case { std::string batch; std::string line; };
  const Case cases[] = {
      {"C:\\p\\ExamAutoRunner.BAT", "cmd.exe /d /s /v:off /c \"\"C:\\p\\ExamAutoRunner.BAT\"\""},
      {"C:\\(x86) & a!b\\" SO "\\ExamAutoRunner.BAT",
       "cmd.exe /d /s /v:off /c \"\"C:\\(x86) & a!b\\" SO "\\ExamAutoRunner.BAT\"\""},
  };
  for (const auto& c : cases) EXPECT_EQ(BatchCommandLine(c.batch), c.line);
}

}  // namespace
}  // namespace ear
