// Plays the launcher for the tests: runs the self-removal as the main form would,
// then reports the outcome into the file named by "--result=<path>".
#include <windows.h>

#include <string>

#include "base/command_line.h"
#include "base/command_line_win.h"
#include "base/error.h"
#include "base/module_path.h"
#include "package/paths.h"
#include "shell/self_removal_win.h"

namespace {

void WriteResult(const std::string& path, const std::string& text) {
  if (path.empty()) return;
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // A visible main form, so that the process ends as the launcher does: after its last window.
  WNDCLASSA form = {};
  form.lpfnWndProc = FormProc;
  form.hInstance = instance;
  form.lpszClassName = "EarStandInForm";
  RegisterClassA(&form);
  const HWND window = CreateWindowExA(0, form.lpszClassName, "frmJPZZ0020", WS_POPUP | WS_VISIBLE,
                                      0, 0, 320, 200, nullptr, nullptr, instance, nullptr);
  ear::SelfRemovalContext context;
  context.owner = window;
  context.exePath = ear::ExecutablePath();
  RECT client = {};
  GetClientRect(window, &client);
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  context.clientLeft = origin.x;
  context.clientTop = origin.y;
  context.clientWidth = client.right;
  context.clientHeight = client.bottom;
  context.debugMode = ear::HasDebugFlag(ear::CommandLineArguments());
  std::string resultPath;
  for (int i = 1; i < __argc; ++i) {
    const std::string arg = __argv[i];
    if (arg.starts_with("--result=")) resultPath = arg.substr(9);
  }
  bool closed = false;
  context.closeMainForm = [&closed, window] {
    closed = true;
    DestroyWindow(window);
  };
  try {
    ear::RunSelfRemoval(context);
    WriteResult(resultPath, closed ? "closed" : "returned");
  } catch (const ear::Error& e) {
    WriteResult(resultPath, "error:" + e.Message());
  }
  if (IsWindow(window)) DestroyWindow(window);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}
