#include <gtest/gtest.h>

#include "package/paths.h"

namespace ear {
namespace {

// "ソ" (83 5C) and "表" (95 5C) end in the separator's byte value.
#define SO "\x83\x5c"
#define HYO "\x95\x5c"

TEST(PackagePaths, FoldersSplitOnlyAtRealSeparators) {
  struct Case {
    std::string exe;
    std::string exeFolder;
    std::string parentFolder;
    bool root;
  };
  const Case cases[] = {
      {"C:\\exam\\ExamAutoRunner.exe", "C:\\exam\\", "C:\\", false},
      {"C:\\" SO "\\ExamAutoRunner.exe", "C:\\" SO "\\", "C:\\", false},
      {"D:\\a\\" HYO "\\b\\x.exe", "D:\\a\\" HYO "\\b\\", "D:\\a\\" HYO "\\", false},
      {"D:\\" HYO SO "\\" SO ".exe", "D:\\" HYO SO "\\", "D:\\", false},
      // A root install's parent is the root itself, never the bare "C:" (which names the
      // drive's current directory) nor "\\srv\" (which is no folder).
      {"C:\\ExamAutoRunner.exe", "C:\\", "C:\\", true},
      {"C:\\" SO ".exe", "C:\\", "C:\\", true},
      {"\\\\srv\\share\\x.exe", "\\\\srv\\share\\", "\\\\srv\\share\\", true},
      {"\\\\srv\\share\\d\\x.exe", "\\\\srv\\share\\d\\", "\\\\srv\\share\\", false},
      {"x.exe", "", "", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.exe);
    EXPECT_EQ(ExeFolder(c.exe), c.exeFolder);
    EXPECT_EQ(ParentFolder(c.exe), c.parentFolder);
    EXPECT_EQ(InRootFolder(c.exe), c.root);
  }
}

TEST(PackagePaths, AllPackagePathsHangOffTheExecutableFolder) {
  const PackagePaths p = PackagePathsFor("C:\\" SO "\\ExamAutoRunner.exe");
  EXPECT_EQ(p.package, "C:\\" SO "\\##TMP##");
  EXPECT_EQ(p.systemFolder, "C:\\" SO "\\##TMP##\\system\\");
  EXPECT_EQ(p.systemIni, "C:\\" SO "\\##TMP##\\system\\system.ini");
  EXPECT_EQ(p.setupIni, "C:\\" SO "\\##TMP##\\system\\1\\setup.ini");
  EXPECT_EQ(p.shikenIni, "C:\\" SO "\\##TMP##\\system\\shiken.ini");
  EXPECT_EQ(p.imageFolder, "C:\\" SO "\\##TMP##\\system\\Image\\");
  EXPECT_EQ(p.batch, "C:\\ExamAutoRunner.BAT");
  EXPECT_EQ(ExamProgramPath(p, "ABC"), "C:\\" SO "\\##TMP##\\[1]ABC.exe");
}

TEST(PackagePaths, BatchStaysOutOfTheFolderItRemovesButNeverLeavesARoot) {
  struct Case { std::string exe; std::string parent; std::string batch; };
  const Case cases[] = {
      {"C:\\a\\b\\ExamAutoRunner.exe", "C:\\a\\", "C:\\a\\ExamAutoRunner.BAT"},
      {"C:\\a\\" HYO "\\ExamAutoRunner.exe", "C:\\a\\", "C:\\a\\ExamAutoRunner.BAT"},
      {"C:\\ExamAutoRunner.exe", "C:\\", "C:\\ExamAutoRunner.BAT"},
      {"\\\\srv\\share\\ExamAutoRunner.exe", "\\\\srv\\share\\", "\\\\srv\\share\\ExamAutoRunner.BAT"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.exe);
    const PackagePaths p = PackagePathsFor(c.exe);
    EXPECT_EQ(p.parentFolder, c.parent);
    EXPECT_EQ(p.batch, c.batch);
  }
}

TEST(PackagePaths, ARootInstallBuildsOnlyAbsolutePaths) {
  const PackagePaths p = PackagePathsFor("D:\\ExamAutoRunner.exe");
  EXPECT_EQ(p.exeFolder, "D:\\");
  EXPECT_EQ(p.parentFolder, "D:\\");
  EXPECT_EQ(p.package, "D:\\##TMP##");
  EXPECT_EQ(p.systemIni, "D:\\##TMP##\\system\\system.ini");
  EXPECT_EQ(p.setupIni, "D:\\##TMP##\\system\\1\\setup.ini");
  EXPECT_EQ(p.shikenIni, "D:\\##TMP##\\system\\shiken.ini");
  EXPECT_EQ(p.imageFolder, "D:\\##TMP##\\system\\Image\\");
  EXPECT_EQ(p.batch, "D:\\ExamAutoRunner.BAT");
}

TEST(PackagePaths, JoinAddsASeparatorOnlyWhenMissing) {
  struct Case { std::string folder; bool endsWithSeparator; std::string joined; };
  const Case cases[] = {
      {"C:\\a", false, "C:\\a\\x"},
      {"C:\\a\\", true, "C:\\a\\x"},
      {"C:\\" SO, false, "C:\\" SO "\\x"},  // ソ's 0x5C is no separator
      {"C:\\" SO "\\", true, "C:\\" SO "\\x"},
      {"##TMP##", false, "##TMP##\\x"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EndsWithSeparator(c.folder), c.endsWithSeparator) << c.folder;
    EXPECT_EQ(JoinPath(c.folder, "x"), c.joined) << c.folder;
  }
}

}  // namespace
}  // namespace ear
