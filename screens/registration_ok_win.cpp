// The registration's OK action: the plan (registration_ok.h) applied on disk: the candidate's
// data into the package, the package renamed into the candidate folder, the launch batch
// written and started, the exam window awaited.
#include <windows.h>

#include "base/file_win.h"
#include "base/system_error.h"
#include "forms/application.h"
#include "forms/dialogs.h"
#include "package/batch_win.h"
#include "package/candidate_folder.h"
#include "package/ini.h"
#include "package/package_settings.h"
#include "package/package_tree_win.h"
#include "package/paths.h"
#include "screens/coded_message_win.h"
#include "screens/frmJPZZ0010.h"
#include "screens/registration_ok.h"

namespace {

// The steps of the run that can fail; Done when none did.
enum class HandoverStep { Done, Plan, WriteIni, Rename, FindExam, WriteBatch, StartBatch, WaitExam };

struct HandoverOutcome {
  HandoverStep failed = HandoverStep::Done;
  std::string detail;
};

struct FailureReport {
  HandoverStep step;
  const char* message;
  bool deployFollows;  // the exam program was never found: its message follows
  bool endsScreen;     // the hand-over stands all the same: the screen ends with 1
};

constexpr FailureReport kFailureReports[] = {
    {HandoverStep::Plan, ear::kMsgIniFailed, true, false},
    {HandoverStep::WriteIni, ear::kMsgIniWriteFailed, false, false},
    {HandoverStep::Rename, ear::kMsgIniFailed, true, false},
    {HandoverStep::FindExam, ear::kMsgDeployFailed, false, false},
    {HandoverStep::WriteBatch, ear::kMsgBatchFailed, false, false},
    {HandoverStep::StartBatch, ear::kMsgBatchFailed, false, false},
    // A started batch still removes the launcher once it has ended: end as after a launch.
    {HandoverStep::WaitExam, ear::kMsgExamStartUnconfirmed, false, true},
};

void PauseAndProcess(DWORD ms) {
  Sleep(ms);
  forms::App().ProcessMessages();
}

bool DirectoryExists(const std::string& path) {
  return ear::IsExistingDirectory(GetFileAttributesA(path.c_str()));
}

// Sets the attributes while a write handle on the path is held; reports nothing.
void HideFolder(std::string path, DWORD attributes, const std::string& exePath) {
  if (ear::IsExecutableItself(path, exePath)) return;
  if (ear::EndsWithSeparator(path)) path.pop_back();
  const HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return;
  SetFileAttributesA(path.c_str(), attributes);
  CloseHandle(handle);
}

HandoverOutcome RunHandover(TfrmJPZZ0010& screen, const ear::HandoverPlan& plan) {
  // 1. The key and the candidate's data into the package's settings.
  try {
    for (const ear::IniWrite& w : plan.iniWrites) ear::WriteIniString(w.path, w.section, w.key, w.value);
  } catch (const std::exception& error) {
    return {HandoverStep::WriteIni, error.what()};
  }
  // 2. The settings folder hidden, 3. the package renamed: step 4 tells whether it was.
  try {
    PauseAndProcess(100);
    HideFolder(plan.systemFolder, ear::kHiddenArchive, screen.Context().exePath);
    MoveFileA(plan.package.c_str(), plan.candidateFolder.c_str());
    PauseAndProcess(500);
  } catch (const std::exception& error) {
    return {HandoverStep::Rename, error.what()};
  }
  // 4. The exam program in the candidate folder.
  if (!ear::FileExists(plan.examProgram)) return {HandoverStep::FindExam, ""};
  // 5. The launch batch; 6. with -debug it stays unrun.
  try {
    ear::WriteBatchFile(plan.batchPath, plan.batchText);
  } catch (const std::exception& error) {
    return {HandoverStep::WriteBatch, error.what()};
  }
  if (screen.DebugMode) {
    forms::ShowInformation(screen.Handle(), ear::kDebugNotice);
    return {};
  }
  // 7. The batch started without a window.
  POINT origin{0, 0};
  ClientToScreen(screen.Handle(), &origin);
  if (!screen.startBatch(plan.batchPath,
                         {.left = origin.x, .top = origin.y, .width = screen.Width(), .height = screen.Height()})) {
    const DWORD code = GetLastError();
    return {HandoverStep::StartBatch, ear::SystemErrorText(code, ear::SystemMessage(code))};
  }
  // 8. The exam window awaited.
  const ear::ExamWindowWait outcome = ear::WaitForExamWindow(
      [] { return FindWindowA(nullptr, ear::kExamWindowTitle) != nullptr; },
      [] { PauseAndProcess(ear::kExamWindowPollMs); }, [] { return GetTickCount64(); }, ear::kExamWindowTimeoutMs);
  if (outcome == ear::ExamWindowWait::TimedOut) return {HandoverStep::WaitExam, ""};
  return {};
}

void Report(TfrmJPZZ0010& screen, const HandoverOutcome& outcome) {
  bool ends = outcome.failed == HandoverStep::Done;
  for (const FailureReport& r : kFailureReports) {
    if (r.step != outcome.failed) continue;
    ear::ShowCodedMessage(&screen, r.message, outcome.detail);
    if (r.deployFollows) ear::ShowCodedMessage(&screen, ear::kMsgDeployFailed, "");
    ends = r.endsScreen;
  }
  if (ends) screen.SetModalResult(forms::mrOk);
}

}  // namespace

void TfrmJPZZ0010::OkBtnClick() {
  if (Busy) return;
  Busy = true;

  ear::HandoverPlan plan;
  try {
    plan = ear::PlanHandover(ear::ReadPackageSettings(Paths()),
                             {KaiCdEdt.Text(), JuBanEdt.Text(), SeiEdt.Text(), MeiEdt.Text()},
                             {Context().exePath, ear::SystemFolder(), ear::LongestPathInside(Paths().package)},
                             [this] { return makeRandomKey(ear::kRandomKeyLength); }, DirectoryExists);
  } catch (const std::exception& error) {
    Report(*this, {HandoverStep::Plan, error.what()});
    return;
  }
  // A refusal comes before anything is written: the candidate may correct and try again.
  if (!plan.check.ok) {
    ShowCheckResult(plan.check);
    Busy = false;
    return;
  }
  if (plan.Refused()) {
    ear::ShowCodedMessage(this, plan.refusal, "");
    Busy = false;
    return;
  }
  Report(*this, RunHandover(*this, plan));
}
