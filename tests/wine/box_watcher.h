#pragma once
// Test helper: reads the next message box of this process from another thread, as a
// person would see it, and answers it.
#include <windows.h>

#include <string>
#include <vector>

#include "base/handle.h"

namespace testing_win {

struct BoxInfo {
  bool found = false;
  std::string title;  // CP932 bytes
  std::string text;
  std::vector<std::string> buttons;
  std::vector<int> buttonIds;
  int defaultId = 0;
  bool hasIcon = false;
  HWND owner = nullptr;
};

// Waits on its own thread, up to timeoutMs, for a dialog box of this process, reads it
// and presses the button with pressId (IDOK, IDYES, ...), or IDCANCEL when 0.
// (Win32 threads: <thread> and <chrono> don't compile for the Shift-JIS execution set.)
class BoxWatcher {
 public:
  explicit BoxWatcher(int pressId, int timeoutMs = 5000);
  ~BoxWatcher();
  BoxWatcher(const BoxWatcher&) = delete;
  BoxWatcher& operator=(const BoxWatcher&) = delete;
  // Waits for the watcher's thread and returns what it saw.
  BoxInfo get();

 private:
  static DWORD WINAPI Run(void* self);
  int pressId_;
  int timeoutMs_;
  BoxInfo info_;
  ear::KernelHandle thread_;
};

}  // namespace testing_win
