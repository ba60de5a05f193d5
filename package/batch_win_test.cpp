// The launch batch run for real: written for a stand-in exam program in hostile folders and
// started as the launcher starts it, by the real cmd.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <utility>
#include <vector>

#include "package/batch.h"
#include "package/batch_win.h"
#include "package/paths.h"
#include "tests/sjis_samples.h"
#include "tests/wine/file_bytes.h"
#include "tests/wine/unix_link.h"

namespace ear {
namespace {

using testing_win::Exists;
using testing_win::Listing;
using testing_win::MakeFolders;
using testing_win::ReadBytes;
using testing_win::UnderWine;
using testing_win::WriteBytes;


std::string Hex(const std::string& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) out += digits[c >> 4], out += digits[c & 15];
  return out;
}

std::string SelfPath() {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  return self;
}

std::string StandInExam() { return SelfPath() + "\\..\\..\\tools\\standin_exam\\standin_exam.exe"; }

// A ping.bat and a ping.cmd in folder; each leaves a marker in markers if it ever runs.
void PlantPing(const std::string& folder, const std::string& markers, const std::string& tag) {
  for (const char* ext : {"bat", "cmd"}) {
    WriteBytes(JoinPath(folder, std::string("ping.") + ext),
               "@echo ran>\"" + markers + tag + "-" + ext + ".txt\"\r\n");
  }
}

struct Case {
  const char* label;
  // A "%" is fine; a defined variable's name between two ("%PATH%") is expanded on cmd's command
  // line, on Windows too, and the batch is not found.
  std::string parentName;
  std::string exeFolderName;
  std::string candidateName;
  std::string examName;
  bool othersInExeFolder = false;  // the launcher unpacked into a folder of the candidate's
};

// The candidate's own files beside the launcher: relative name and bytes (none for a folder).
const std::vector<std::pair<std::string, std::string>> kOthers = {
    {"report.docx", std::string("PK\x03\x04\0\r\n\x81\x40", 10)},
    {"photos\\", ""},
    {"photos\\p1.jpg", "\xff\xd8\xff\xe0 jpeg"},
    {"photos\\" SO HYO "\\", ""},
    {"photos\\" SO HYO "\\x.txt", "x"},
};

struct Trial {
  const Case* c;
  std::string caseFolder, parent, exeFolder, exam, batch, report;
  std::vector<std::string> siblingsBefore;
  std::vector<std::string> othersBefore;  // the launcher's folder without the executable
  ULONGLONG started = 0;
  ULONGLONG folderGone = 0;
};

#ifndef EAR_ROOT_DRIVE_TEST

TEST(LaunchBatch, StartsTheExamThenRemovesTheLauncherFolderAndItself) {
  const Case cases[] = {
      {"plain", "p", "ExamAutoRunner", "ABC12345_678" LBR "aB3xZ" RBR, "[1]TEST.exe"},
      {"signs", "p (x86) & q^!;,=", "a b" WSP "&^%;,=()!", "ABC a&b^%;,=(1)!_" WSP "x" LBR "k9Z0q" RBR,
       "[1]A B%&.exe"},
      {"second bytes 5C and 5E", SO TA " " UN, HYO "^" TA, SO HYO "_" TA UN LBR "Qw3rt" RBR,
       "[1]" HYO TA ".exe"},
      {"unpacked among the candidate's files", "p", "Desktop", "ABC1_2" LBR "zZ9a0" RBR, "[1]TEST.exe", true},
      {"among files, in hostile folders", "p (x86) & q^!;,=", SO " &^%;,=()!" HYO,
       "ABC a&b_x" LBR "k9Z0q" RBR, "[1]A B%&.exe", true},
      // Wine's cmd drops a "%" of the batch's own path from %0: "DEL %0" missed the batch.
      {"percent in the parent", "100%完了", "ExamAutoRunner", "ABC1_2" LBR "aB3xZ" RBR, "[1]TEST.exe"},
  };
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string root = JoinPath(temp, "ear-lb-" + std::to_string(GetCurrentProcessId()) + "-" +
                                              std::to_string(GetTickCount64()));
  const std::string markers = root + "\\markers\\";
  MakeFolders(markers);
  char startFolder[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, startFolder);
  const std::string systemFolder = SystemFolder();

  std::vector<Trial> trials;
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    Trial t;
    t.c = &c;
    t.caseFolder = root + "\\c" + std::to_string(i) + "\\";
    t.parent = t.caseFolder + c.parentName + "\\";
    t.exeFolder = t.parent + c.exeFolderName + "\\";
    const std::string candidate = t.parent + c.candidateName;
    t.exam = candidate + "\\" + c.examName;
    t.batch = t.parent + "ExamAutoRunner.BAT";
    t.report = root + "\\report" + std::to_string(i) + ".txt";
    // The launcher's folder after the hand-over: the executable, and maybe the candidate's files.
    MakeFolders(t.exeFolder);
    WriteBytes(t.exeFolder + "ExamAutoRunner.exe", "MZ");
    if (c.othersInExeFolder) {
      for (const auto& [name, bytes] : kOthers) {
        if (name.ends_with("\\")) {
          MakeFolders(t.exeFolder + name);
        } else {
          WriteBytes(t.exeFolder + name, bytes);
        }
      }
    }
    MakeFolders(candidate + "\\system");
    EXPECT_TRUE(CopyFileA(StandInExam().c_str(), t.exam.c_str(), FALSE)) << StandInExam();
    WriteBytes(candidate + "\\system\\shiken.ini", "[s]\r\n");
    // Siblings that must stay, among them another launcher-like folder.
    MakeFolders(t.parent + "keep dir\\ExamAutoRunner");
    WriteBytes(t.parent + "keep.txt", "keep");
    WriteBytes(t.parent + "keep dir\\ExamAutoRunner\\ExamAutoRunner.exe", "MZ");
    if (c.othersInExeFolder) {
      PlantPing(t.exeFolder, markers, "exe" + std::to_string(i));
      t.othersBefore = Listing(t.exeFolder);
      std::erase(t.othersBefore, "ExamAutoRunner.exe 2");
    }
    PlantPing(t.parent, markers, "parent" + std::to_string(i));
    PlantPing(t.caseFolder, markers, "above" + std::to_string(i));
    t.siblingsBefore = Listing(t.parent);
    std::erase_if(t.siblingsBefore,
                  [&](const std::string& e) { return e.starts_with(c.exeFolderName + "\\"); });
    WriteBatchFile(t.batch, LaunchBatchText(t.exam, t.exeFolder + "ExamAutoRunner.exe", t.exeFolder,
                                            systemFolder));
    trials.push_back(t);
  }
  for (Trial& t : trials) {
    // The started programs inherit these: each exam reports to its own file and ends soon.
    SetEnvironmentVariableA("EAR_STANDIN_REPORT", t.report.c_str());
    SetEnvironmentVariableA("EAR_STANDIN_LIFETIME_MS", "3000");
    // Wine's cmd keeps the folder it starts in busy: start from the parent, not the launcher's.
    SetCurrentDirectoryA(t.parent.c_str());
    EXPECT_TRUE(StartBatch(t.batch, {.left = 10, .top = 20, .width = 640, .height = 480})) << t.c->label;
    t.started = GetTickCount64();
  }
  SetCurrentDirectoryA(startFolder);
  SetEnvironmentVariableA("EAR_STANDIN_REPORT", nullptr);
  SetEnvironmentVariableA("EAR_STANDIN_LIFETIME_MS", nullptr);

