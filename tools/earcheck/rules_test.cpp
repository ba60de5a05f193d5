// earcheck's promise of the bytes left for the candidate's entries, held against the
// launcher's plan of the hand-over on the same package: what one accepts the other accepts,
// and one byte more is refused by both.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "package/candidate_folder.h"
#include "package/package_settings.h"
#include "screens/registration_ok.h"
#include "tests/sjis_samples.h"
#include "tools/earcheck/check.h"

namespace {

namespace fs = std::filesystem;

void Write(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

struct Budget {
  std::string parentFolder;  // as earcheck names it, in the launcher's form
  long long left = -1;
};

// The parent folder and the bytes left, read from earcheck's finding on them.
Budget BudgetOf(const earcheck::PackageReport& report) {
  const std::string place = "この場所（", placeEnd = "）では", bytes = " バイト使えます";
  for (const earcheck::Finding& f : report.findings) {
    const std::size_t end = f.message.find(bytes);
    if (f.message.rfind(place, 0) != 0 || end == std::string::npos) continue;
    std::size_t digits = end;
    while (digits > 0 && f.message[digits - 1] >= '0' && f.message[digits - 1] <= '9') --digits;
    return {f.message.substr(place.size(), f.message.find(placeEnd) - place.size()),
            std::stoll(f.message.substr(digits, end - digits))};
  }
  return {};
}

TEST(EarcheckAgainstTheLauncher, BytesLeftAreExactlyWhatTheHandoverAccepts) {
  // longest: the bytes of the longest path inside the package, relative to it, that the
  // launcher gathers on disk; at the bytes left the candidate folder + "\" + it is 259 bytes.
  struct Case { const char* what; std::string abb, fileName, examKindName, extra; std::size_t longest; };
  const Case cases[] = {
      {"venue mode, short 部種名称: system\\1\\setup.ini is the longest path", "EAR", "", "\x96\xCD", "", 18},  // 模
      {"name mode, long 部種名称: the exam program is", "", "", "\x96\xCD\x8B\x5B\x8E\x8E\x8C\xB1\x83\x5C\x83\x74\x83\x67",
       "", 3 + 14 + 4},
      {"0x5C second bytes in the prefix", "EAR", HYO SO, "b", "", 18},
      {"a picture deeper than the settings files", "EAR", "", "b", "system/Image/sub/a_long_picture_name.jpg",
       6 + 1 + 5 + 1 + 3 + 1 + 23},
      // 한 has no Shift-JIS form: two bytes each, the widest a Shift-JIS character takes.
      {"a name without a Shift-JIS form", "", "", "b", "system/Image/\xED\x95\x9C\xED\x95\x9C/pic.jpg",
       6 + 1 + 5 + 1 + 4 + 1 + 7},
  };
  const fs::path work = fs::temp_directory_path() / ("earcheck-rules-" + std::to_string(::getpid()));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(work);
    const fs::path package = work / "L" / "##TMP##";
    const fs::path system = package / "system";
    Write(system / "system.ini", "[基本情報]\r\nABB=" + c.abb + "\r\n開発コード=EAR01\r\nファイル名称=" + c.fileName + "\r\n");
    Write(system / "1" / "setup.ini", "[基本情報]\r\n受験タイプ=1\r\n部種名称=" + c.examKindName + "\r\n");
    if (!c.extra.empty()) Write(package / c.extra, "x");
    const std::optional<earcheck::PackageReport> report = earcheck::CheckPath((work / "L").string());
    ASSERT_TRUE(report);
    const Budget budget = BudgetOf(*report);
    ASSERT_GT(budget.left, 6) << budget.parentFolder;

    ear::PackageSettings settings;
    settings.abb = c.abb;
    settings.devCode = "EAR01";
    settings.fileName = c.fileName;
    settings.examKindName = c.examKindName;
    const ear::HandoverPlace place{budget.parentFolder + "L\\ExamAutoRunner.exe", "C:\\windows\\system32", c.longest};
    const auto plan = [&](long long bytes) {
      const std::size_t n = static_cast<std::size_t>(bytes);
      const ear::Entries entries = c.abb.empty() ? ear::Entries{"", "", std::string(n - 1, 'a'), "b"}
                                                 : ear::Entries{"12345", std::string(n - 5, '0'), "", ""};
      return ear::PlanHandover(settings, entries, place, [] { return std::string("k1k2k"); },
                               [](const std::string&) { return false; });
    };
    const ear::HandoverPlan fits = plan(budget.left);
    EXPECT_FALSE(fits.Refused());
    EXPECT_EQ(fits.candidateFolder.size() + 1 + c.longest, ear::kMaxPathBytes);
    const ear::HandoverPlan over = plan(budget.left + 1);
    EXPECT_TRUE(over.Refused());
    EXPECT_EQ(over.check.message + over.refusal, c.abb.empty() ? ear::kMsgNameTooLong : ear::kMsgDeployFailed);
  }
  fs::remove_all(work);
}

}  // namespace
