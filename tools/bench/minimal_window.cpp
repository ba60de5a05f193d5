// The baseline of the start-up benchmark: one plain window, nothing else.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = instance;
  wc.lpszClassName = "BenchMinimal";
  RegisterClassA(&wc);
  HWND hwnd = CreateWindowExA(0, "BenchMinimal", "BenchMinimal", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                              nullptr, instance, nullptr);
  ShowWindow(hwnd, show);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}
