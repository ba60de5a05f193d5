// The self-removal run for real: a stand-in launcher in throw-away trees, the real cmd
// running the real batch after the stand-in has ended.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <vector>

#include "base/error.h"
#include "base/module_path.h"
#include "base/system_error.h"
#include "base/text_win.h"
#include "base/handle.h"
#include "package/paths.h"
#include "package/batch.h"
#include "package/batch_win.h"
#include "tests/sjis_samples.h"
#include "tests/wine/file_bytes.h"
#include "tests/wine/unix_link.h"
#include "shell/folder_removal.h"
#include "shell/self_removal_win.h"

namespace ear {
namespace {

using testing_win::CreateLink;
using testing_win::Exists;
using testing_win::Listing;
using testing_win::MakeFolderLink;
using testing_win::MakeFolders;
using testing_win::ReadBytes;
using testing_win::RunUnix;
using testing_win::UnderWine;
using testing_win::UnixPath;
using testing_win::WriteBytes;

void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA entry;
  const HANDLE find = FindFirstFileA(JoinPath(folder, "*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = entry.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = JoinPath(folder, name);
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(find, &entry));
    FindClose(find);
  }
  RemoveDirectoryA(folder.c_str());
}

std::string StandInPath() {
  return ExeFolder(ExecutablePath()) + EAR_STAND_IN;
}

std::string FreshRoot(const std::string& tag) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string root = JoinPath(temp, "ear-sr-" + tag + "-" +
                                              std::to_string(GetCurrentProcessId()) + "-" +
                                              std::to_string(GetTickCount64()));
  MakeFolders(root);
  return root;
}

// A launcher folder as delivered: the executable beside a package with nested,
// hidden and system entries.
void MakeLauncherFolder(const std::string& exeFolder) {
  const std::string package = exeFolder + "##TMP##";
  MakeFolders(package + "\\system\\1");
  MakeFolders(package + "\\system\\Image");
  MakeFolders(package + "\\a\\b\\c");
  ASSERT_TRUE(CopyFileA(StandInPath().c_str(), (exeFolder + "ExamAutoRunner.exe").c_str(), FALSE));
  WriteBytes(package + "\\[1]TEST.exe", "MZ");
  WriteBytes(package + "\\system\\system.ini", "[\x8a\xee\x96\x7b\x8f\xee\x95\xf1]\r\n");
  WriteBytes(package + "\\system\\1\\setup.ini", "x");
  WriteBytes(package + "\\system\\Image\\bg.jpg", "jpg");
  WriteBytes(package + "\\a\\b\\c\\deep.txt", "deep");
  WriteBytes(package + "\\a\\b\\" SO ".txt", "so");
  WriteBytes(package + "\\a\\hidden.txt", "h");
  SetFileAttributesA((package + "\\a\\hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  SetFileAttributesA((package + "\\system").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
}

// What must survive beside the launcher folder, including another "##TMP##".
void MakeNeighbours(const std::string& folder) {
  MakeFolders(folder + "keepdir\\##TMP##");
  WriteBytes(folder + "keep.txt", "keep");
  WriteBytes(folder + "keepdir\\inner.txt", "inner");
  WriteBytes(folder + "keepdir\\##TMP##\\not ours.txt", "x");
  MakeFolders(folder + "##TMP##");
  WriteBytes(folder + "##TMP##\\not ours either.txt", "x");
}

HANDLE Start(const std::string& application, const std::string& arguments,
             const std::string& currentFolder, DWORD flags = 0) {
  std::string commandLine = "\"" + application + "\" " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, flags, nullptr,
                      currentFolder.c_str(), &startup, &process)) {
    ADD_FAILURE() << "cannot start " << application << ": " << GetLastError();
    return nullptr;
  }
  CloseHandle(process.hThread);
  return process.hProcess;
}

struct Case {
  const char* label;
  std::string parentName;  // the folder that holds the launcher folder
  std::string exeFolderName;
  enum Kind { kRemoved, kReadOnlyInPackage, kHeldInPackage, kNoPackage, kBatchBlocked, kFromElsewhere } kind = kRemoved;
};

struct Trial {
  const Case* c;
  std::string parent;      // with separator
  std::string exeFolder;   // with separator
  std::string startFolder;
  std::string resultFile;
  std::vector<std::string> neighboursBefore;
  std::vector<std::string> packageBefore;
  std::vector<std::string> startFolderBefore;
  HANDLE process = nullptr;
  HANDLE held = INVALID_HANDLE_VALUE;
  ULONGLONG ended = 0;
  ULONGLONG folderGone = 0;
};

