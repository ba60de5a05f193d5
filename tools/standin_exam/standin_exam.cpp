// Stand-in for the exam program: shows the window "frmJPBG0010" that the launcher waits for
// and reports what it found in its package (see README.md for the report format).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/gdi.h"
#include "base/handle.h"
#include "package/package_settings.h"
#include "tools/common/utf8_win.h"

namespace {

struct Entry {
  std::string key;
  std::string value;  // CP932 bytes, as the ANSI functions give them
};

using tools::Utf8;
using tools::Widen;

std::string Hex(const std::string& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) out += digits[c >> 4], out += digits[c & 15];
  return out;
}

std::string Number(unsigned long long v) { return std::to_string(v); }

std::string ReadIni(const std::string& file, const char* section, const char* key) {
  char buf[2048] = {};
  GetPrivateProfileStringA(section, key, "", buf, sizeof buf, file.c_str());
  return buf;
}

std::string EnvA(const char* name) {
  char buf[4096] = {};
  const DWORD n = GetEnvironmentVariableA(name, buf, sizeof buf);
  return n > 0 && n < sizeof buf ? std::string(buf, n) : std::string();
}

// The module's folder: up to the last '\' that is not the second byte of a two-byte character.
std::string ModuleFolder() {
  char buf[MAX_PATH * 2] = {};
  GetModuleFileNameA(nullptr, buf, sizeof buf);
  const std::string module = buf;
  size_t cut = std::string::npos;
  for (size_t i = 0; i < module.size(); ++i) {
    if (IsDBCSLeadByte(static_cast<BYTE>(module[i])) && i + 1 < module.size()) {
      ++i;
      continue;
    }
    if (module[i] == '\\') cut = i;
  }
  return cut == std::string::npos ? std::string() : module.substr(0, cut + 1);
}

std::vector<Entry> Gather() {
  std::vector<Entry> e;
  char buf[MAX_PATH * 2] = {};
  GetCurrentDirectoryA(sizeof buf, buf);
  e.push_back({"cwd", buf});
  GetModuleFileNameA(nullptr, buf, sizeof buf);
  e.push_back({"module", buf});
  const std::string folder = ModuleFolder();
  e.push_back({"module_folder", folder});
  e.push_back({"command_line", GetCommandLineA()});
  e.push_back({"pid", Number(GetCurrentProcessId())});

  const std::string system = folder + "system";
  const DWORD attrs = GetFileAttributesA(system.c_str());
  e.push_back({"system_attributes", attrs == INVALID_FILE_ATTRIBUTES ? std::string("none") : Number(attrs)});

  const std::string shiken = system + "\\shiken.ini";
  const std::string sysini = system + "\\system.ini";
  e.push_back({"shiken_ini_exists", GetFileAttributesA(shiken.c_str()) == INVALID_FILE_ATTRIBUTES ? "0" : "1"});
  for (const char* key : {"会場コード", "受験番号", "姓", "名"})
    e.push_back({std::string("shiken.") + key, ReadIni(shiken, "受験者情報", key)});
  e.push_back({"system.固有キー", ReadIni(sysini, ear::kBasicSection, "固有キー")});

  STARTUPINFOA si{};
  si.cb = sizeof si;
  GetStartupInfoA(&si);
  e.push_back({"startup_flags", Number(si.dwFlags)});
  e.push_back({"startup_rect", Number(si.dwX) + "," + Number(si.dwY) + "," + Number(si.dwXSize) + "," + Number(si.dwYSize)});
  e.push_back({"startup_show", Number(si.wShowWindow)});
  return e;
}

// One line per entry: key=value in UTF-8, then key.hex=the CP932 bytes of the value.
std::string Format(const std::vector<Entry>& entries) {
  std::string out;
  for (const auto& e : entries) {
    const std::string key = Utf8(Widen(e.key, 932));
    out += key + "=" + Utf8(Widen(e.value, 932)) + "\r\n";
    out += key + ".hex=" + Hex(e.value) + "\r\n";
  }
  out += "end=1\r\n";
  return out;
}

// Written to a side file and moved into place, so a reader never sees half a report.
void WriteReport(const std::string& text) {
  std::string path = EnvA("EAR_STANDIN_REPORT");
  if (path.empty()) path = "C:\\ear_standin_report.txt";
  const std::string temp = path + ".part";
  {
    const ear::FileHandle f(
        CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return;
    DWORD written = 0;
    WriteFile(f.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  }
  MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

std::wstring g_shown;

LRESULT CALLBACK WndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(h, &ps);
      RECT r;
      GetClientRect(h, &r);
      InflateRect(&r, -16, -16);
      {
        const ear::gdi::Object<HFONT> font(
            CreateFontW(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, L"IPAPGothic"));
        const ear::gdi::Select selected(dc, font.Get());
        SetBkMode(dc, TRANSPARENT);
        DrawTextW(dc, g_shown.c_str(), -1, &r, DT_LEFT | DT_TOP | DT_WORDBREAK);
      }
      EndPaint(h, &ps);
      return 0;
    }
    case WM_TIMER:
      DestroyWindow(h);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(h, msg, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  const std::vector<Entry> entries = Gather();
  g_shown = L"受験プログラム（代役）\n\n";
  for (const auto& e : entries) g_shown += Widen(e.key, 932) + L" = " + Widen(e.value, 932) + L"\n";

  // A file "standin_no_window" beside the program: it plays an exam that never shows its
  // window (it reports, then waits out its lifetime, 180 s unless EAR_STANDIN_LIFETIME_MS says).
  const std::string lifetime = EnvA("EAR_STANDIN_LIFETIME_MS");
  if (GetFileAttributesA((ModuleFolder() + "standin_no_window").c_str()) != INVALID_FILE_ATTRIBUTES) {
    WriteReport(Format(entries));
    Sleep(lifetime.empty() ? 180000 : static_cast<DWORD>(strtoul(lifetime.c_str(), nullptr, 10)));
    return 0;
  }

  WNDCLASSW wc{};
  wc.lpfnWndProc = WndProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = L"EarStandinExam";
  RegisterClassW(&wc);
  HWND h = CreateWindowExW(0, wc.lpszClassName, L"frmJPBG0010", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                           640, 480, nullptr, nullptr, instance, nullptr);
  if (!h) return 1;
  ShowWindow(h, show);
  UpdateWindow(h);
  WriteReport(Format(entries));

  if (!lifetime.empty()) SetTimer(h, 1, static_cast<UINT>(strtoul(lifetime.c_str(), nullptr, 10)), nullptr);

  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  return 0;
}
