#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "base/error.h"
#include "base/handle.h"
#include "package/ini.h"
#include "package/paths.h"
#include "tests/wine/file_bytes.h"

namespace ear {
namespace {

#define KIHON "\x8a\xee\x96\x7b\x8f\xee\x95\xf1"             // 基本情報
#define SHIKENMEI "\x8e\x8e\x8c\xb1\x96\xbc"                 // 試験名
#define JUKENSHA "\x8e\xf3\x8c\xb1\x8e\xd2\x8f\xee\x95\xf1"  // 受験者情報
#define SEI "\x90\xa9"                                       // 姓
#define HYO "\x95\x5c"                                       // 表
#define SO "\x83\x5c"                                        // ソ

class IniFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder_ = JoinPath(temp, "ear-ini-" + std::to_string(GetCurrentProcessId()) + "-" +
                                 std::to_string(GetTickCount64()) + "-" SO HYO);
    ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr));
  }
  void TearDown() override {
    WIN32_FIND_DATAA entry;
    const FindHandle find(FindFirstFileA(JoinPath(folder_, "*").c_str(), &entry));
    if (find) {
      do {
        const std::string path = JoinPath(folder_, entry.cFileName);
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
      } while (FindNextFileA(find.Get(), &entry));
    }
    RemoveDirectoryA(folder_.c_str());
  }
  std::string Path(const std::string& name) const { return JoinPath(folder_, name); }

  static void WriteBytes(const std::string& path, const std::string& bytes) {
    testing_win::WriteBytes(path, bytes);
  }
  static std::string ReadBytes(const std::string& path) { return testing_win::ReadBytes(path); }

  std::string folder_;
};

TEST_F(IniFiles, JapaneseNamesAndValuesRoundTripAsShiftJisOnDisk) {
  const std::string path = Path("system.ini");
  const std::string value = HYO "\x8c\x76\x8e\x5a" SO "\x83\x74\x83\x67 ^%";  // 表計算ソフト ^%
  WriteIniString(path, KIHON, SHIKENMEI, value);
  EXPECT_EQ(ReadBytes(path), "[" KIHON "]\r\n" SHIKENMEI "=" + value + "\r\n");
  EXPECT_EQ(ReadIniString(path, KIHON, SHIKENMEI), value);
  WriteIniString(path, KIHON, "ABB", "1");
  EXPECT_EQ(ReadIniString(path, KIHON, "abb"), "1");  // names ignore letter case
  EXPECT_EQ(ReadIniString(path, KIHON, SHIKENMEI), value);
}

TEST_F(IniFiles, WhatIsMissingOrEmptyReadsAsEmpty) {
  const std::string path = Path("setup.ini");
  WriteBytes(path, "[" KIHON "]\r\nempty=\r\nx=1\r\n");
  struct Case { std::string file; std::string section; std::string key; std::string expected; };
  const Case cases[] = {
      {path, KIHON, "x", "1"},
      {path, KIHON, "empty", ""},
      {path, KIHON, "nokey", ""},
      {path, JUKENSHA, "x", ""},
      {Path("none.ini"), KIHON, "x", ""},
      {Path("nofolder\\none.ini"), KIHON, "x", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadIniString(c.file, c.section, c.key), c.expected) << c.file << " " << c.key;
  }
  EXPECT_EQ(GetFileAttributesA(Path("none.ini").c_str()), INVALID_FILE_ATTRIBUTES);  // reading creates nothing
}

TEST_F(IniFiles, LongValuesAreCutOnACharacterBoundary) {
  std::string hyo1500;
  for (int i = 0; i < 1500; ++i) hyo1500 += HYO;
  const std::string path = Path("long.ini");
  struct Case { std::string value; std::string expected; };
  const Case cases[] = {
      {std::string(3000, 'a'), std::string(2047, 'a')},
      {hyo1500, hyo1500.substr(0, 2046)},
      {std::string("a").append(hyo1500), std::string("a").append(hyo1500, 0, 2046)},
  };
  for (const auto& c : cases) {
    WriteBytes(path, "[s]\r\nk=" + c.value + "\r\n");
    const std::string read = ReadIniString(path, "s", "k");
    EXPECT_EQ(read.size(), c.expected.size());
    EXPECT_EQ(read, c.expected);
  }
}

