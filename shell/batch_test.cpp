#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "shell/batch.h"
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

TEST(CleanupBatch, WholeTextForAPlainPath) {
  EXPECT_EQ(CleanupBatchText("C:\\exam\\ExamAutoRunner.exe"),
            "SET /A EarTries=0\r\n"
            "ping -n 4 127.0.0.1 >nul\r\n"
            ":Lbl0\r\n"
            "ping -n 2 127.0.0.1 >nul\r\n"
            "SET /A EarTries+=1\r\n"
            "IF %EarTries% GTR 180 GOTO LblEnd\r\n"
            "DEL ^\"C:\\exam\\ExamAutoRunner.exe^\"\r\n"
            "IF EXIST ^\"C:\\exam\\ExamAutoRunner.exe^\" GOTO Lbl0\r\n"
            "cd..\r\n"
            ":Lbl1\r\n"
            "ping -n 2 127.0.0.1 >nul\r\n"
            "SET /A EarTries+=1\r\n"
            "IF %EarTries% GTR 180 GOTO LblEnd\r\n"
            "RMDIR ^\"C:\\exam\\^\"\r\n"
            "IF EXIST ^\"C:\\exam\\^\" GOTO Lbl1\r\n"
            ":LblEnd\r\n"
            "DEL %0\r\n"
            "EXIT\r\n");
}

bool IsPacingOrBound(const std::string& line) {
  return line.starts_with("SET /A EarTries") || line.starts_with("ping -n ") ||
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

TEST(CleanupBatch, NineLinesInOrderBetweenThePacing) {
  struct Case { std::string exe; std::string e; std::string f; };
  const Case cases[] = {
      {"C:\\a b\\ExamAutoRunner.exe", "C:\\a^ b\\ExamAutoRunner.exe", "C:\\a^ b\\"},
      {"C:\\p\\%^&;,=\\ExamAutoRunner.exe", "C:\\p\\%%^^^&^;^,^=\\ExamAutoRunner.exe",
       "C:\\p\\%%^^^&^;^,^=\\"},
      {"D:\\" SO WSP HYO "\\" TA "\\ExamAutoRunner.exe",
       "D:\\" SO "^" WSP HYO "\\" TA "\\ExamAutoRunner.exe", "D:\\" SO "^" WSP HYO "\\" TA "\\"},
      {"E:\\(x86)!\\ExamAutoRunner.exe", "E:\\(x86)!\\ExamAutoRunner.exe", "E:\\(x86)!\\"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.exe);
    const std::vector<std::string> withoutPacing = WithoutPacing(CleanupBatchText(c.exe));
    const std::vector<std::string> expected = {
        ":Lbl0",
        "DEL ^\"" + c.e + "^\"",
        "IF EXIST ^\"" + c.e + "^\" GOTO Lbl0",
        "cd..",
        ":Lbl1",
        "RMDIR ^\"" + c.f + "^\"",
        "IF EXIST ^\"" + c.f + "^\" GOTO Lbl1",
        "DEL %0",
        "EXIT",
    };
    EXPECT_EQ(withoutPacing, expected);
  }
}

TEST(CleanupBatch, EveryAttemptIsPacedAndCountedBeforeItRuns) {
  const auto lines = Lines(CleanupBatchText("C:\\a\\ExamAutoRunner.exe"));
  int pausesSinceStart = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].starts_with("ping -n 4 ")) pausesSinceStart += 3;
    if (lines[i].starts_with("ping -n 2 ")) pausesSinceStart += 1;
    if (lines[i].starts_with("DEL ^\"") || lines[i].starts_with("RMDIR ")) {
      ASSERT_GE(i, 3u);
      EXPECT_TRUE(lines[i - 3].starts_with("ping -n 2 ")) << lines[i];
      EXPECT_EQ(lines[i - 2], "SET /A EarTries+=1") << lines[i];
      EXPECT_EQ(lines[i - 1], "IF %EarTries% GTR 180 GOTO LblEnd") << lines[i];
    }
    // The launcher lingers ~2 s after closing under Wine: the first delete waits ~4 s.
    if (lines[i].starts_with("DEL ^\"")) {
      EXPECT_GE(pausesSinceStart, 4);
    }
  }
  EXPECT_EQ(lines.front(), "SET /A EarTries=0");
}

TEST(CleanupBatch, InARootFolderOnlyTheExecutableAndTheBatchGo) {
  struct Case { std::string exe; std::string e; };
  const Case cases[] = {
      {"C:\\ExamAutoRunner.exe", "C:\\ExamAutoRunner.exe"},
      {"\\\\srv\\a b\\ExamAutoRunner.exe", "\\\\srv\\a^ b\\ExamAutoRunner.exe"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.exe);
    const std::vector<std::string> withoutPacing = WithoutPacing(CleanupBatchText(c.exe));
    const std::vector<std::string> expected = {
        ":Lbl0",
        "DEL ^\"" + c.e + "^\"",
        "IF EXIST ^\"" + c.e + "^\" GOTO Lbl0",
        "DEL %0",
        "EXIT",
    };
    EXPECT_EQ(withoutPacing, expected);
  }
}

}  // namespace
}  // namespace ear
