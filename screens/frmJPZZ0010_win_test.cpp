// The registration screen created in this test program, which lies (as the launcher would)
// in app\ beside a generated package app\##TMP##; driven through its real controls.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

// GCC 12 takes a std::string inside a designated-initializer temporary for uninitialised
// once inlined (a known false positive); the build stays free of warnings.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

#include "base/error.h"
#include "base/module_path.h"
#include "base/system_error.h"
#include "forms/application.h"
#include "package/batch.h"
#include "package/batch_win.h"
#include "package/paths.h"
#include "screens/frmJPZZ0010.h"
#include "screens/registration_ok.h"
#include "tests/sjis_samples.h"
#include "tests/wine/box_watcher.h"
#include "tests/wine/file_bytes.h"
#include "tests/wine/timer_proc.h"

namespace ear {
namespace {

using testing_win::BoxInfo;
using testing_win::ReadBytes;
using testing_win::WriteBytes;

void DeleteTree(const std::string& path) {
  WIN32_FIND_DATAA entry;
  const HANDLE find = FindFirstFileA((path + "\\*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = entry.cFileName;
      if (name == "." || name == "..") continue;
      const std::string full = path + "\\" + name;
      SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) DeleteTree(full);
      else DeleteFileA(full.c_str());
    } while (FindNextFileA(find, &entry));
    FindClose(find);
  }
  RemoveDirectoryA(path.c_str());
}

// Every path below folder (relative, "/" after folders) with its attributes and bytes.
void Snapshot(const std::string& folder, const std::string& prefix, std::vector<std::string>& out) {
  WIN32_FIND_DATAA entry;
  const HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = entry.cFileName;
    if (name == "." || name == "..") continue;
    const std::string full = folder + "\\" + name;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      out.push_back(prefix + name + "/ " + std::to_string(entry.dwFileAttributes));
      Snapshot(full, prefix + name + "/", out);
    } else if (!name.ends_with(".exe")) {
      out.push_back(prefix + name + " " + ReadBytes(full));
    }
  } while (FindNextFileA(find, &entry));
  FindClose(find);
  std::sort(out.begin(), out.end());
}

std::vector<std::string> Snapshot(const std::string& folder) {
  std::vector<std::string> out;
  Snapshot(folder, "", out);
  return out;
}

struct BoxRun {
  int count;
  volatile LONG actionDone = 0;
  std::vector<BoxInfo> boxes;
};

DWORD WINAPI WatchBoxes(void* param) {
  auto* run = static_cast<BoxRun*>(param);
  while (static_cast<int>(run->boxes.size()) < run->count) {
    testing_win::BoxWatcher watcher(IDOK, 400);
    const BoxInfo box = watcher.get();
    if (box.found) {
      run->boxes.push_back(box);
      Sleep(300);  // the pressed box closes before the next one is looked for
    } else if (run->actionDone) {
      break;  // every box of the action has been shown and answered
    }
  }
  return 0;
}

// Runs action while up to `count` message boxes are read and answered with OK, in turn.
std::vector<BoxInfo> WithBoxes(int count, const std::function<void()>& action) {
  BoxRun run{count};
  const HANDLE thread = CreateThread(nullptr, 0, &WatchBoxes, &run, 0, nullptr);
  action();
  InterlockedExchange(&run.actionDone, 1);
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  return run.boxes;
}

std::vector<std::string> Texts(const std::vector<BoxInfo>& boxes) {
  std::vector<std::string> texts;
  for (const BoxInfo& box : boxes) texts.push_back(box.title + "|" + box.text);
  return texts;
}

std::string Ini(const std::vector<std::pair<std::string, std::string>>& keys, const char* section = "基本情報") {
  std::string text = std::string("[") + section + "]\r\n";
  for (const auto& [key, value] : keys) text += key + "=" + value + "\r\n";
  return text;
}

struct PackageOptions {
  std::string abb = "EAR";
  std::string examType = "1";
  std::string fileName = "";
  std::string devCode = "EAR01";
  std::string bushu = "模擬試験";
  bool examProgram = true;
};

class RegistrationScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    exePath = ExecutablePath();
    paths = PackagePathsFor(exePath);
    // Only this program stays: the parent folder holds nothing but app\ beside it.
    Clean(paths.parentFolder, "app");
    Clean(paths.exeFolder, exePath.substr(paths.exeFolder.size()));
  }

  void TearDown() override { screen.reset(); }

  static std::vector<std::string> List(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    const HANDLE find = FindFirstFileA((folder + "*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
      const std::string name = entry.cFileName;
      if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    return names;
  }

  static void Clean(const std::string& folder, const std::string& keep) {
    for (const std::string& name : List(folder)) {
      if (name == keep) continue;
      const std::string full = folder + name;
      SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (GetFileAttributesA(full.c_str()) & FILE_ATTRIBUTE_DIRECTORY) DeleteTree(full);
      else DeleteFileA(full.c_str());
    }
  }

  void MakePackage(const PackageOptions& o) {
    CreateDirectoryA(paths.package.c_str(), nullptr);
    CreateDirectoryA(paths.systemFolder.c_str(), nullptr);
    CreateDirectoryA((paths.systemFolder + "1").c_str(), nullptr);
    CreateDirectoryA(paths.imageFolder.c_str(), nullptr);
    WriteBytes(paths.systemIni, Ini({{"ABB", o.abb}, {"開発コード", o.devCode}, {"ファイル名称", o.fileName}}));
    WriteBytes(paths.setupIni, Ini({{"受験タイプ", o.examType}, {"部種名称", o.bushu}}));
    if (o.examProgram) WriteBytes(paths.package + "\\[1]模擬試験.exe", "MZ stand-in");
  }

  void Open(const PackageOptions& o = {}) {
    MakePackage(o);
    screen = std::make_unique<TfrmJPZZ0010>(nullptr, WizardContext{.exePath = exePath});
    screen->ShowForm();
    forms::App().ProcessMessages();
  }

  // Enter in an edit, as the keyboard sends it; returns the boxes it showed.
  std::vector<BoxInfo> Enter(forms::Edit& edit, int boxes = 1) {
    return WithBoxes(boxes, [&] {
      PostMessageW(edit.Handle(), WM_KEYDOWN, VK_RETURN, 0);
      forms::App().ProcessMessages();
    });
  }

  forms::WinControl* Focused() const { return forms::WinControl::FromHandle(GetFocus()); }

  std::string exePath;
  PackagePaths paths;
  std::unique_ptr<TfrmJPZZ0010> screen;
};

TEST_F(RegistrationScreen, ModesShowTheirFieldsAndFocusTheFirst) {
  struct Case { std::string abb, examType; bool venue; int buttonTop; const char* footer; };
  const Case cases[] = {
      {"EAR", "1", true, 521, kCopyrightNotice},
      {"", "3", false, 520, kCopyrightNotice3},
      {"X", "03", true, 521, kCopyrightNotice},
  };
  for (const Case& c : cases) {
    SetUp();
    Open({.abb = c.abb, .examType = c.examType});
    TfrmJPZZ0010& s = *screen;
    EXPECT_EQ(s.ClientRect().right, 697);
    EXPECT_EQ(s.ClientRect().bottom, 554);
    for (forms::Control* venueOnly : std::initializer_list<forms::Control*>{&s.KaiCdEdt, &s.JuBanEdt, &s.MongonImg,
                                                                            &s.MidashiImg}) {
      EXPECT_EQ(venueOnly->Visible(), c.venue) << venueOnly->name << " " << c.abb;
    }
    for (forms::Control* nameOnly : std::initializer_list<forms::Control*>{&s.SeiLbl, &s.SeiEdt, &s.MeiLbl, &s.MeiEdt,
                                                                           &s.Bevel1, &s.MidashiLbl}) {
      EXPECT_EQ(nameOnly->Visible(), !c.venue) << nameOnly->name << " " << c.abb;
    }
    EXPECT_EQ(Focused(), c.venue ? static_cast<forms::WinControl*>(&s.KaiCdEdt) : &s.SeiEdt) << c.abb;
    // The design texts "99999" never show.
    EXPECT_EQ(s.KaiCdEdt.Text(), "");
    EXPECT_EQ(s.JuBanEdt.Text(), "");
    if (!c.venue) {
      EXPECT_EQ(s.MidashiLbl.Caption(),
                "受験者用フォルダーを作成します。姓名を入力し、[OK]ボタンをクリックして下さい。");
      EXPECT_EQ(s.MidashiLbl.Left(), 117);
    }
    EXPECT_EQ(s.OkBtn.Top(), c.buttonTop);
    EXPECT_EQ(s.BackBtn.Top(), c.buttonTop);
    EXPECT_EQ(s.CRLbl.Caption(), c.footer);
    EXPECT_EQ(GetWindowLongW(s.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, WS_EX_TOPMOST);
    EXPECT_TRUE(s.KaiCdEdt.ImeOff());
    EXPECT_TRUE(s.JuBanEdt.ImeOff());
    EXPECT_EQ(SendMessageW(s.KaiCdEdt.Handle(), EM_GETLIMITTEXT, 0, 0), 5);
    screen.reset();
  }
}

TEST_F(RegistrationScreen, FailedChecksFocusTheirEditShowTheMessageAndChangeNothing) {
  struct Case {
    std::string abb, kaiCd, juBan, sei, mei;
    const char* enterIn;  // the edit that gets the Enter
    const char* focus;
    std::string text;
  };
  const Case cases[] = {
      {"EAR", "", "678", "", "", "JuBanEdt", "KaiCdEdt", "会場コードを入力してください。"},
      {"EAR", "1234", "678", "", "", "KaiCdEdt", "KaiCdEdt", "会場コードは半角で5文字としてください。"},
      // A failing venue code stops validation before the candidate number.
      {"EAR", "12 34", "", "", "", "KaiCdEdt", "KaiCdEdt", "会場コードは半角で5文字としてください。"},
      {"EAR", "12345", "", "", "", "KaiCdEdt", "JuBanEdt", "受験番号を入力してください。"},
      {"EAR", "12345", "-999999", "", "", "KaiCdEdt", "JuBanEdt", "受験番号は数値で入力してください。"},
      {"", "", "", YAMADA, "", "SeiEdt", "MeiEdt", "氏名を入力して下さい。"},
      {"", "", "", "", TARO, "MeiEdt", "SeiEdt", "氏名を入力して下さい。"},
      {"", "", "", "山/田", TARO, "SeiEdt", "SeiEdt", "氏名に使用できない文字が含まれています。"},
      {"", "", "", YAMADA, "太郎?", "SeiEdt", "MeiEdt", "氏名に使用できない文字が含まれています。"},
      {"", "", "", YAMADA, std::string(230, 'a'), "SeiEdt", "MeiEdt",
       "氏名が長すぎるため、受験者用フォルダーを作成できません。"},
  };
  for (const Case& c : cases) {
    SetUp();
    Open({.abb = c.abb});
    TfrmJPZZ0010& s = *screen;
    const std::vector<std::string> before = Snapshot(paths.parentFolder.substr(0, paths.parentFolder.size() - 1));
    s.KaiCdEdt.SetText(c.kaiCd);
    s.JuBanEdt.SetText(c.juBan);
    s.SeiEdt.SetText(c.sei);
    s.MeiEdt.SetText(c.mei);
    forms::Edit* in = nullptr;
    for (forms::Edit* e : {&s.KaiCdEdt, &s.JuBanEdt, &s.SeiEdt, &s.MeiEdt}) {
      if (e->name == c.enterIn) in = e;
    }
    const std::vector<BoxInfo> boxes = Enter(*in);
    EXPECT_EQ(Texts(boxes), std::vector<std::string>{"エラー|" + c.text}) << c.kaiCd << c.juBan << c.sei << c.mei;
    ASSERT_NE(Focused(), nullptr);
    EXPECT_EQ(Focused()->name, c.focus) << c.text;
    EXPECT_FALSE(s.Busy);
    EXPECT_EQ(s.ModalResult(), 0);
    EXPECT_EQ(Snapshot(paths.parentFolder.substr(0, paths.parentFolder.size() - 1)), before) << c.text;
    screen.reset();
  }
}

TEST_F(RegistrationScreen, DebugHandOverInBothModes) {
  struct Case { std::string abb, fileName, kaiCd, juBan, sei, mei, name, shiken; };
  const Case cases[] = {
      {"EAR", "", "12345", "678", "", "", "EAR0112345_678",
       "[受験者情報]\r\n会場コード=12345\r\n受験番号=678\r\n"},
      {"", "ABC", "", "", YAMADA, TARO, "ABC" YAMADA "_" TARO,
       "[受験者情報]\r\n姓=" YAMADA "\r\n名=" TARO "\r\n"},
  };
  for (const Case& c : cases) {
    SetUp();
    Open({.abb = c.abb, .fileName = c.fileName});
    TfrmJPZZ0010& s = *screen;
    s.DebugMode = true;
    // The first key names a directory that exists already: a fresh key is drawn.
    const std::string taken = paths.parentFolder + c.name + LBR "taken" RBR;
    CreateDirectoryA(taken.c_str(), nullptr);
    std::vector<std::string> keys{"taken", "Zq9k1"};
    s.makeRandomKey = [&](std::size_t n) {
      EXPECT_EQ(n, 5u);
      const std::string key = keys.front();
      keys.erase(keys.begin());
      return key;
    };
    s.KaiCdEdt.SetText(c.kaiCd);
    s.JuBanEdt.SetText(c.juBan);
    s.SeiEdt.SetText(c.sei);
    s.MeiEdt.SetText(c.mei);
    const std::vector<BoxInfo> boxes = Enter(c.abb.empty() ? s.SeiEdt : s.KaiCdEdt);
    EXPECT_EQ(Texts(boxes), std::vector<std::string>{"情報|デバッグ中は削除できません．　"});
    EXPECT_EQ(s.ModalResult(), 1);
    EXPECT_TRUE(s.Busy);

    const std::string candidate = paths.parentFolder + c.name + LBR "Zq9k1" RBR;
    EXPECT_EQ(GetFileAttributesA(paths.package.c_str()), INVALID_FILE_ATTRIBUTES);
    const DWORD system = GetFileAttributesA((candidate + "\\system").c_str());
    EXPECT_EQ(system & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY),
              static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(ReadBytes(candidate + "\\system\\shiken.ini"), c.shiken);
    EXPECT_NE(ReadBytes(candidate + "\\system\\system.ini").find("\r\n固有キー=Zq9k1\r\n"), std::string::npos);
    const std::string exam = candidate + "\\[1]模擬試験.exe";
    EXPECT_EQ(ReadBytes(paths.parentFolder + "ExamAutoRunner.BAT"),
              LaunchBatchText(exam, exePath, paths.exeFolder, SystemFolder()));

    // Busy: Enter again does nothing more.
    EXPECT_TRUE(Enter(s.KaiCdEdt).empty());
    screen.reset();
  }
}

TEST_F(RegistrationScreen, FailuresPastValidationReportAndLeaveBackAndClose) {
  const std::string name = "EAR0112345_678" LBR "Zq9k1" RBR;
  struct Case {
    const char* what;
    PackageOptions package;
    std::function<void()> arrange;
    std::function<std::vector<std::string>()> texts;
    bool iniWritten, hidden, renamed;
  };
  const std::string deploy = "エラー|受験プログラムの展開に失敗しました。";
  const Case cases[] = {
      {"shiken.ini cannot be written", {}, [&] { CreateDirectoryA(paths.shikenIni.c_str(), nullptr); },
       [&] { return std::vector<std::string>{"エラー|システム情報の書き込みに失敗しました。\r\n\r\n" + paths.shikenIni +
                                             " に書き込めません"}; },
       true, false, false},
      {"no exam program", {.examProgram = false}, [] {}, [&] { return std::vector<std::string>{deploy}; },
       true, true, true},
      {"a file of the candidate folder's name", {},
       [&] { WriteBytes(paths.parentFolder + name, "a file"); }, [&] { return std::vector<std::string>{deploy}; },
       true, true, false},
      {"a failure before the INI writes", {},
       [&] { screen->makeRandomKey = [](std::size_t) -> std::string { throw Error("鍵がありません"); }; },
       [&] { return std::vector<std::string>{"エラー|iniファイルの取得に失敗しました。\r\n\r\n鍵がありません", deploy}; },
       false, false, false},
  };
  for (const Case& c : cases) {
    SetUp();
    Open(c.package);
    TfrmJPZZ0010& s = *screen;
    s.makeRandomKey = [](std::size_t) { return std::string("Zq9k1"); };
    c.arrange();
    s.KaiCdEdt.SetText("12345");
    s.JuBanEdt.SetText("678");
    const std::vector<BoxInfo> boxes = Enter(s.JuBanEdt, 2);
    EXPECT_EQ(Texts(boxes), c.texts()) << c.what;
    EXPECT_TRUE(s.Busy) << c.what;
    EXPECT_EQ(s.ModalResult(), 0) << c.what;
    const std::string package = c.renamed ? paths.parentFolder + name : paths.package;
    EXPECT_EQ(GetFileAttributesA(paths.package.c_str()) == INVALID_FILE_ATTRIBUTES, c.renamed) << c.what;
    const std::string systemIni = ReadBytes(package + "\\system\\system.ini");
    EXPECT_EQ(systemIni.find("固有キー=Zq9k1") != std::string::npos, c.iniWritten) << c.what;
    EXPECT_EQ((GetFileAttributesA((package + "\\system").c_str()) & FILE_ATTRIBUTE_HIDDEN) != 0, c.hidden) << c.what;
    EXPECT_EQ(ReadBytes(paths.parentFolder + "ExamAutoRunner.BAT"), "<missing>") << c.what;

    // OK and Enter do nothing more; back and close still end the screen.
    EXPECT_TRUE(Enter(s.KaiCdEdt).empty()) << c.what;
    s.BackBtn.Click();
    EXPECT_EQ(s.ModalResult(), 7) << c.what;
    s.EndBtn.Click();
    EXPECT_EQ(s.ModalResult(), 2) << c.what;
    screen.reset();
  }
}

// Bytes left for the candidate number: the parent folder, EAR01, 12345, "_", the bracketed key
// and the package's longest path, \system\1\setup.ini (one byte longer than \system\shiken.ini),
// take the rest of 259.
std::size_t NumberBytesLeft(const PackagePaths& paths) {
  return 259 - (paths.parentFolder.size() + 5 + 5 + 1 + 9 + 19);
}

TEST_F(RegistrationScreen, PackageValuesThatSteerAPathAndOverlongEntriesAreRefusedBeforeAnyChange) {
  const std::size_t numberBytes = NumberBytesLeft(paths);
  struct Case { const char* what; PackageOptions package; std::string kaiCd, juBan, sei, mei; const char* focus; };
  const Case cases[] = {
      {"部種名称 climbing out", {.bushu = "\\..\\..\\evil"}, "12345", "678", "", "", nullptr},
      {"部種名称 with a quote", {.abb = "", .bushu = "x\"\\..\\模擬試験"}, "", "", YAMADA, TARO, nullptr},
      {"部種名称 with an escape", {.bushu = "模擬\x1b試験"}, "12345", "678", "", "", nullptr},
      {"ファイル名称 climbing out", {.abb = "", .fileName = "..\\..\\x"}, "", "", YAMADA, TARO, nullptr},
      {"開発コード with a colon", {.devCode = "C:x"}, "12345", "678", "", "", nullptr},
      {"candidate number one byte too long", {}, "12345", std::string(numberBytes + 1, '0'), "", "", "JuBanEdt"},
  };
  for (const Case& c : cases) {
    SetUp();
    Open(c.package);
    TfrmJPZZ0010& s = *screen;
    // The package's own exam program stands where a climbing 部種名称 would lead.
    WriteBytes(paths.parentFolder + "evil.exe", "MZ stand-in");
    const std::string parent = paths.parentFolder.substr(0, paths.parentFolder.size() - 1);
    const std::vector<std::string> before = Snapshot(parent);
    s.KaiCdEdt.SetText(c.kaiCd);
    s.JuBanEdt.SetText(c.juBan);
    s.SeiEdt.SetText(c.sei);
    s.MeiEdt.SetText(c.mei);
    forms::Edit& in = c.kaiCd.empty() ? s.SeiEdt : s.JuBanEdt;
    EXPECT_EQ(Texts(Enter(in, 2)), std::vector<std::string>{"エラー|受験プログラムの展開に失敗しました。"}) << c.what;
    EXPECT_EQ(Snapshot(parent), before) << c.what;
    if (c.focus) {
      ASSERT_NE(Focused(), nullptr) << c.what;
      EXPECT_EQ(Focused()->name, c.focus) << c.what;
    }
    // Refused before anything was written: the screen stays usable, and the same entries are
    // refused again.
    EXPECT_FALSE(s.Busy) << c.what;
    EXPECT_EQ(s.ModalResult(), 0) << c.what;
    EXPECT_EQ(Texts(Enter(in, 2)), std::vector<std::string>{"エラー|受験プログラムの展開に失敗しました。"}) << c.what;
    EXPECT_EQ(Snapshot(parent), before) << c.what;
    s.BackBtn.Click();
    EXPECT_EQ(s.ModalResult(), 7) << c.what;
    screen.reset();
  }
  // At the limit the number is taken.
  SetUp();
  Open();
  screen->DebugMode = true;
  screen->KaiCdEdt.SetText("12345");
  screen->JuBanEdt.SetText(std::string(numberBytes, '0'));
  EXPECT_EQ(Texts(Enter(screen->JuBanEdt)), std::vector<std::string>{"情報|デバッグ中は削除できません．　"});
  EXPECT_EQ(screen->ModalResult(), 1);
}

TEST_F(RegistrationScreen, AVenueEntryRefusedForItsLengthIsCorrectedInItsField) {
  const std::size_t numberBytes = NumberBytesLeft(paths);
  Open();
  TfrmJPZZ0010& s = *screen;
  s.DebugMode = true;
  const std::string parent = paths.parentFolder.substr(0, paths.parentFolder.size() - 1);
  const std::vector<std::string> before = Snapshot(parent);
  s.KaiCdEdt.SetText("12345");
  s.JuBanEdt.SetText(std::string(numberBytes + 10, '0'));
  const std::vector<std::string> refused{"エラー|受験プログラムの展開に失敗しました。"};
  EXPECT_EQ(Texts(Enter(s.KaiCdEdt, 2)), refused);
  ASSERT_NE(Focused(), nullptr);
  EXPECT_EQ(Focused()->name, "JuBanEdt");
  EXPECT_FALSE(s.Busy);
  // 次へ > is refused again, then takes the corrected number.
  EXPECT_EQ(Texts(WithBoxes(2, [&] { s.OkBtn.Click(); forms::App().ProcessMessages(); })), refused);
  EXPECT_EQ(Snapshot(parent), before);
  EXPECT_EQ(Focused()->name, "JuBanEdt");
  s.JuBanEdt.SetText(std::string(numberBytes - 1, '0'));
  EXPECT_EQ(Texts(WithBoxes(1, [&] { s.OkBtn.Click(); forms::App().ProcessMessages(); })),
            std::vector<std::string>{"情報|デバッグ中は削除できません．　"});
  EXPECT_EQ(s.ModalResult(), 1);
}

TEST_F(RegistrationScreen, ABatchThatCannotBeStartedIsReportedAtOnce) {
  Open();
  TfrmJPZZ0010& s = *screen;
  s.makeRandomKey = [](std::size_t) { return std::string("Zq9k1"); };
  int starts = 0;
  s.startBatch = [&](const std::string& batch, const BatchStartArea&) {
    ++starts;
    EXPECT_EQ(batch, paths.parentFolder + "ExamAutoRunner.BAT");
    SetLastError(ERROR_FILE_NOT_FOUND);
    return false;
  };
  s.KaiCdEdt.SetText("12345");
  s.JuBanEdt.SetText("678");
  const DWORD began = GetTickCount();
  EXPECT_EQ(Texts(Enter(s.JuBanEdt, 2)),
            std::vector<std::string>{"エラー|バッチファイルの実行に失敗しました。\r\n\r\n" +
                                     SystemErrorText(ERROR_FILE_NOT_FOUND, SystemMessage(ERROR_FILE_NOT_FOUND))});
  std::printf("reported after %lu ms\n", static_cast<unsigned long>(GetTickCount() - began));
  EXPECT_EQ(starts, 1);
  // The screen stays: the candidate folder and the batch are there, OK does nothing more.
  EXPECT_EQ(s.ModalResult(), 0);
  EXPECT_TRUE(s.Busy);
  EXPECT_NE(GetFileAttributesA((paths.parentFolder + "EAR0112345_678" LBR "Zq9k1" RBR).c_str()),
            INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(ReadBytes(paths.parentFolder + "ExamAutoRunner.BAT"), "<missing>");
  EXPECT_TRUE(Enter(s.KaiCdEdt).empty());
  s.EndBtn.Click();
  EXPECT_EQ(s.ModalResult(), 2);
}

// The wait for the exam window, with the real look-up, message processing and clock.
TEST(ExamWindowWaitWin, FindsAWindowThatAMessageCreatesAndEndsAtTheBound) {
  const auto find = [] { return FindWindowA(nullptr, kExamWindowTitle) != nullptr; };
  const auto pause = [] {
    Sleep(kExamWindowPollMs);
    forms::App().ProcessMessages();
  };
  const auto now = [] { return GetTickCount64(); };
  ASSERT_FALSE(find());
  EXPECT_EQ(WaitForExamWindow(find, pause, now, 800), ExamWindowWait::TimedOut);

  // The window appears only when this thread's messages are processed during the wait.
  forms::Form exam(nullptr, {.name = "exam", .clientWidth = 100, .clientHeight = 50, .text = kExamWindowTitle});
  static forms::Form* pending = nullptr;
  pending = &exam;
  const UINT_PTR timer = SetTimer(nullptr, 0, 300, testing_win::TimerProc([](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    pending->ShowForm();
  }));
  ASSERT_NE(timer, 0u);
  EXPECT_EQ(WaitForExamWindow(find, pause, now, 20000), ExamWindowWait::Shown);
  EXPECT_TRUE(find());
}

}  // namespace
}  // namespace ear
