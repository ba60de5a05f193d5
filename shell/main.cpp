// Program entry: GDI+ for the run (started when a picture first needs it), the single-instance
// lock, "-debug" read once, the backdrop screen.
#include <windows.h>

#include "base/command_line.h"
#include "base/command_line_win.h"
#include "forms/application.h"
#include "imaging/gdiplus_win.h"
#include "shell/frmJPZZ0020.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  ear::gdiplus::Session gdiplus(ear::gdiplus::Session::StartAt::firstUse);
  // Never released nor closed: ownership ends with the process.
  HANDLE mutex = CreateMutexA(nullptr, FALSE, "ExamAutoRunnerProgram_Basic");
  if (WaitForSingleObject(mutex, 0) == WAIT_TIMEOUT) return 0;

  TfrmJPZZ0020 mainForm(ear::HasDebugFlag(ear::CommandLineArguments()));
  frmJPZZ0020 = &mainForm;
  forms::App().SetMainForm(&mainForm);
  forms::App().Run();
  return 0;
}
