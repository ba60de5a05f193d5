// testwin: small windows for exercising wdrive. Prints what it receives, one line each.
//   testwin msgbox TITLE TEXT FLAGS     shows MessageBoxW, prints "result=N", exits with N
//   testwin window TITLE [--round]     a window with a button (id 101) and an edit (id 102)
//   testwin setattr PATH ATTRS         SetFileAttributesW, prints the attributes read back
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

void Say(const char* fmt, long long v = 0) {
  printf(fmt, v);
  printf("\n");
  fflush(stdout);
}

LRESULT CALLBACK EditProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  if (msg == WM_KEYDOWN) Say("edit keydown %lld", static_cast<long long>(wp));
  if (msg == WM_CHAR) Say("edit char %lld", static_cast<long long>(wp));
  return DefSubclassProc(h, msg, wp, lp);
}

LRESULT CALLBACK WndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (HIWORD(wp) == BN_CLICKED) Say("click %lld", LOWORD(wp));
      return 0;
    case WM_KEYDOWN:
      Say("keydown %lld", static_cast<long long>(wp));
      return 0;
    case WM_LBUTTONDOWN:
      Say("lbuttondown %lld", static_cast<long long>(lp));
      return 0;
    case WM_CLOSE:
      Say("close");
      DestroyWindow(h);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(h, msg, wp, lp);
}

int RunWindow(const wchar_t* title, bool round) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = WndProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"EarTestWin";
  RegisterClassW(&wc);
  HWND h = CreateWindowExW(0, wc.lpszClassName, title, WS_POPUP | WS_CAPTION | WS_SYSMENU, 100, 100, 320, 200,
                           nullptr, nullptr, wc.hInstance, nullptr);
  CreateWindowExW(0, L"BUTTON", L"押す", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 20, 20, 100, 30, h,
                  reinterpret_cast<HMENU>(101), wc.hInstance, nullptr);
  HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"初期値", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 20, 70, 200, 24,
                              h, reinterpret_cast<HMENU>(102), wc.hInstance, nullptr);
  SetWindowSubclass(edit, EditProc, 1, 0);
  if (round) SetWindowRgn(h, CreateRoundRectRgn(0, 0, 321, 201, 40, 40), FALSE);
  ShowWindow(h, SW_SHOW);
  Say("ready %lld", static_cast<long long>(reinterpret_cast<uintptr_t>(h)));
  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) {
    if (!IsDialogMessageW(h, &m)) {
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
  }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc >= 5 && std::wstring(argv[1]) == L"msgbox") {
    const int r = MessageBoxW(nullptr, argv[3], argv[2], static_cast<UINT>(wcstoul(argv[4], nullptr, 0)));
    Say("result=%lld", r);
    return r;
  }
  if (argc >= 3 && std::wstring(argv[1]) == L"window") {
    return RunWindow(argv[2], argc >= 4 && std::wstring(argv[3]) == L"--round");
  }
  if (argc >= 4 && std::wstring(argv[1]) == L"setattr") {
    const BOOL ok = SetFileAttributesW(argv[2], wcstoul(argv[3], nullptr, 0));
    Say("attributes=%lld", static_cast<long long>(GetFileAttributesW(argv[2])));
    return ok ? 0 : 1;
  }
  fputs("usage: testwin msgbox TITLE TEXT FLAGS | window TITLE [--round] | setattr PATH ATTRS\n", stderr);
  return 2;
}