TEST(SelfRemoval, RemovesPackageExecutableFolderAndBatchForReal) {
  const Case cases[] = {
      {"plain", "p", "ExamAutoRunner"},
      {"space", "p", "a b"},
      {"full-width space", "p", "a" WSP "b"},
      {"ampersand", "p", "a&b"},
      {"caret", "p", "a^b"},
      {"percent", "p", "100%"},
      {"percent pair", "p", "%PATH%"},
      {"semicolon", "p", "a;b"},
      {"comma", "p", "a,b"},
      {"equals", "p", "a=b"},
      {"parentheses", "p", "(x86)"},
      {"exclamation", "p", "a!b!"},
      {"so and hyo (second byte 5C)", "p", SO HYO},
      {"ta and un (second byte 5E)", "p", TA UN "^"},
      {"everything at once", "p", SO " " HYO "&" TA "^" UN "%;,=" WSP "(!)"},
      // No "%" here: Wine's cmd cannot start a batch whose own path holds one.
      {"hostile parent", "p (x86) & q^!;,=", "a b"},
      {"hostile parent of second bytes", SO TA " " UN, HYO},
      // Wine's cmd drops a "%" of the batch's own path from %0: "DEL %0" missed the batch.
      {"percent in the parent", "100%完了", "ExamAutoRunner"},
      // Started from an unrelated folder with its own "##TMP##": only the package beside
      // the executable goes.
      {"started elsewhere", "p", "ExamAutoRunner", Case::kFromElsewhere},
      // Every file copied from a CD is read-only: made writable and deleted.
      {"read-only entries in the package", "p", "ro", Case::kReadOnlyInPackage},
      // A file another program holds open stays; everything else of the package goes.
      {"a file in the package held open", "p", "held", Case::kHeldInPackage},
      {"no package", "p", "empty", Case::kNoPackage},
      {"batch cannot be written", "p", "blocked", Case::kBatchBlocked},
  };
  const std::string root = FreshRoot("run");
  std::vector<Trial> runs;
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    Trial r;
    r.c = &c;
    const std::string caseFolder = root + "\\c" + std::to_string(i) + "\\";
    r.parent = caseFolder + c.parentName + "\\";
    r.exeFolder = r.parent + c.exeFolderName + "\\";
    MakeFolders(r.exeFolder);
    MakeLauncherFolder(r.exeFolder);
    MakeNeighbours(r.parent);
    if (c.kind == Case::kReadOnlyInPackage) {
      const std::string locked = r.exeFolder + "##TMP##\\system\\locked.txt";
      WriteBytes(locked, "ro");
      SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY);
      SetFileAttributesA((r.exeFolder + "##TMP##\\a\\hidden.txt").c_str(),
                         FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
      SetFileAttributesA((r.exeFolder + "##TMP##\\a\\b").c_str(), FILE_ATTRIBUTE_READONLY);
    }
    if (c.kind == Case::kHeldInPackage) {
      r.held = CreateFileA((r.exeFolder + "##TMP##\\a\\b\\c\\deep.txt").c_str(), GENERIC_READ, FILE_SHARE_READ,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
      EXPECT_NE(r.held, INVALID_HANDLE_VALUE);
    }
    if (c.kind == Case::kNoPackage) RemoveTree(r.exeFolder + "##TMP##");
    if (c.kind == Case::kBatchBlocked) MakeFolders(r.parent + "ExamAutoRunner.BAT");
    // Wine's cmd keeps its start folder (the launcher's) busy even after "cd..": start outside it.
    r.startFolder = r.parent;
    if (c.kind == Case::kFromElsewhere) {
      r.startFolder = caseFolder + "elsewhere\\";
      MakeNeighbours(r.startFolder);
    }
    r.resultFile = caseFolder + "result.txt";
    r.neighboursBefore = Listing(r.parent);
    r.packageBefore = Listing(r.exeFolder);
    r.startFolderBefore = Listing(r.startFolder);
    runs.push_back(r);
  }
  for (Trial& r : runs) {
    r.process = Start(r.exeFolder + "ExamAutoRunner.exe", "\"--result=" + r.resultFile + "\"", r.startFolder);
  }
  for (Trial& r : runs) {
    if (!r.process) continue;
    EXPECT_EQ(WaitForSingleObject(r.process, 60000), WAIT_OBJECT_0) << r.c->label;
    r.ended = GetTickCount64();
    CloseHandle(r.process);
  }
  // The batches need a few seconds; the failed cases get the same time to show nothing happens.
  const ULONGLONG deadline = GetTickCount64() + 60000;
  for (;;) {
    bool waiting = false;
    for (Trial& r : runs) {
      if (r.folderGone == 0 && !Exists(r.exeFolder)) r.folderGone = GetTickCount64();
      if (r.c->kind == Case::kRemoved || r.c->kind == Case::kFromElsewhere ||
          r.c->kind == Case::kReadOnlyInPackage) {
        waiting |= Exists(r.exeFolder) || Exists(r.parent + "ExamAutoRunner.BAT");
      }
    }
    if (!waiting || GetTickCount64() > deadline) break;
    Sleep(100);
  }
  Sleep(2000);

  for (const Trial& r : runs) {
    SCOPED_TRACE(r.c->label);
    const std::string result = ReadBytes(r.resultFile);
    const std::string batch = r.parent + "ExamAutoRunner.BAT";
    std::vector<std::string> neighbours = Listing(r.parent);
    switch (r.c->kind) {
      case Case::kRemoved:
      case Case::kReadOnlyInPackage:
      case Case::kFromElsewhere: {
        EXPECT_EQ(result, "closed");
        EXPECT_FALSE(Exists(r.exeFolder));
        EXPECT_FALSE(Exists(batch));
        std::vector<std::string> expected = r.neighboursBefore;
        std::erase_if(expected, [&](const std::string& e) {
          return e.starts_with(r.c->exeFolderName + "\\");
        });
        EXPECT_EQ(neighbours, expected);
        if (r.c->kind == Case::kFromElsewhere) {
          EXPECT_EQ(Listing(r.startFolder), r.startFolderBefore);
        }
        if (r.folderGone != 0) {
          std::cout << "[ figures  ] " << r.c->label << ": folder gone "
                    << static_cast<long long>(r.folderGone - r.ended) << " ms after the launcher ended\n";
        }
        break;
      }
      case Case::kHeldInPackage: {
        // One error: the first failure's reason and how many entries stayed; the batch is not
        // started, so the launcher stays beside what is left.
        EXPECT_EQ(result, "error:" + RemovalFailureText(32, SystemMessage(32), 1));
        CloseHandle(r.held);
        EXPECT_EQ(Listing(r.exeFolder + "##TMP##"),
                  (std::vector<std::string>{"a\\", "a\\b\\", "a\\b\\c\\", "a\\b\\c\\deep.txt 4"}));
        EXPECT_TRUE(Exists(r.exeFolder + "ExamAutoRunner.exe"));
        EXPECT_TRUE(Exists(batch));
        break;
      }
      case Case::kNoPackage:
        EXPECT_EQ(result, "error:" + SystemErrorText(2, SystemMessage(2)));
        EXPECT_EQ(Listing(r.exeFolder), r.packageBefore);
        EXPECT_TRUE(Exists(batch));
        break;
      case Case::kBatchBlocked:
        EXPECT_EQ(result, "error:" + FileCreateErrorText(batch, SystemMessage(5)));
        EXPECT_EQ(Listing(r.exeFolder), r.packageBefore);
        EXPECT_EQ(neighbours, r.neighboursBefore);
        break;
    }
    if (r.c->kind == Case::kNoPackage || r.c->kind == Case::kBatchBlocked || r.c->kind == Case::kHeldInPackage) {
      std::erase_if(neighbours, [&](const std::string& e) {
        return e.starts_with(r.c->exeFolderName + "\\") || e.starts_with("ExamAutoRunner.BAT");
      });
      std::vector<std::string> expected = r.neighboursBefore;
      std::erase_if(expected, [&](const std::string& e) {
        return e.starts_with(r.c->exeFolderName + "\\") || e.starts_with("ExamAutoRunner.BAT");
      });
      EXPECT_EQ(neighbours, expected);
    }
  }
  if (!::testing::Test::HasFailure()) RemoveTree(root);
}

