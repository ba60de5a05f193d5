#include "forms/application.h"

#include <utility>
#include <vector>

#include "base/module_path.h"
#include "base/text_win.h"
#include "forms/app_text.h"

namespace forms {

Application& App() {
  static Application app;
  return app;
}

Application::Application() {
  SetErrorReporter([](const std::exception& error) { App().ShowException(error); });
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
  if (!idle_.empty() && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
    RunIdleSlice();
    return;
  }
  const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
  if (got == 0 || got == -1) {
    terminated_ = true;
    return;
  }
  ProcessMessage(msg);
}

void Application::WhenIdle(const void* owner, std::function<bool()> task) {
  idle_.push_back({owner, nextIdleId_++, std::move(task)});
}

void Application::CancelIdle(const void* owner) {
  std::erase_if(idle_, [owner](const IdleTask& t) { return t.owner == owner; });
}

void Application::RunIdleSlice() {
  // A copy: the slice may queue or cancel tasks, its own among them.
  const std::uint64_t id = idle_.front().id;
  const std::function<bool()> task = idle_.front().task;
  const auto drop = [this, id] { std::erase_if(idle_, [id](const IdleTask& t) { return t.id == id; }); };
  try {
    if (!task()) drop();
  } catch (const std::exception& error) {
    drop();
    ShowException(error);
  }
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
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
  const WORD key = static_cast<WORD>(msg.wParam);
  if (key != VK_RETURN && key != VK_ESCAPE && key != VK_TAB) return false;
  WinControl* focused = WinControl::FromHandle(msg.hwnd);
  if (!focused) return false;
  TopLevel* top = focused->ParentTopLevel();
  auto* form = dynamic_cast<WinControl*>(top);
  const unsigned shift = CurrentShiftState();
  try {
    if (form && msg.message == WM_KEYDOWN) {
      if (key == VK_TAB) {
        if (shift & (ssCtrl | ssAlt)) return false;
        top->SelectNext((shift & ssShift) == 0);
        return true;
      }
      if (form->DialogKey(key, shift)) return true;
    }
    return key == VK_RETURN && ClickForEnter(*focused);
  } catch (const std::exception& error) {
    ShowException(error);
    return true;
  }
}

bool Application::ClickForEnter(WinControl& focused) {
  WinControl* button = focused.EnterClicks();
  if (!button) return false;
  // A button's own Enter, when no dialog key took it: its click handler alone (no modal
  // result), and the key stops.
  if (button == &focused) {
    if (!focused.Enabled()) return false;
    focused.RunClickHandler();
    return true;
  }
  // An edit's Enter: the focus moves to the button and its click handler runs alone, as a
  // handler called directly; the key then goes on to the edit.
  button->SetFocus();
  button->RunClickHandler();
  return false;
}

void Application::ShowException(const std::exception& error) {
  HWND owner = GetActiveWindow();
  MessageBoxW(owner, ear::Widen(ErrorBoxText(error.what())).c_str(), ear::Widen(Title()).c_str(), MB_OK | MB_ICONSTOP);
}

WinControl* Application::ActiveControl() const { return WinControl::FromHandle(GetFocus()); }

}  // namespace forms