  const ULONGLONG deadline = GetTickCount64() + 60000;
  for (;;) {
    bool waiting = false;
    for (Trial& t : trials) {
      const std::string gone = t.c->othersInExeFolder ? t.exeFolder + "ExamAutoRunner.exe" : t.exeFolder;
      if (t.folderGone == 0 && !Exists(gone)) t.folderGone = GetTickCount64();
      waiting |= Exists(gone) || Exists(t.batch) || !Exists(t.report);
    }
    if (!waiting || GetTickCount64() > deadline) break;
    Sleep(100);
  }
  Sleep(1000);

  for (const Trial& t : trials) {
    SCOPED_TRACE(t.c->label);
    const std::string report = ReadBytes(t.report);
    EXPECT_NE(report.find("\r\nmodule.hex=" + Hex(t.exam) + "\r\n"), std::string::npos) << report;
    EXPECT_FALSE(Exists(t.exeFolder + "ExamAutoRunner.exe"));
    EXPECT_FALSE(Exists(t.batch));
    std::vector<std::string> parentNow = Listing(t.parent);
    if (t.c->othersInExeFolder) {
      // Only what the launcher brought goes: the folder stays with everything else in it.
      for (const auto& [name, bytes] : kOthers) {
        EXPECT_EQ(name.ends_with("\\") ? (Exists(t.exeFolder + name) ? "" : "<missing>")
                                        : ReadBytes(t.exeFolder + name),
                  bytes)
            << name;
      }
      EXPECT_EQ(Listing(t.exeFolder), t.othersBefore);
      std::erase_if(parentNow, [&](const std::string& e) { return e.starts_with(t.c->exeFolderName + "\\"); });
    } else {
      EXPECT_FALSE(Exists(t.exeFolder));
    }
    EXPECT_EQ(parentNow, t.siblingsBefore);
    if (t.folderGone != 0) {
      std::cout << "[ figures  ] " << t.c->label << (t.c->othersInExeFolder ? ": executable" : ": launcher folder")
                << " gone "
                << static_cast<long long>(t.folderGone - t.started) << " ms after the batch started\n";
    }
  }
  EXPECT_EQ(Listing(markers), std::vector<std::string>{});
}