HWND WaitForInformationBox(ULONGLONG timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  while (GetTickCount64() < deadline) {
    if (const HWND box = FindWindowA("#32770", "\x8f\xee\x95\xf1")) return box;  // 情報
    Sleep(50);
  }
  return nullptr;
}

TEST(SelfRemoval, DebugModeOnlyWritesTheBatchWhichLaterRemovesTheLauncher) {
  const std::string root = FreshRoot("debug");
  const std::string parent = root + "\\" SO " p\\";
  const std::string exeFolder = parent + "a&" TA "\\";
  MakeFolders(exeFolder);
  MakeLauncherFolder(exeFolder);
  MakeNeighbours(parent);
  const std::vector<std::string> before = Listing(parent);
  const std::string resultFile = root + "\\result.txt";
  const HANDLE process = Start(exeFolder + "ExamAutoRunner.exe", "-debug \"--result=" + resultFile + "\"", parent);
  ASSERT_NE(process, nullptr);

  const HWND box = WaitForInformationBox(30000);
  ASSERT_NE(box, nullptr);
  char text[256] = {};
  GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
  // "デバッグ中は削除できません．　": a full-width full stop and space at the end
  EXPECT_EQ(std::string(text),
            "\x83\x66\x83\x6f\x83\x62\x83\x4f\x92\x86\x82\xcd\x8d\xed\x8f\x9c\x82\xc5\x82\xab\x82\xdc"
            "\x82\xb9\x82\xf1\x81\x44\x81\x40");
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(WaitForSingleObject(process, 30000), WAIT_OBJECT_0);
  CloseHandle(process);
  Sleep(5000);

  EXPECT_EQ(ReadBytes(resultFile), "returned");
  const std::string exePath = exeFolder + "ExamAutoRunner.exe";
  const std::string batchPath = parent + "ExamAutoRunner.BAT";
  const std::string batch = ReadBytes(batchPath);
  EXPECT_EQ(batch, CleanupBatchText(exePath, SystemFolder()));
  const std::string escaped = root + "\\" SO "^ p\\a^&" TA "\\ExamAutoRunner.exe";
  EXPECT_NE(batch.find("\r\nDEL ^\"" + escaped + "^\"\r\n"), std::string::npos) << batch;
  std::vector<std::string> now = Listing(parent);
  std::erase(now, "ExamAutoRunner.BAT " + std::to_string(batch.size()));
  EXPECT_EQ(now, before);

  // Later, with the package gone, the same batch run by the real cmd finishes the job.
  DeleteFolderTree(exeFolder + "##TMP##");
  char system[MAX_PATH] = {};
  GetSystemDirectoryA(system, MAX_PATH);
  const HANDLE cmd = Start(JoinPath(system, "cmd.exe"), "/d /s /c \"\"" + batchPath + "\"\"", parent,
                           CREATE_NO_WINDOW);
  ASSERT_NE(cmd, nullptr);
  EXPECT_EQ(WaitForSingleObject(cmd, 60000), WAIT_OBJECT_0);
  CloseHandle(cmd);
  EXPECT_FALSE(Exists(exeFolder));
  EXPECT_FALSE(Exists(batchPath));
  std::vector<std::string> expected = before;
  std::erase_if(expected, [](const std::string& e) { return e.starts_with("a&" TA "\\"); });
  EXPECT_EQ(Listing(parent), expected);
  if (!::testing::Test::HasFailure()) RemoveTree(root);
}

