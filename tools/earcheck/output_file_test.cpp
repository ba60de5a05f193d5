// The files earcheck writes: renamed over the destination, never written through a link, never
// left half; and a destination that is a file of the package, by identity.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tools/earcheck/output_file.h"

namespace {

namespace fs = std::filesystem;

class OutputFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("earcheck-output-" + std::to_string(::getpid()));
    fs::remove_all(root_);
    fs::create_directories(root_ / "pkg" / "system" / "Image");
    fs::create_directories(root_ / "out");
    Write(root_ / "pkg" / "system" / "system.ini", "[基本情報]\r\n");
    Write(root_ / "pkg" / "system" / "Image" / "bg.jpg", "jpeg");
  }
  void TearDown() override { fs::remove_all(root_); }

  static void Write(const fs::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }
  static std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  // The folder's entries: no temporary file may be left among them.
  static std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path root_;
};

TEST_F(OutputFileTest, ALinkIsReplacedNotWrittenThrough) {
  const fs::path ini = root_ / "pkg" / "system" / "system.ini";
  const fs::path hard = root_ / "out" / "hard.html", soft = root_ / "out" / "soft.html";
  fs::create_hard_link(ini, hard);
  fs::create_symlink(ini, soft);
  for (const fs::path& link : {hard, soft}) {
    std::string reason;
    ASSERT_TRUE(earcheck::WriteWholeFile(link.string(), "<html>", reason)) << reason;
    EXPECT_EQ(Read(link), "<html>");
    EXPECT_FALSE(fs::is_symlink(link));
  }
  EXPECT_EQ(Read(ini), "[基本情報]\r\n");
  EXPECT_EQ(Names(root_ / "out"), (std::vector<std::string>{"hard.html", "soft.html"}));
}

TEST_F(OutputFileTest, AFailedWriteLeavesTheOldFileAndNoTemporaryFile) {
  const fs::path page = root_ / "out" / "r.html";
  Write(page, "old page");
  {
    earcheck::OutputFile out(page.string());
    ASSERT_TRUE(out.Write("new"));
    // Dropped without Commit, as when painting stops half-way.
  }
  EXPECT_EQ(Read(page), "old page");
  // A rename that fails (a folder of that name) leaves the folder and no temporary file.
  const fs::path folder = root_ / "out" / "folder.html";
  fs::create_directories(folder / "inner");
  earcheck::OutputFile out(folder.string());
  ASSERT_TRUE(out.Write("new"));
  EXPECT_FALSE(out.Commit());
  EXPECT_FALSE(out.Reason().empty());
  EXPECT_TRUE(fs::is_directory(folder / "inner"));
  EXPECT_EQ(Names(root_ / "out"), (std::vector<std::string>{"folder.html", "r.html"}));
  // A folder that does not exist: no temporary file can be made.
  earcheck::OutputFile nowhere((root_ / "none" / "r.html").string());
  EXPECT_FALSE(nowhere.Ok());
  EXPECT_FALSE(nowhere.Write("x"));
  EXPECT_FALSE(nowhere.Commit());
}

TEST_F(OutputFileTest, AnExistingTemporaryNameIsNeverUsed) {
  const fs::path page = root_ / "out" / "r.html";
  // The first name this process would take is a link into the package.
  const fs::path taken = earcheck::TemporaryName(page.string(), static_cast<unsigned long>(::getpid()), 1);
  fs::create_symlink(root_ / "pkg" / "system" / "system.ini", taken);
  std::string reason;
  ASSERT_TRUE(earcheck::WriteWholeFile(page.string(), "<html>", reason)) << reason;
  EXPECT_EQ(Read(page), "<html>");
  EXPECT_EQ(Read(root_ / "pkg" / "system" / "system.ini"), "[基本情報]\r\n");
  EXPECT_TRUE(fs::is_symlink(taken));
}

TEST_F(OutputFileTest, PackageFilesByIdentity) {
  const fs::path pkg = root_ / "pkg";
  const fs::path bg = pkg / "system" / "Image" / "bg.jpg";
  fs::create_hard_link(bg, root_ / "out" / "hard.png");
  fs::create_symlink(bg, root_ / "out" / "soft.png");
  fs::create_symlink(root_ / "out" / "soft.png", root_ / "out" / "chain.png");
  fs::create_symlink(pkg / "system", root_ / "out" / "folder-link");
  Write(root_ / "out" / "copy.png", "jpeg");  // the same bytes, another file
  struct Case {
    fs::path file;
    bool packageFile;
  };
  const Case cases[] = {
      {bg, true},
      {root_ / "out" / "hard.png", true},
      {root_ / "out" / "soft.png", true},
      {root_ / "out" / "chain.png", true},
      {root_ / "out" / "folder-link" / "system.ini", true},
      {root_ / "out" / "copy.png", false},
      {root_ / "out" / "missing.png", false},
      {pkg / "system", false},  // a folder is the folder guard's
  };
  for (const Case& c : cases) {
    EXPECT_EQ(earcheck::IsPackageFile(c.file.string(), pkg.string()), c.packageFile) << c.file;
  }
}

}  // namespace
