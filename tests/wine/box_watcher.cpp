#include "tests/wine/box_watcher.h"

#include "base/text_win.h"

namespace testing_win {

namespace {

struct Search {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK MatchBox(HWND hwnd, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  if (pid == s->pid && IsWindowVisible(hwnd) && std::wstring(cls) == L"#32770") {
    s->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

HWND FindBox() {
  Search search{GetCurrentProcessId(), nullptr};
  EnumWindows(&MatchBox, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string WindowText(HWND hwnd) {
  wchar_t buffer[4096] = {};
  GetWindowTextW(hwnd, buffer, 4096);
  return ear::Narrow(buffer);
}

}  // namespace

BoxWatcher::BoxWatcher(int pressId, int timeoutMs) : pressId_(pressId), timeoutMs_(timeoutMs) {
  thread_.Reset(CreateThread(nullptr, 0, &BoxWatcher::Run, this, 0, nullptr));
}

BoxWatcher::~BoxWatcher() { get(); }

BoxInfo BoxWatcher::get() {
  if (thread_) {
    WaitForSingleObject(thread_.Get(), INFINITE);
    thread_.Reset();
  }
  return info_;
}

DWORD WINAPI BoxWatcher::Run(void* param) {
  auto* self = static_cast<BoxWatcher*>(param);
  BoxInfo& info = self->info_;
  HWND box = nullptr;
  for (int waited = 0; !box && waited < self->timeoutMs_; waited += 20) {
    box = FindBox();
    if (!box) Sleep(20);
  }
  if (!box) return 0;
  Sleep(100);  // let it finish laying out
  info.found = true;
  info.title = WindowText(box);
  info.owner = GetWindow(box, GW_OWNER);
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t cls[64] = {};
    GetClassNameW(child, cls, 64);
    const std::wstring c(cls);
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    if (c == L"Button" && IsWindowVisible(child)) {
      info.buttons.push_back(WindowText(child));
      info.buttonIds.push_back(GetDlgCtrlID(child));
      // The default button is the one drawn as default, whatever DM_GETDEFID says.
      if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) info.defaultId = GetDlgCtrlID(child);
    } else if (c == L"Static") {
      if ((style & SS_TYPEMASK) == SS_ICON) {
        info.hasIcon = info.hasIcon || (IsWindowVisible(child) && SendMessageW(child, STM_GETICON, 0, 0) != 0);
      } else if (GetDlgCtrlID(child) == 0xFFFF) {
        info.text = WindowText(child);
      }
    }
  }
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(self->pressId_ ? self->pressId_ : IDCANCEL, BN_CLICKED), 0);
  return 0;
}

}  // namespace testing_win
