#pragma once
// The application object: the one message loop, ProcessMessages, the default error box.
#include <windows.h>

#include <exception>
#include <string>

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
  // Waits for one message and handles it.
  void HandleMessage();
  // Handles every pending message without waiting.
  void ProcessMessages();
  // The default error box for an error that escaped a handler; the program goes on.
  void ShowException(const std::exception& error);
  // The control that holds the input focus in the active form.
  WinControl* ActiveControl() const;

 private:
  bool ProcessMessage(MSG& msg);
  // Tab, Enter and Escape, before the key is dispatched; true when handled.
  bool IsDialogKey(const MSG& msg);
  // What the focused control's row says Enter does; true when the key stops there.
  static bool ClickForEnter(WinControl& focused);
  TopLevel* mainForm_ = nullptr;
  bool terminated_ = false;
};

Application& App();

}  // namespace forms