std::size_t FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ? data.nFileSizeLow : 0;
}

// A launcher that stays open long (a box the candidate leaves open) is still deleted once it
// ends. A ping stand-in without pauses (it counts its runs) lets the real cmd run the batch's
// attempts in seconds; the executable is held open, so that its delete fails, for more
// attempts than the batch once made in all.
TEST(LaunchBatch, KeepsTryingToDeleteALauncherThatStaysOpenLong) {
  constexpr std::size_t kHeldAttempts = 250;
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string root = JoinPath(temp, "ear-lb-long-" + std::to_string(GetCurrentProcessId()) + "-" +
                                              std::to_string(GetTickCount64()));
  const std::string parent = root + "\\p " SO "\\";
  const std::string exeFolder = parent + "ExamAutoRunner\\";
  const std::string exePath = exeFolder + "ExamAutoRunner.exe";
  const std::string exam = parent + "ABC1_2" LBR "aB3xZ" RBR "\\[1]TEST.exe";
  const std::string systemFolder = root + "\\system32";
  const std::string pings = root + "\\pings.txt";
  const std::string report = root + "\\report.txt";
  const std::string batch = parent + "ExamAutoRunner.BAT";
  MakeFolders(exeFolder);
  MakeFolders(parent + "ABC1_2" LBR "aB3xZ" RBR);
  MakeFolders(systemFolder);
  WriteBytes(exePath, "MZ");
  ASSERT_TRUE(CopyFileA(StandInExam().c_str(), exam.c_str(), FALSE));
  ASSERT_TRUE(CopyFileA((ExeFolder(SelfPath()) + "ping_stand_in.exe").c_str(),
                        (systemFolder + "\\PING.EXE").c_str(), FALSE));
  WriteBatchFile(batch, LaunchBatchText(exam, exePath, exeFolder, systemFolder));

  // Held without delete sharing: every DEL fails while the handle is open.
  HANDLE held = CreateFileA(exePath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  SetEnvironmentVariableA("EAR_PING_COUNT", pings.c_str());
  SetEnvironmentVariableA("EAR_STANDIN_REPORT", report.c_str());
  SetEnvironmentVariableA("EAR_STANDIN_LIFETIME_MS", "3000");
  char startFolder[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, startFolder);
  SetCurrentDirectoryA(parent.c_str());
  const ULONGLONG started = GetTickCount64();
  EXPECT_TRUE(StartBatch(batch, {}));
  SetCurrentDirectoryA(startFolder);
  SetEnvironmentVariableA("EAR_PING_COUNT", nullptr);
  SetEnvironmentVariableA("EAR_STANDIN_REPORT", nullptr);
  SetEnvironmentVariableA("EAR_STANDIN_LIFETIME_MS", nullptr);

  // One run before the first attempt, then one before each attempt.
  ULONGLONG deadline = GetTickCount64() + 180000;
  while (FileSize(pings) < 1 + kHeldAttempts && Exists(batch) && GetTickCount64() < deadline) Sleep(50);
  const std::size_t attemptsWhileHeld = FileSize(pings) - 1;
  const ULONGLONG released = GetTickCount64();
  EXPECT_TRUE(Exists(exePath));
  CloseHandle(held);
  deadline = GetTickCount64() + 60000;
  while ((Exists(exeFolder) || Exists(batch)) && GetTickCount64() < deadline) Sleep(50);

  EXPECT_GE(attemptsWhileHeld, kHeldAttempts);
  EXPECT_FALSE(Exists(exePath));
  EXPECT_FALSE(Exists(exeFolder));
  EXPECT_FALSE(Exists(batch));
  EXPECT_TRUE(Exists(exam));
  std::cout << "[ figures  ] " << attemptsWhileHeld << " failed attempts in "
            << static_cast<long long>(released - started) << " ms without pauses\n";
}

// A symbolic link at link to the file target. Under Wine a Unix one, made by ln: Wine shows
// it as a plain file, and writing it writes the file it points to.
void MakeFileLink(const std::string& target, const std::string& link) {
  testing_win::MakeLink(target, link, 0);
  // Through the link, the user's file.
  ASSERT_EQ(ReadBytes(link), ReadBytes(target));
}

// A batch name that is a link to a user's file (left there by anyone who can write beside the
// launcher) is replaced by the batch: the user's file is never written through it.
TEST(WriteBatchFile, ReplacesALinkOfItsNameAndNeverWritesWhatItPointsTo) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string root = JoinPath(temp, "ear-wb-link-" + std::to_string(GetCurrentProcessId()) + "-" +
                                              std::to_string(GetTickCount64()));
  // ASCII only: ln gets its arguments through Wine's command line.
  const std::string parent = root + "\\p q\\";
  const std::string userFile = root + "\\user\\report.txt";
  const std::string userBytes = "the user's own words\r\n";
  MakeFolders(parent);
  MakeFolders(root + "\\user");
  WriteBytes(userFile, userBytes);
  const std::string batch = parent + "ExamAutoRunner.BAT";
  MakeFileLink(userFile, batch);
  const std::string text = CleanupBatchText(parent + "ExamAutoRunner\\ExamAutoRunner.exe", SystemFolder());

  WriteBatchFile(batch, text);

  EXPECT_EQ(ReadBytes(userFile), userBytes);
  EXPECT_EQ(ReadBytes(batch), text);
  // No temporary file stays beside it.
  EXPECT_EQ(Listing(parent), std::vector<std::string>{"ExamAutoRunner.BAT " + std::to_string(text.size())});
  if (UnderWine()) {
    // The link itself is gone: deleting the batch leaves the user's file.
    DeleteFileA(batch.c_str());
    EXPECT_EQ(ReadBytes(userFile), userBytes);
  }
  // Written again over a plain batch: replaced whole, nothing left beside it.
  WriteBatchFile(batch, "@echo x\r\n");
  EXPECT_EQ(ReadBytes(batch), "@echo x\r\n");
  EXPECT_EQ(Listing(parent), std::vector<std::string>{"ExamAutoRunner.BAT 9"});
  DeleteFileA(batch.c_str());
  DeleteFileA(userFile.c_str());
  RemoveDirectoryA(parent.c_str());
  RemoveDirectoryA((root + "\\user").c_str());
  RemoveDirectoryA(root.c_str());
}