TEST(SelfRemoval, DeleteFolderTreeEmptiesInnermostFoldersFirst) {
  const std::string root = FreshRoot("tree");
  const std::string package = root + "\\##TMP##";
  MakeFolders(package + "\\a\\b");
  WriteBytes(package + "\\a\\b\\x", "x");
  WriteBytes(package + "\\a\\y", "y");
  WriteBytes(package + "\\z", "z");
  // Holding the top-level file open makes the delete fail after the folders below are gone.
  const HANDLE held = CreateFileA((package + "\\z").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  try {
    DeleteFolderTree(package);
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.Message(), RemovalFailureText(32, SystemMessage(32), 1));
  }
  CloseHandle(held);
  EXPECT_EQ(Listing(package), std::vector<std::string>{"z 1"});

  EXPECT_NO_THROW(DeleteFolderTree(package));
  EXPECT_FALSE(Exists(package));
  EXPECT_NO_THROW(DeleteFolderTree(""));
  try {
    DeleteFolderTree(package);  // gone: removing it is the failure
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.Message(), SystemErrorText(2, SystemMessage(2)));
  }
  RemoveTree(root);
}

// Names as the file system keeps them, in Unicode: one that reads in Shift-JIS as a way out of
// the package (U+00A5 becomes 0x5C, the separator) is an entry of the package like any other, and
// names outside Shift-JIS or ending in a dot or a space go too.
TEST(SelfRemoval, DeleteFolderTreeDeletesEveryNameByItsOwnUnicodeForm) {
  const std::string root = FreshRoot("names");
  const std::string package = root + "\\launcher\\##TMP##";
  MakeFolders(package);
  // What "##TMP##\..\..\" would reach: the user's files beside the launcher's folder.
  MakeFolders(root + "\\victimdir");
  WriteBytes(root + "\\victim.txt", "user");
  WriteBytes(root + "\\victimdir\\inner.txt", "user");
  const std::wstring wide = L"\\\\?\\" + Widen(package, kFileSystemCodePage) + L"\\";
  const std::wstring folders[] = {L"..\u00a5..\u00a5victimdir", L"..\u00a5..", L"dir. ", L"\u4fa1\u683c\u00a5100",
                                  L"r\u00e9sum\u00e9"};
  const std::wstring files[] = {L"..\u00a5..\u00a5victim.txt", L"..\u00a5..\u00a5victimdir\\inner.txt",
                                L"..\u00a5..\\victim.txt", L"r\u00e9sum\u00e9.txt", L"\ud55c\uad6d\uc5b4.txt",
                                L"\u4fa1\u683c\u00a5100.txt", L"trail.", L"trail ", L"dir. \\x.", L"\u4fa1\u683c\u00a5100\\y ",
                                L"r\u00e9sum\u00e9\\\u00a5"};
  for (const std::wstring& f : folders) ASSERT_TRUE(CreateDirectoryW((wide + f).c_str(), nullptr));
  for (const std::wstring& f : files) {
    const FileHandle file(CreateFileW((wide + f).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file) << GetLastError();
  }
  SetFileAttributesW((wide + L"r\u00e9sum\u00e9.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  const std::vector<std::string> before = Listing(root);

  std::string error;
  try {
    DeleteFolderTree(package);
  } catch (const Error& e) {
    error = e.Message();
  }
  EXPECT_EQ(error, "");
  EXPECT_FALSE(Exists(package));
  std::vector<std::string> expected = before;
  std::erase_if(expected, [](const std::string& e) { return e.starts_with("launcher\\##TMP##\\"); });
  EXPECT_EQ(Listing(root), expected);
  EXPECT_EQ(ReadBytes(root + "\\victim.txt"), "user");
  EXPECT_EQ(ReadBytes(root + "\\victimdir\\inner.txt"), "user");
  RemoveTree(root);
}

// What cannot be deleted (a file another program holds open) stays, the rest goes, and one error
// says the first failure's reason and how many entries stayed.
TEST(SelfRemoval, DeleteFolderTreeGoesOnPastWhatItCannotDelete) {
  const std::string root = FreshRoot("held");
  const std::string package = root + "\\##TMP##";
  MakeFolders(package + "\\a\\b");
  MakeFolders(package + "\\c");
  for (const char* f : {"\\a\\b\\held1", "\\a\\b\\x", "\\a\\y", "\\c\\held2", "\\c\\z", "\\w"}) {
    WriteBytes(package + f, "x");
  }
  SetFileAttributesA((package + "\\a\\y").c_str(), FILE_ATTRIBUTE_READONLY);
  std::vector<HANDLE> held;
  for (const char* f : {"\\a\\b\\held1", "\\c\\held2"}) {
    held.push_back(CreateFileA((package + f).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_NE(held.back(), INVALID_HANDLE_VALUE);
  }
  std::string error;
  try {
    DeleteFolderTree(package);
  } catch (const Error& e) {
    error = e.Message();
  }
  for (HANDLE h : held) CloseHandle(h);
  EXPECT_EQ(error, RemovalFailureText(ERROR_SHARING_VIOLATION, SystemMessage(ERROR_SHARING_VIOLATION), 2));
  EXPECT_EQ(Listing(package), (std::vector<std::string>{"a\\", "a\\b\\", "a\\b\\held1 1", "c\\", "c\\held2 1"}));
  EXPECT_NO_THROW(DeleteFolderTree(package));
  EXPECT_FALSE(Exists(package));
  RemoveTree(root);
}

// Every entry below folder with the bytes of each file.
std::vector<std::string> Contents(const std::string& folder) {
  std::vector<std::string> contents;
  for (const std::string& entry : Listing(folder)) {
    contents.push_back(entry);
    if (!entry.ends_with("\\")) {
      contents.push_back(ReadBytes(JoinPath(folder, entry.substr(0, entry.rfind(' ')))));
    }
  }
  return contents;
}

// The package, or a folder in it, as a link to the centre's master copy: the link goes (where
// the system can address a link itself), and nothing behind it. Wine opens the target of a Unix
// link even when asked for the link: there the delete is refused with an error. (Wine shows a
// Unix link to a file as a plain file, so a file link cannot be told apart there.)
TEST(SelfRemoval, DeleteFolderTreeNeverGoesThroughALink) {
  struct Case {
    const char* label;
    std::string link;    // relative to the case folder
    std::string target;  // relative to the case folder
  };
  const Case cases[] = {
      {"the package is a link to a full folder", "##TMP##", "master"},
      {"the package is a link to an empty folder", "##TMP##", "empty"},
      {"a folder in the package is a link", "##TMP##\\system\\linked", "master"},
  };
  const std::string root = FreshRoot("links");
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(c.label);
    const std::string caseFolder = root + "\\c" + std::to_string(i) + "\\";
    MakeFolders(caseFolder + "master\\sub");
    MakeFolders(caseFolder + "empty");
    WriteBytes(caseFolder + "master\\setup.ini", "[\x8a\xee\x96\x7b\x8f\xee\x95\xf1]\r\n");
    WriteBytes(caseFolder + "master\\[1]TEST.exe", "MZ");
    WriteBytes(caseFolder + "master\\sub\\bg.jpg", "\xff\xd8");
    if (c.link != "##TMP##") {
      MakeFolders(caseFolder + "##TMP##\\system");
      WriteBytes(caseFolder + "##TMP##\\system\\system.ini", "x");
    }
    MakeFolderLink(caseFolder + c.target, caseFolder + c.link);
    const std::vector<std::string> masterBefore = Contents(caseFolder + "master");
    {
      // Listed as the walk lists it, the link reads as a link: a name surrogate on Windows, a
      // reparse point without a tag under Wine.
      WIN32_FIND_DATAW found;
      const FindHandle find(FindFirstFileW(Widen(caseFolder + c.link, kFileSystemCodePage).c_str(), &found));
      ASSERT_TRUE(find);
      EXPECT_EQ(ActionFor(found.cFileName, found.dwFileAttributes, found.dwReserved0), EntryAction::kRemoveLink)
          << std::hex << found.dwFileAttributes << " " << found.dwReserved0;
    }

    std::string error;
    try {
      DeleteFolderTree(caseFolder + "##TMP##");
    } catch (const Error& e) {
      error = e.Message();
    }
    EXPECT_EQ(Contents(caseFolder + "master"), masterBefore);
    EXPECT_TRUE(Exists(caseFolder + "empty"));
    if (UnderWine()) {
      EXPECT_EQ(error, RemovalFailureText(ERROR_NOT_A_REPARSE_POINT, SystemMessage(ERROR_NOT_A_REPARSE_POINT), 1));
      // What is not the link goes all the same.
      EXPECT_FALSE(Exists(caseFolder + "##TMP##\\system\\system.ini"));
      EXPECT_NE(GetFileAttributesA((caseFolder + c.link).c_str()) & FILE_ATTRIBUTE_REPARSE_POINT, 0u);
    } else {
      EXPECT_EQ(error, "");
      EXPECT_FALSE(Exists(caseFolder + "##TMP##"));
    }
  }
  // The links are Unix ones: removed from the Unix side.
  if (UnderWine() && !::testing::Test::HasFailure()) RunUnix("Z:\\bin\\rm", "-rf \"" + UnixPath(root) + "\"");
}

// A symbolic link to a file in the package goes as the link; the file it points to stays.
TEST(SelfRemoval, DeleteFolderTreeRemovesAFileLinkNotItsTarget) {
  if (UnderWine()) {
    // Wine lists a Unix symbolic link to a file as a plain file, and deleting it deletes the file it
    // points to (measured); Windows lists a file link as a reparse point and deletes the link only.
    GTEST_SKIP() << "Wine cannot show a link to a file: it lists one as a plain file and its delete "
                    "removes the target, which Windows never does";
  }
  const std::string root = FreshRoot("filelink");
  MakeFolders(root + "\\##TMP##\\system");
  WriteBytes(root + "\\master.ini", "master");
  ASSERT_TRUE(CreateLink(root + "\\##TMP##\\system\\system.ini", root + "\\master.ini", 0)) << GetLastError();
  EXPECT_NO_THROW(DeleteFolderTree(root + "\\##TMP##"));
  EXPECT_FALSE(Exists(root + "\\##TMP##"));
  EXPECT_EQ(ReadBytes(root + "\\master.ini"), "master");
  RemoveTree(root);
}

}  // namespace
}  // namespace ear
