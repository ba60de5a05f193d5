// Test driver for earcheck.exe's drag-and-drop start: runs a program in a console of its
// own, as Explorer does for dropped folders, and answers commands read line by line from
// standard input, one line of output each:
//
//   earcheck_console_driver PROGRAM [ARG...]   -> "pid N"
//   state       -> "running" or "exited CODE"
//   screen      -> the console's text, rows joined by "|" (trailing blanks cut), UTF-8
//   enter       -> "sent": Enter typed into the program's console
//   wait MS     -> "exited CODE" or "running" when MS pass first
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

HANDLE out;

void Say(const std::string& line) {
  const std::string text = line + "\n";
  DWORD n;
  WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &n, nullptr);
}

std::string Utf8(const std::wstring& w) {
  if (w.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

std::wstring Quoted(const wchar_t* arg) {
  std::wstring q = L"\"";
  q += arg;
  return q + L"\"";
}

// Attached to the program's console only while one command runs: our own output stays the pipe.
struct Attached {
  bool ok;
  explicit Attached(DWORD pid) : ok(AttachConsole(pid) != 0) {}
  ~Attached() {
    if (ok) FreeConsole();
  }
};

std::string Screen(DWORD pid) {
  Attached a(pid);
  if (!a.ok) return "no console";
  const HANDLE con = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (con == INVALID_HANDLE_VALUE || !GetConsoleScreenBufferInfo(con, &info)) return "no buffer";
  std::string text;
  for (SHORT y = 0; y <= info.dwCursorPosition.Y; ++y) {
    std::wstring row(static_cast<std::size_t>(info.dwSize.X), L' ');
    DWORD n = 0;
    ReadConsoleOutputCharacterW(con, row.data(), info.dwSize.X, {0, y}, &n);
    row.resize(n);
    while (!row.empty() && row.back() == L' ') row.pop_back();
    if (y) text += '|';
    text += Utf8(row);
  }
  CloseHandle(con);
  return text;
}

bool Enter(DWORD pid) {
  Attached a(pid);
  if (!a.ok) return false;
  const HANDLE con = CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
  if (con == INVALID_HANDLE_VALUE) return false;
  INPUT_RECORD keys[2] = {};
  for (int i = 0; i < 2; ++i) {
    keys[i].EventType = KEY_EVENT;
    keys[i].Event.KeyEvent.bKeyDown = i == 0;
    keys[i].Event.KeyEvent.wRepeatCount = 1;
    keys[i].Event.KeyEvent.wVirtualKeyCode = VK_RETURN;
    keys[i].Event.KeyEvent.wVirtualScanCode = 0x1C;
    keys[i].Event.KeyEvent.uChar.UnicodeChar = L'\r';
  }
  DWORD n = 0;
  const bool ok = WriteConsoleInputW(con, keys, 2, &n) && n == 2;
  CloseHandle(con);
  return ok;
}

std::string State(HANDLE process, DWORD ms) {
  if (WaitForSingleObject(process, ms) != WAIT_OBJECT_0) return "running";
  DWORD code = 0;
  GetExitCodeProcess(process, &code);
  return "exited " + std::to_string(code);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (argc < 2) {
    Say("usage: earcheck_console_driver PROGRAM [ARG...]");
    return 2;
  }
  std::wstring command = Quoted(argv[1]);
  for (int i = 2; i < argc; ++i) command += L" " + Quoted(argv[i]);
  // Our own console (if Wine gave us one) is left first, so the program's is its alone.
  FreeConsole();
  STARTUPINFOW si{sizeof si};
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE, nullptr, nullptr, &si,
                      &pi)) {
    Say("error " + std::to_string(GetLastError()));
    return 1;
  }
  CloseHandle(pi.hThread);
  Say("pid " + std::to_string(pi.dwProcessId));
  char line[256];
  const HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
  std::string pending;
  for (;;) {
    DWORD n = 0;
    if (!ReadFile(in, line, sizeof line, &n, nullptr) || n == 0) break;
    pending.append(line, n);
    for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
      std::string cmd = pending.substr(0, end);
      pending.erase(0, end + 1);
      if (!cmd.empty() && cmd.back() == '\r') cmd.pop_back();
      if (cmd == "state") {
        Say(State(pi.hProcess, 0));
      } else if (cmd == "screen") {
        Say(Screen(pi.dwProcessId));
      } else if (cmd == "enter") {
        Say(Enter(pi.dwProcessId) ? "sent" : "not sent");
      } else if (cmd.rfind("wait ", 0) == 0) {
        Say(State(pi.hProcess, static_cast<DWORD>(std::stoul(cmd.substr(5)))));
      } else {
        Say("unknown " + cmd);
      }
    }
  }
  CloseHandle(pi.hProcess);
  return 0;
}
