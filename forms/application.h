#pragma once
// The application object: the one message loop, ProcessMessages, the default error box.
#include <windows.h>

#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "forms/control_tree.h"

namespace forms {

class Application {
 public:
  // Errors that escape a control's handler go to ShowException.
  Application();

  // Title: the exe's file name cut at its first ".", all but the first character in lower case.
  std::string Title() const;

  void SetMainForm(TopLevel* form) { mainForm_ = form; }  // not owned
  TopLevel* MainForm() const { return mainForm_; }
  // Shows the main form and runs the message loop until Terminate.
  void Run();
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Waits for one message and handles it; while none waits and idle work is queued, does
  // one slice of that work instead.
  void HandleMessage();
  // Work for the idle moments of the message loop, in slices: each call of task does one
  // and says whether more is left. Input and painting always go first; ProcessMessages
  // never runs it. A task that throws is dropped and its error shown like a handler's.
  // The owner cancels its tasks before it goes.
  void WhenIdle(const void* owner, std::function<bool()> task);
  void CancelIdle(const void* owner);
  bool IdleWorkPending() const { return !idle_.empty(); }
  // Handles every pending message without waiting.
  void ProcessMessages();
  // The default error box for an error that escaped a handler; the program goes on.
  void ShowException(const std::exception& error);
  // The control that holds the input focus in the active form.
  WinControl* ActiveControl() const;

 private:
  bool ProcessMessage(MSG& msg);
  void RunIdleSlice();
  struct IdleTask {
    const void* owner;
    std::uint64_t id;
    std::function<bool()> task;
  };
  std::vector<IdleTask> idle_;
  std::uint64_t nextIdleId_ = 0;
  // Tab, Enter and Escape, before the key is dispatched; true when handled.
  bool IsDialogKey(const MSG& msg);
  // What the focused control's row says Enter does; true when the key stops there.
  static bool ClickForEnter(WinControl& focused);
  TopLevel* mainForm_ = nullptr;
  bool terminated_ = false;
};

Application& App();

}  // namespace forms
