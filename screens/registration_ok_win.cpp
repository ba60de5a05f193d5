// The registration's OK action: the candidate's data into the package, the package renamed
// into the candidate folder, the launch batch written and started, the exam window awaited.
#include <windows.h>

#include "base/module_path.h"
#include "forms/application.h"
#include "forms/dialogs.h"
#include "package/batch.h"
#include "package/batch_win.h"
#include "package/ini.h"
#include "package/paths.h"
#include "screens/candidate_folder.h"
#include "screens/coded_message_win.h"
#include "screens/frmJPZZ0010.h"
#include "screens/registration_ok.h"
#include "screens/title_rules.h"

namespace {

constexpr char kBasicInfo[] = "基本情報";
constexpr char kCandidateInfo[] = "受験者情報";

void PauseAndProcess(DWORD ms) {
  Sleep(ms);
  forms::App().ProcessMessages();
}

bool DirectoryExists(const std::string& path) {
  return ear::IsExistingDirectory(GetFileAttributesA(path.c_str()));
}

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// Sets the attributes while a write handle on the path is held; reports nothing.
void HideFolder(std::string path, DWORD attributes) {
  if (ear::IsExecutableItself(path, ear::ExecutablePath())) return;
  if (ear::EndsWithSeparator(path)) path.pop_back();
  const HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return;
  SetFileAttributesA(path.c_str(), attributes);
  CloseHandle(handle);
}

}  // namespace

void TfrmJPZZ0010::OnButtonClick(forms::Control* /*sender*/) {
  if (Busy) return;
  Busy = true;

  const std::string exePath = ear::ExecutablePath();
  const ear::PackagePaths paths = ear::PackagePathsFor(exePath);
  const bool venue = ear::ModeFromAbb(ear::ReadIniString(paths.systemIni, kBasicInfo, "ABB")) ==
                     ear::RegistrationMode::Venue;
  if (venue ? !(CheckVenueCode() && CheckCandidateNumber()) : !CheckNames()) {
    Busy = false;
    return;
  }

  std::string examProgram;
  try {
    const std::string devCode = ear::ReadIniString(paths.systemIni, kBasicInfo, "開発コード");
    const std::string bushu = ear::ReadIniString(paths.setupIni, kBasicInfo, "部種名称");
    const std::string fileName = ear::ReadIniString(paths.systemIni, kBasicInfo, "ファイル名称");
    const ear::RegistrationMode mode = ear::ModeFromAbb(ear::ReadIniString(paths.systemIni, kBasicInfo, "ABB"));
    const std::string kaiCd = KaiCdEdt.Text(), juBan = JuBanEdt.Text(), sei = SeiEdt.Text(), mei = MeiEdt.Text();
    const ear::CandidateValues values = ear::ValuesForMode(mode, kaiCd, juBan, sei, mei);
    const ear::CandidateFolder folder = ear::ChooseCandidateFolder(
        paths.parentFolder, ear::FileNameOrDevCode(fileName, devCode), values,
        [this] { return makeRandomKey(ear::kRandomKeyLength); }, DirectoryExists);

    try {
      ear::WriteIniString(paths.systemIni, kBasicInfo, "固有キー", folder.key);
      if (mode == ear::RegistrationMode::Venue) {
        ear::WriteIniString(paths.shikenIni, kCandidateInfo, "会場コード", kaiCd);
        ear::WriteIniString(paths.shikenIni, kCandidateInfo, "受験番号", juBan);
      } else {
        ear::WriteIniString(paths.shikenIni, kCandidateInfo, "姓", sei);
        ear::WriteIniString(paths.shikenIni, kCandidateInfo, "名", mei);
      }
    } catch (const std::exception& error) {
      ear::ShowCodedMessage(this, nullptr, ear::kMsgIniWriteFailed, error.what());
      return;
    }
    PauseAndProcess(100);

    HideFolder(paths.systemFolder, ear::kHiddenArchive);
    // Its outcome shows in the exam program's check below.
    MoveFileA(paths.package.c_str(), folder.path.c_str());
    PauseAndProcess(500);
    examProgram = ear::CandidateExamProgramPath(folder.path, bushu);
  } catch (const std::exception& error) {
    ear::ShowCodedMessage(this, nullptr, ear::kMsgIniFailed, error.what());
  }

  if (examProgram.empty() || !FileExists(examProgram)) {
    ear::ShowCodedMessage(this, nullptr, ear::kMsgDeployFailed, "");
    return;
  }

  try {
    ear::WriteBatchFile(paths.batch, ear::LaunchBatchText(examProgram, exePath, paths.exeFolder, ear::SystemFolder()));
    if (DebugMode) {
      forms::ShowInformation(Handle(), ear::kDebugNotice);
      SetModalResult(forms::mrOk);
      return;
    }
    POINT origin{0, 0};
    ClientToScreen(Handle(), &origin);
    ear::StartBatch(paths.batch, {.left = origin.x, .top = origin.y, .width = Width(), .height = Height()});

    const ear::ExamWindowWait outcome = ear::WaitForExamWindow(
        [] { return FindWindowA(nullptr, ear::kExamWindowTitle) != nullptr; },
        [] { PauseAndProcess(ear::kExamWindowPollMs); }, [] { return GetTickCount64(); },
        ear::kExamWindowTimeoutMs);
    // A started batch still removes the launcher once it has ended: end as after a launch.
    if (outcome == ear::ExamWindowWait::TimedOut) {
      ear::ShowCodedMessage(this, nullptr, ear::kMsgExamStartUnconfirmed, "");
    }
    SetModalResult(forms::mrOk);
  } catch (const std::exception& error) {
    ear::ShowCodedMessage(this, nullptr, ear::kMsgBatchFailed, error.what());
  }
}
