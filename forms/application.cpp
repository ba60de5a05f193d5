#include "forms/application.h"

#include <vector>

#include "base/module_path.h"
#include "base/text_win.h"
#include "forms/app_text.h"
#include "forms/control_tree.h"
#include "forms/form.h"

namespace forms {

Application& App() {
  static Application app;
  return app;
}

std::string Application::Title() const { return ApplicationTitle(ear::ExecutablePath()); }

void Application::Run() {
  if (mainForm_) mainForm_->ShowForm();
  while (!terminated_) HandleMessage();
}

void Application::Terminate() {
  if (terminated_) return;
  terminated_ = true;
  PostQuitMessage(0);
}

void Application::HandleMessage() {
  MSG msg;
  const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
  if (got == 0 || got == -1) {
    terminated_ = true;
    return;
  }
  ProcessMessage(msg);
}

void Application::ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      terminated_ = true;
      return;
    }
    ProcessMessage(msg);
  }
}

bool Application::ProcessMessage(MSG& msg) {
  if (IsDialogKey(msg)) return true;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
  return true;
}

bool Application::IsDialogKey(const MSG& msg) {
  if (msg.message != WM_KEYDOWN) return false;
  const WORD key = static_cast<WORD>(msg.wParam);
  if (key != VK_RETURN && key != VK_ESCAPE && key != VK_TAB) return false;
  WinControl* focused = WinControl::FromHandle(msg.hwnd);
  if (!focused || focused->WantsKey(key)) return false;
  Form* form = focused->ParentForm();
  if (!form) return false;
  const unsigned shift = CurrentShiftState();
  try {
    if (key == VK_TAB) {
      if (shift & (ssCtrl | ssAlt)) return false;
      form->SelectNext((shift & ssShift) == 0);
      return true;
    }
    return form->DialogKey(key, shift);
  } catch (const std::exception& error) {
    ShowException(error);
    return true;
  }
}

void Application::ShowException(const std::exception& error) {
  HWND owner = GetActiveWindow();
  MessageBoxW(owner, ear::Widen(ErrorBoxText(error.what())).c_str(), ear::Widen(Title()).c_str(), MB_OK | MB_ICONSTOP);
}

WinControl* Application::ActiveControl() const { return WinControl::FromHandle(GetFocus()); }

}  // namespace forms