TEST_F(IniFiles, ReadsSeeChangesMadeBehindTheirBack) {
  const std::string path = Path("shiken.ini");
  WriteBytes(path, "[s]\r\nk=old\r\n");
  EXPECT_EQ(ReadIniString(path, "s", "k"), "old");
  WriteBytes(path, "[s]\r\nk=new value\r\n");
  EXPECT_EQ(ReadIniString(path, "s", "k"), "new value");
}

TEST_F(IniFiles, FirstWriteCreatesShikenIniWithItsSection) {
  const std::string path = Path("shiken.ini");
  WriteIniString(path, JUKENSHA, SEI, "\x8e\x52\x93\x63");  // 山田
  EXPECT_EQ(ReadBytes(path), "[" JUKENSHA "]\r\n" SEI "=\x8e\x52\x93\x63\r\n");
}

// Writes to path, which refuses every write: 11 attempts with 10 pauses of 100 ms, then the
// error that names the file. Each pause notes its length; the file stays as it was.
void ExpectRefusedElevenTimes(const std::string& path, bool readable) {
  std::vector<unsigned> pauses;
  try {
    WriteIniString(path, JUKENSHA, SEI, "x", [&](unsigned ms) {
      pauses.push_back(ms);
      if (readable) {
        EXPECT_EQ(testing_win::ReadBytes(path), "[" JUKENSHA "]\r\n");
      }
    });
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    // "<path> に書き込めません"
    EXPECT_EQ(e.Message(), path + " \x82\xc9\x8f\x91\x82\xab\x8d\x9e\x82\xdf\x82\xdc\x82\xb9\x82\xf1");
  }
  EXPECT_EQ(pauses, std::vector<unsigned>(10, 100));
}

TEST_F(IniFiles, AWriteToAHeldFileOrAFolderIsTriedElevenTimesThenNamed) {
  const std::string held = Path("held.ini");
  WriteBytes(held, "[" JUKENSHA "]\r\n");
  FileHandle handle(CreateFileA(held.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(handle);
  ExpectRefusedElevenTimes(held, false);
  handle.Reset();
  EXPECT_EQ(ReadBytes(held), "[" JUKENSHA "]\r\n");

  const std::string folder = Path("folder.ini");
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  ExpectRefusedElevenTimes(folder, false);
  RemoveDirectoryA(folder.c_str());
}

// The folder named by the environment variable (set by ini_win_test.sh), or "".
std::string FolderFromEnvironment(const char* name) {
  char value[MAX_PATH] = {};
  const DWORD n = GetEnvironmentVariableA(name, value, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::string(value, n) : "";
}

TEST_F(IniFiles, AWriteToAReadOnlyFileIsTriedElevenTimesThenNamed) {
  std::string path = Path("shiken.ini");
  WriteBytes(path, "[" JUKENSHA "]\r\n");
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
  const FileHandle probe(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (probe) {
    // Wine run by root writes read-only files anyway (Windows refuses), but not through a
    // read-only mount: ini_win_test.sh makes one, and names it and its writable source.
    const std::string view = FolderFromEnvironment("EAR_READ_ONLY_VIEW");
    const std::string source = FolderFromEnvironment("EAR_READ_ONLY_SOURCE");
    ASSERT_FALSE(view.empty() || source.empty()) << "run by ini_win_test.sh, which mounts a read-only folder";
    WriteBytes(JoinPath(source, "shiken.ini"), "[" JUKENSHA "]\r\n");
    path = JoinPath(view, "shiken.ini");
  }
  ExpectRefusedElevenTimes(path, true);
  EXPECT_EQ(ReadBytes(path), "[" JUKENSHA "]\r\n");
}

TEST_F(IniFiles, AWriteThatCanGoThroughDuringTheRetriesSucceeds) {
  const std::string path = Path("held.ini");
  WriteBytes(path, "[" JUKENSHA "]\r\n");
  FileHandle held(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(held);
  std::vector<unsigned> pauses;
  // The file is let go during the third pause: the fourth attempt writes.
  WriteIniString(path, JUKENSHA, SEI, "x", [&](unsigned ms) {
    pauses.push_back(ms);
    if (pauses.size() == 3) held.Reset();
  });
  held.Reset();
  EXPECT_EQ(pauses, std::vector<unsigned>(3, 100));
  EXPECT_EQ(ReadBytes(path), "[" JUKENSHA "]\r\n" SEI "=x\r\n");
}

}  // namespace
}  // namespace ear