#else

// Run by launch_batch_root_test.sh, which maps the empty folder EAR_ROOT_DRIVE (say "R:") onto
// a fresh folder of its own.
TEST(LaunchBatch, InADriveRootOnlyTheExecutableAndTheBatchGo) {
  char drive[8] = {};
  ASSERT_EQ(GetEnvironmentVariableA("EAR_ROOT_DRIVE", drive, sizeof drive), 2u);
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string root = std::string(drive) + "\\";
  const std::string exePath = root + "ExamAutoRunner.exe";
  const std::string exam = root + "ABC_1" LBR "aB3xZ" RBR "\\[1]TEST.exe";
  const PackagePaths paths = PackagePathsFor(exePath);
  ASSERT_EQ(paths.batch, root + "ExamAutoRunner.BAT");
  WriteBytes(exePath, "MZ");
  MakeFolders(root + "ABC_1" LBR "aB3xZ" RBR);
  ASSERT_TRUE(CopyFileA(StandInExam().c_str(), exam.c_str(), FALSE));
  MakeFolders(root + "keep dir");
  WriteBytes(root + "keep.txt", "keep");
  WriteBytes(root + "keep dir\\inner.txt", "inner");
  const std::string markers = JoinPath(temp, "ear-lb-root-markers-" + std::to_string(GetTickCount64())) + "\\";
  MakeFolders(markers);
  PlantPing(root, markers, "root");
  std::vector<std::string> expected = Listing(root);
  std::erase(expected, "ExamAutoRunner.exe 2");
  WriteBatchFile(paths.batch, LaunchBatchText(exam, exePath, paths.exeFolder, SystemFolder()));

  const std::string report = JoinPath(temp, "ear-lb-root-report-" + std::to_string(GetTickCount64()));
  SetEnvironmentVariableA("EAR_STANDIN_REPORT", report.c_str());
  SetEnvironmentVariableA("EAR_STANDIN_LIFETIME_MS", "3000");
  char startFolder[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, startFolder);
  SetCurrentDirectoryA(temp);
  EXPECT_TRUE(StartBatch(paths.batch, {}));
  SetCurrentDirectoryA(startFolder);
  SetEnvironmentVariableA("EAR_STANDIN_REPORT", nullptr);
  SetEnvironmentVariableA("EAR_STANDIN_LIFETIME_MS", nullptr);
  const ULONGLONG deadline = GetTickCount64() + 60000;
  while ((Exists(exePath) || Exists(paths.batch) || !Exists(report)) && GetTickCount64() < deadline) {
    Sleep(100);
  }
  Sleep(3000);  // time enough for a stray RMDIR of the root, had there been one
  EXPECT_NE(ReadBytes(report).find("\r\nmodule.hex=" + Hex(exam) + "\r\n"), std::string::npos);
  EXPECT_FALSE(Exists(exePath));
  EXPECT_FALSE(Exists(paths.batch));
  EXPECT_EQ(Listing(root), expected);
  EXPECT_EQ(Listing(markers), std::vector<std::string>{});
  RemoveDirectoryA(markers.c_str());
  DeleteFileA(report.c_str());
}

#endif

}  // namespace
}  // namespace ear
