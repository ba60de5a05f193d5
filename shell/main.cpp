// Program entry: GDI+ for the run, the single-instance lock, the backdrop screen.
#include <windows.h>

#include "forms/application.h"
#include "imaging/gdiplus_win.h"
#include "screens/wizard.h"
#include "shell/frmJPZZ0020.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  ear::gdiplus::Session gdiplus;
  // Never released nor closed: ownership ends with the process.
  HANDLE mutex = CreateMutexA(nullptr, FALSE, "ExamAutoRunnerProgram_Basic");
  if (WaitForSingleObject(mutex, 0) == WAIT_TIMEOUT) return 0;

  TfrmJPZZ0020 mainForm;
  frmJPZZ0020 = &mainForm;
  wizardBackdrop = &mainForm;
  forms::App().SetMainForm(&mainForm);
  forms::App().Run();
  return 0;
}
