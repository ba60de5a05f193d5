// The launch batch run for real: written for a stand-in exam program in hostile folders and
// started as the launcher starts it, by the real cmd.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <vector>

#include "package/batch.h"
#include "package/batch_win.h"
#include "package/paths.h"
#include "tests/sjis_samples.h"
#include "tests/wine/file_bytes.h"

namespace ear {
namespace {

using testing_win::Exists;
using testing_win::Listing;
using testing_win::MakeFolders;
using testing_win::ReadBytes;
using testing_win::WriteBytes;


std::string Hex(const std::string& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) out += digits[c >> 4], out += digits[c & 15];
  return out;
}

std::string StandInExam() {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  return std::string(self) + "\\..\\..\\tools\\standin_exam\\standin_exam.exe";
}

// A ping.bat and a ping.cmd in folder; each leaves a marker in markers if it ever runs.
void PlantPing(const std::string& folder, const std::string& markers, const std::string& tag) {
  for (const char* ext : {"bat", "cmd"}) {
    WriteBytes(JoinPath(folder, std::string("ping.") + ext),
               "@echo ran>\"" + markers + tag + "-" + ext + ".txt\"\r\n");
  }
}

struct Case {
  const char* label;
  std::string parentName;   // no "%": Wine's cmd cannot start a batch whose own path holds one
  std::string exeFolderName;
  std::string candidateName;
  std::string examName;
};

struct Trial {
  const Case* c;
  std::string caseFolder, parent, exeFolder, exam, batch, report;
  std::vector<std::string> siblingsBefore;
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
    // The launcher's folder after the hand-over: the executable and leftovers, nested.
    MakeFolders(t.exeFolder + "left\\over");
    WriteBytes(t.exeFolder + "ExamAutoRunner.exe", "MZ");
    WriteBytes(t.exeFolder + "left\\over\\x.txt", "x");
    MakeFolders(candidate + "\\system");
    EXPECT_TRUE(CopyFileA(StandInExam().c_str(), t.exam.c_str(), FALSE)) << StandInExam();
    WriteBytes(candidate + "\\system\\shiken.ini", "[s]\r\n");
    // Siblings that must stay, among them another launcher-like folder.
    MakeFolders(t.parent + "keep dir\\ExamAutoRunner");
    WriteBytes(t.parent + "keep.txt", "keep");
    WriteBytes(t.parent + "keep dir\\ExamAutoRunner\\ExamAutoRunner.exe", "MZ");
    PlantPing(t.exeFolder, markers, "exe" + std::to_string(i));
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
      if (t.folderGone == 0 && !Exists(t.exeFolder)) t.folderGone = GetTickCount64();
      waiting |= Exists(t.exeFolder) || Exists(t.batch) || !Exists(t.report);
    }
    if (!waiting || GetTickCount64() > deadline) break;
    Sleep(100);
  }
  Sleep(1000);

  for (const Trial& t : trials) {
    SCOPED_TRACE(t.c->label);
    const std::string report = ReadBytes(t.report);
    EXPECT_NE(report.find("\r\nmodule.hex=" + Hex(t.exam) + "\r\n"), std::string::npos) << report;
    EXPECT_FALSE(Exists(t.exeFolder));
    EXPECT_FALSE(Exists(t.batch));
    EXPECT_EQ(Listing(t.parent), t.siblingsBefore);
    if (t.folderGone != 0) {
      std::cout << "[ figures  ] " << t.c->label << ": launcher folder gone "
                << static_cast<long long>(t.folderGone - t.started) << " ms after the batch started\n";
    }
  }
  EXPECT_EQ(Listing(markers), std::vector<std::string>{});
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
