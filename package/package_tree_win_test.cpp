// The longest path inside a package, gathered on disk by Unicode names and measured as the
// names will be in Shift-JIS.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/text_win.h"
#include "package/package_tree_win.h"
#include "tests/wine/unix_link.h"

namespace ear {
namespace {

using testing_win::MakeFolderLink;

TEST(PackageTree, NamesAreMeasuredAsShiftJisText) {
  struct Case { const wchar_t* name; std::size_t bytes; };
  const Case cases[] = {
      {L"", 0},
      {L"setup.ini", 9},
      {L"\u8868\u793A\u30BD\u30D5\u30C8", 10},  // 表示ソフト: 0x5C second bytes are no separators
      {L"\uFF71\uFF72", 2},                     // half-width katakana: one byte each
      {L"\u2460", 2},                           // ① (NEC's row 13)
      {L"\uD55C\uAE00.txt", 8},                 // 한글: no Shift-JIS form, two bytes each
      {L"caf\u00E9", 5},                        // é has only a best fit ("e"): two bytes
      {L"\U0001F600x", 3},                      // a character outside the BMP counts once
  };
  for (const Case& c : cases) EXPECT_EQ(ShiftJisLength(c.name), c.bytes) << Narrow(c.name, 65001);
}

class PackageFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    root_ = std::wstring(L"\\\\?\\") + temp + L"ear-tree-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(GetTickCount64());
    ASSERT_TRUE(CreateDirectoryW(root_.c_str(), nullptr));
  }
  void TearDown() override { Remove(root_); }

  void Folder(const std::wstring& relative) {
    ASSERT_TRUE(CreateDirectoryW((root_ + L"\\" + relative).c_str(), nullptr)) << Narrow(relative, 65001);
  }
  void File(const std::wstring& relative) {
    const HANDLE h = CreateFileW((root_ + L"\\" + relative).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << Narrow(relative, 65001);
    CloseHandle(h);
  }
  // The launcher's form of the folder: CP932 bytes without the long-path prefix.
  std::string Package() const { return Narrow(root_.substr(4), kFileSystemCodePage); }

  static void Remove(const std::wstring& folder) {
    WIN32_FIND_DATAW entry;
    const HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = folder + L"\\" + name;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
          Remove(path);
        } else if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          RemoveDirectoryW(path.c_str());
        } else {
          DeleteFileW(path.c_str());
        }
      } while (FindNextFileW(find, &entry));
      FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
  }

  std::wstring root_;
};

TEST_F(PackageFolder, TheLongestPathOfAnyFileOrFolderCounts) {
  EXPECT_EQ(LongestPathInside(Package() + "\\missing"), 0u);
  EXPECT_EQ(LongestPathInside(Package()), 0u);
  Folder(L"system");
  File(L"system\\shiken.ini");
  EXPECT_EQ(LongestPathInside(Package()), 17u);
  EXPECT_EQ(LongestPathInside(Package() + "\\"), 17u);
  Folder(L"system\\1");
  File(L"system\\1\\setup.ini");  // one byte longer than system\shiken.ini
  EXPECT_EQ(LongestPathInside(Package()), 18u);
  Folder(L"system\\Image");
  Folder(L"system\\Image\\\u8868\u793A\u30BD\u30D5\u30C8");  // an empty folder counts: 23 bytes
  EXPECT_EQ(LongestPathInside(Package()), 23u);
  // A name that the ANSI functions would show as "?": read by its Unicode name, two bytes.
  Folder(L"system\\\uD55C");
  File(L"system\\\uD55C\\abcdefghijklmnopqrstuvwxyz.txt");
  EXPECT_EQ(LongestPathInside(Package()), 6 + 1 + 2 + 1 + 30u);
  // Past MAX_PATH from the package's own place: listed whole.
  const std::wstring a(100, L'a'), b(100, L'b');
  Folder(a);
  Folder(a + L"\\" + b);
  File(a + L"\\" + b + L"\\" + std::wstring(70, L'c'));
  EXPECT_EQ(LongestPathInside(Package()), 100 + 1 + 100 + 1 + 70u);
}

// A link to a folder inside the package (under Wine a Unix one: Wine lists only those as links).
TEST_F(PackageFolder, ALinkCountsByItsOwnNameAndIsNeverFollowed) {
  Folder(L"elsewhere");
  Folder(L"elsewhere\\" + std::wstring(60, L'd'));
  Folder(L"pkg");
  Folder(L"pkg\\system");
  MakeFolderLink(root_.substr(4) + L"\\elsewhere", root_.substr(4) + L"\\pkg\\system\\lnk");
  EXPECT_EQ(LongestPathInside(Package() + "\\pkg"), 10u);  // system\lnk
}

}  // namespace
}  // namespace ear
