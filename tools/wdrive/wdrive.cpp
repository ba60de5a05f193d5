// wdrive: inspects and drives the windows of other programs in the same Wine prefix.
// Output is UTF-8 JSON, one object per line; see README.md for the commands.
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "base/gdi.h"
#include "base/handle.h"
#include "tools/common/utf8_win.h"

namespace {

using tools::Utf8;

class Json {
 public:
  Json& Key(const char* k) { Sep(); Str(k); out_ += ':'; fresh_ = true; return *this; }
  Json& Begin() { Sep(); out_ += '{'; fresh_ = true; return *this; }
  Json& End() { out_ += '}'; fresh_ = false; return *this; }
  Json& BeginArray() { Sep(); out_ += '['; fresh_ = true; return *this; }
  Json& EndArray() { out_ += ']'; fresh_ = false; return *this; }
  Json& Int(long long v) { Sep(); out_ += std::to_string(v); return *this; }
  Json& Bool(bool v) { Sep(); out_ += v ? "true" : "false"; return *this; }
  Json& Text(const std::wstring& w) { Sep(); Str(Utf8(w)); return *this; }
  Json& Rect(const RECT& r) {
    BeginArray().Int(r.left).Int(r.top).Int(r.right).Int(r.bottom);
    return EndArray();
  }
  void Print() {
    out_ += '\n';
    fwrite(out_.data(), 1, out_.size(), stdout);
    fflush(stdout);
    out_.clear();
    fresh_ = true;
  }

 private:
  void Sep() {
    if (!fresh_) out_ += ',';
    fresh_ = false;
  }
  void Str(const std::string& s) {
    out_ += '"';
    for (unsigned char c : s) {
      if (c == '"' || c == '\\') {
        out_ += '\\';
        out_ += static_cast<char>(c);
      } else if (c < 0x20) {
        char buf[8];
        snprintf(buf, sizeof buf, "\\u%04x", c);
        out_ += buf;
      } else {
        out_ += static_cast<char>(c);
      }
    }
    out_ += '"';
  }
  std::string out_;
  bool fresh_ = true;
};

[[noreturn]] void Fail(const char* fmt, const wchar_t* arg = L"") {
  fprintf(stderr, "wdrive: ");
  fprintf(stderr, fmt, Utf8(arg).c_str());
  fprintf(stderr, "\n");
  exit(2);
}

HWND ParseHwnd(const wchar_t* s) {
  wchar_t* end = nullptr;
  const unsigned long long v = wcstoull(s, &end, 0);
  if (end == s || *end != 0) Fail("not a window handle: %s", s);
  HWND h = reinterpret_cast<HWND>(static_cast<uintptr_t>(v));
  if (!IsWindow(h)) Fail("no such window: %s", s);
  return h;
}

long long HwndValue(HWND h) { return static_cast<long long>(reinterpret_cast<uintptr_t>(h)); }

std::wstring ClassOf(HWND h) {
  wchar_t buf[256] = {};
  GetClassNameW(h, buf, 256);
  return buf;
}

// Top-level titles come from the window manager's copy: no message to a possibly busy program.
std::wstring TitleOf(HWND h) {
  wchar_t buf[1024] = {};
  InternalGetWindowText(h, buf, 1024);
  return buf;
}

// Controls keep their own text (edits, for one): ask them, but never wait long on a hung program.
std::wstring ControlText(HWND h) {
  DWORD_PTR len = 0;
  if (!SendMessageTimeoutW(h, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 1000, &len)) return TitleOf(h);
  std::wstring buf(len + 1, L'\0');
  DWORD_PTR got = 0;
  if (!SendMessageTimeoutW(h, WM_GETTEXT, len + 1, reinterpret_cast<LPARAM>(buf.data()), SMTO_ABORTIFHUNG, 1000, &got))
    return TitleOf(h);
  buf.resize(got);
  return buf;
}

BOOL CALLBACK CollectWindow(HWND h, LPARAM p) {
  reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
  return TRUE;
}

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> all;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&all));
  return all;
}

std::vector<HWND> DirectChildren(HWND parent) {
  std::vector<HWND> kids;
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) kids.push_back(c);
  return kids;
}

void WriteChildren(Json& j, HWND parent, int depth) {
  j.Key("children").BeginArray();
  if (depth < 32) {
    for (HWND c : DirectChildren(parent)) {
      RECT r{};
      GetWindowRect(c, &r);
      j.Begin();
      j.Key("hwnd").Int(HwndValue(c));
      j.Key("class").Text(ClassOf(c));
      j.Key("text").Text(ControlText(c));
      j.Key("rect").Rect(r);
      j.Key("style").Int(static_cast<unsigned long>(GetWindowLongW(c, GWL_STYLE)));
      j.Key("exstyle").Int(static_cast<unsigned long>(GetWindowLongW(c, GWL_EXSTYLE)));
      j.Key("id").Int(GetDlgCtrlID(c));
      j.Key("visible").Bool(IsWindowVisible(c));
      j.Key("enabled").Bool(IsWindowEnabled(c));
      WriteChildren(j, c, depth + 1);
      j.End();
    }
  }
  j.EndArray();
}

void WriteWindow(Json& j, HWND h, bool children) {
  DWORD pid = 0;
  const DWORD tid = GetWindowThreadProcessId(h, &pid);
  RECT r{}, c{};
  GetWindowRect(h, &r);
  GetClientRect(h, &c);
  POINT origin{0, 0};
  ClientToScreen(h, &origin);
  j.Begin();
  j.Key("hwnd").Int(HwndValue(h));
  j.Key("pid").Int(pid);
  j.Key("tid").Int(tid);
  j.Key("title").Text(TitleOf(h));
  j.Key("class").Text(ClassOf(h));
  j.Key("visible").Bool(IsWindowVisible(h));
  j.Key("enabled").Bool(IsWindowEnabled(h));
  j.Key("foreground").Bool(GetForegroundWindow() == h);
  j.Key("rect").Rect(r);
  j.Key("client").BeginArray().Int(origin.x).Int(origin.y).Int(c.right).Int(c.bottom).EndArray();
  j.Key("style").Int(static_cast<unsigned long>(GetWindowLongW(h, GWL_STYLE)));
  j.Key("exstyle").Int(static_cast<unsigned long>(GetWindowLongW(h, GWL_EXSTYLE)));
  j.Key("owner").Int(HwndValue(GetWindow(h, GW_OWNER)));
  if (children) WriteChildren(j, h, 0);
  j.End();
}

struct Filter {
  std::wstring title, cls;
  bool hasTitle = false, hasClass = false, visibleOnly = false;
  DWORD pid = 0;
  bool Matches(HWND h) const {
    if (hasTitle && TitleOf(h) != title) return false;
    if (hasClass && ClassOf(h) != cls) return false;
    if (visibleOnly && !IsWindowVisible(h)) return false;
    if (pid) {
      DWORD p = 0;
      GetWindowThreadProcessId(h, &p);
      if (p != pid) return false;
    }
    return true;
  }
};

struct Args {
  std::vector<std::wstring> positional;
  std::vector<std::pair<std::wstring, std::wstring>> options;
  bool Has(const wchar_t* name) const {
    for (auto& o : options) if (o.first == name) return true;
    return false;
  }
  const wchar_t* Get(const wchar_t* name) const {
    for (auto& o : options) if (o.first == name) return o.second.c_str();
    return nullptr;
  }
  long Num(const wchar_t* name, long fallback) const {
    const wchar_t* v = Get(name);
    return v ? wcstol(v, nullptr, 0) : fallback;
  }
  Filter MakeFilter() const {
    Filter f;
    if (const wchar_t* t = Get(L"--title")) f.title = t, f.hasTitle = true;
    if (const wchar_t* c = Get(L"--class")) f.cls = c, f.hasClass = true;
    f.visibleOnly = Has(L"--visible");
    f.pid = static_cast<DWORD>(Num(L"--pid", 0));
    return f;
  }
};

// Options that stand alone; every other "--x" takes the next argument as its value.
bool IsFlag(const std::wstring& o) {
  return o == L"--visible" || o == L"--mouse" || o == L"--input" || o == L"--send" || o == L"--gone" ||
         o == L"--no-children";
}

Args Parse(int argc, wchar_t** argv, int from) {
  Args a;
  for (int i = from; i < argc; ++i) {
    std::wstring s = argv[i];
    if (s.rfind(L"--", 0) == 0) {
      if (IsFlag(s)) a.options.push_back({s, L""});
      else if (i + 1 < argc) a.options.push_back({s, argv[++i]});
      else Fail("option %s needs a value", s.c_str());
    } else {
      a.positional.push_back(s);
    }
  }
  return a;
}

HWND TargetOf(const Args& a) {
  if (a.positional.empty()) Fail("a window handle is needed");
  HWND h = ParseHwnd(a.positional[0].c_str());
  // --child TEXT picks a descendant by its text, --id N by its control id.
  if (const wchar_t* text = a.Get(L"--child")) {
    std::vector<HWND> all;
    EnumChildWindows(h, CollectWindow, reinterpret_cast<LPARAM>(&all));
    for (HWND c : all) {
      if (ControlText(c) == text) return c;
    }
    Fail("no child with text %s", text);
  }
  if (a.Has(L"--id")) {
    HWND c = GetDlgItem(h, static_cast<int>(a.Num(L"--id", 0)));
    if (!c) Fail("no child with that id");
    return c;
  }
  return h;
}

int CmdList(const Args& a) {
  const Filter f = a.MakeFilter();
  Json j;
  for (HWND h : TopLevelWindows()) {
    if (!f.Matches(h)) continue;
    WriteWindow(j, h, !a.Has(L"--no-children"));
    j.Print();
  }
  return 0;
}

int CmdWait(const Args& a) {
  const Filter f = a.MakeFilter();
  const DWORD timeout = static_cast<DWORD>(a.Num(L"--timeout", 10000));
  const bool gone = a.Has(L"--gone");
  const DWORD start = GetTickCount();
  for (;;) {
    HWND found = nullptr;
    for (HWND h : TopLevelWindows()) {
      if (f.Matches(h)) { found = h; break; }
    }
    if (found && !gone) {
      Json j;
      WriteWindow(j, found, !a.Has(L"--no-children"));
      j.Print();
      return 0;
    }
    if (!found && gone) return 0;
    if (GetTickCount() - start >= timeout) {
      fprintf(stderr, "wdrive: timed out\n");
      return 1;
    }
    Sleep(50);
  }
}

void PrintOk(HWND h) {
  Json j;
  j.Begin().Key("ok").Bool(true).Key("hwnd").Int(HwndValue(h)).End();
  j.Print();
}

int CmdClick(const Args& a) {
  HWND h = TargetOf(a);
  if (a.Has(L"--mouse")) {
    RECT c{};
    GetClientRect(h, &c);
    const LPARAM at = MAKELPARAM(a.Num(L"--x", c.right / 2), a.Num(L"--y", c.bottom / 2));
    PostMessageW(h, WM_MOUSEMOVE, 0, at);
    PostMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(h, WM_LBUTTONUP, 0, at);
  } else if (a.Has(L"--send")) {
    DWORD_PTR r = 0;
    SendMessageTimeoutW(h, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &r);
  } else {
    // Posted, so that a modal loop opened by the click does not hold us.
    PostMessageW(h, BM_CLICK, 0, 0);
  }
  PrintOk(h);
  return 0;
}

struct VkName { const wchar_t* name; WORD vk; };
const VkName kVkNames[] = {
    {L"RETURN", VK_RETURN}, {L"ENTER", VK_RETURN}, {L"ESCAPE", VK_ESCAPE}, {L"ESC", VK_ESCAPE},
    {L"TAB", VK_TAB}, {L"SPACE", VK_SPACE}, {L"BACK", VK_BACK}, {L"DELETE", VK_DELETE},
    {L"LEFT", VK_LEFT}, {L"RIGHT", VK_RIGHT}, {L"UP", VK_UP}, {L"DOWN", VK_DOWN},
    {L"HOME", VK_HOME}, {L"END", VK_END}, {L"SHIFT", VK_SHIFT}, {L"CONTROL", VK_CONTROL},
    {L"MENU", VK_MENU}, {L"ALT", VK_MENU}, {L"F1", VK_F1}, {L"F4", VK_F4}, {L"F10", VK_F10},
};

WORD ParseVk(const std::wstring& s) {
  for (const auto& n : kVkNames) if (s == n.name) return n.vk;
  if (s.size() == 1 && ((s[0] >= L'A' && s[0] <= L'Z') || (s[0] >= L'0' && s[0] <= L'9'))) return s[0];
  wchar_t* end = nullptr;
  const unsigned long v = wcstoul(s.c_str(), &end, 0);
  if (end == s.c_str() || *end != 0 || v == 0 || v > 255) Fail("unknown key %s", s.c_str());
  return static_cast<WORD>(v);
}

void SendInputKey(WORD vk) {
  INPUT in[2] = {};
  in[0].type = in[1].type = INPUT_KEYBOARD;
  in[0].ki.wVk = in[1].ki.wVk = vk;
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, in, sizeof(INPUT));
}

int CmdKey(const Args& a) {
  if (a.positional.size() < 2) Fail("usage: key HWND VK");
  HWND h = TargetOf(a);
  const WORD vk = ParseVk(a.positional[1]);
  if (a.Has(L"--input")) {
    SetForegroundWindow(GetAncestor(h, GA_ROOT));
    SetFocus(h);
    SendInputKey(vk);
  } else {
    const UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    const LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16);
    const LPARAM up = down | (1LL << 30) | (1LL << 31);
    PostMessageW(h, WM_KEYDOWN, vk, down);
    const wchar_t ch = static_cast<wchar_t>(MapVirtualKeyW(vk, MAPVK_VK_TO_CHAR));
    if (ch == L'\r' || ch == L'\t' || ch == 27 || ch == L' ' || ch == L'\b') PostMessageW(h, WM_CHAR, ch, down);
    PostMessageW(h, WM_KEYUP, vk, up);
  }
  PrintOk(h);
  return 0;
}

int CmdType(const Args& a) {
  if (a.positional.size() < 2) Fail("usage: type HWND TEXT");
  HWND h = TargetOf(a);
  for (wchar_t ch : a.positional[1]) PostMessageW(h, WM_CHAR, ch, 1);
  PrintOk(h);
  return 0;
}

int CmdSetText(const Args& a) {
  if (a.positional.size() < 2) Fail("usage: settext HWND TEXT");
  HWND h = TargetOf(a);
  DWORD_PTR r = 0;
  SendMessageTimeoutW(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(a.positional[1].c_str()), SMTO_ABORTIFHUNG, 5000, &r);
  PrintOk(h);
  return 0;
}

int CmdText(const Args& a) {
  HWND h = TargetOf(a);
  Json j;
  j.Begin().Key("hwnd").Int(HwndValue(h)).Key("text").Text(ControlText(h)).End();
  j.Print();
  return 0;
}

// The control that has the keyboard focus in the window's thread (0 when none).
int CmdFocus(const Args& a) {
  HWND h = TargetOf(a);
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(h, nullptr), &info);
  Json j;
  j.Begin().Key("hwnd").Int(HwndValue(h)).Key("focus").Int(HwndValue(info.hwndFocus)).End();
  j.Print();
  return 0;
}

int CmdClose(const Args& a) {
  HWND h = TargetOf(a);
  PostMessageW(h, WM_CLOSE, 0, 0);
  PrintOk(h);
  return 0;
}

int CmdForeground(const Args& a) {
  HWND h = TargetOf(a);
  const BOOL ok = SetForegroundWindow(h);
  Json j;
  j.Begin().Key("ok").Bool(ok).Key("foreground").Int(HwndValue(GetForegroundWindow())).End();
  j.Print();
  return 0;
}

int CmdRect(const Args& a) {
  HWND h = TargetOf(a);
  Json j;
  WriteWindow(j, h, false);
  j.Print();
  return 0;
}

int CmdRegion(const Args& a) {
  HWND h = TargetOf(a);
  const ear::gdi::Region region(CreateRectRgn(0, 0, 0, 0));
  const HRGN rgn = region.Get();
  const int kind = GetWindowRgn(h, rgn);
  const char* names[] = {"error", "null", "simple", "complex"};
  Json j;
  j.Begin().Key("hwnd").Int(HwndValue(h));
  j.Key("kind").Text(kind >= 0 && kind <= 3 ? std::wstring(names[kind], names[kind] + strlen(names[kind])) : L"?");
  RECT box{};
  if (kind == SIMPLEREGION || kind == COMPLEXREGION) {
    GetRgnBox(rgn, &box);
    j.Key("box").Rect(box);
    const DWORD size = GetRegionData(rgn, 0, nullptr);
    std::vector<char> data(size);
    if (size && GetRegionData(rgn, size, reinterpret_cast<RGNDATA*>(data.data())))
      j.Key("rects").Int(reinterpret_cast<RGNDATA*>(data.data())->rdh.nCount);
  }
  // --points "x,y;x,y": which window-relative points lie inside the region.
  if (const wchar_t* pts = a.Get(L"--points")) {
    j.Key("inside").BeginArray();
    std::wstring s = pts;
    size_t pos = 0;
    while (pos < s.size()) {
      size_t end = s.find(L';', pos);
      if (end == std::wstring::npos) end = s.size();
      int x = 0, y = 0;
      swscanf(s.substr(pos, end - pos).c_str(), L"%d,%d", &x, &y);
      const bool in = (kind == SIMPLEREGION || kind == COMPLEXREGION) ? PtInRegion(rgn, x, y) : true;
      j.Bool(in);
      pos = end + 1;
    }
    j.EndArray();
  }
  j.End();
  j.Print();
  return 0;
}

bool IsDialog(HWND h) { return ClassOf(h) == L"#32770"; }

void WriteMessageBox(Json& j, HWND h) {
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  j.Begin();
  j.Key("hwnd").Int(HwndValue(h));
  j.Key("pid").Int(pid);
  j.Key("title").Text(TitleOf(h));
  j.Key("owner").Int(HwndValue(GetWindow(h, GW_OWNER)));
  DWORD_PTR defid = 0;
  SendMessageTimeoutW(h, DM_GETDEFID, 0, 0, SMTO_ABORTIFHUNG, 1000, &defid);
  const int dmDefId = HIWORD(defid) == DC_HASDEFID ? LOWORD(defid) : 0;
  std::wstring text, styleDefault, dmDefault;
  int styleDefaultId = 0;
  bool icon = false, dmIdExists = false;
  j.Key("buttons").BeginArray();
  for (HWND c : DirectChildren(h)) {
    const std::wstring cls = ClassOf(c);
    const LONG style = GetWindowLongW(c, GWL_STYLE);
    if (_wcsicmp(cls.c_str(), L"Button") == 0) {
      const bool isDefault = (style & 0x0F) == BS_DEFPUSHBUTTON;
      const std::wstring t = ControlText(c);
      const int id = GetDlgCtrlID(c);
      j.Begin().Key("hwnd").Int(HwndValue(c)).Key("text").Text(t).Key("id").Int(id)
          .Key("default_style").Bool(isDefault).Key("visible").Bool(IsWindowVisible(c)).End();
      if (isDefault && styleDefault.empty()) styleDefault = t, styleDefaultId = id;
      if (id == dmDefId) dmDefault = t, dmIdExists = true;
    } else if (_wcsicmp(cls.c_str(), L"Static") == 0) {
      if ((style & SS_TYPEMASK) == SS_ICON) {
        DWORD_PTR hicon = 0;
        SendMessageTimeoutW(c, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 1000, &hicon);
        icon = icon || (hicon != 0 && IsWindowVisible(c));
      } else {
        const std::wstring t = ControlText(c);
        if (!t.empty()) text += (text.empty() ? L"" : L"\n") + t;
      }
    }
  }
  j.EndArray();
  j.Key("text").Text(text);
  j.Key("dm_getdefid").Int(dmDefId);
  // Wine's message box answers DM_GETDEFID with IDOK whatever its buttons: the push button style decides.
  const bool useStyle = styleDefaultId != 0 || !dmIdExists;
  j.Key("default_id").Int(useStyle ? styleDefaultId : dmDefId);
  j.Key("default").Text(useStyle ? styleDefault : dmDefault);
  j.Key("icon").Bool(icon);
  j.End();
}

int CmdMsgBox(const Args& a) {
  Filter f = a.MakeFilter();
  f.visibleOnly = true;
  const DWORD timeout = static_cast<DWORD>(a.Num(L"--timeout", 0));
  const DWORD start = GetTickCount();
  for (;;) {
    int n = 0;
    Json j;
    for (HWND h : TopLevelWindows()) {
      if (!IsDialog(h) || !f.Matches(h)) continue;
      WriteMessageBox(j, h);
      j.Print();
      ++n;
    }
    if (n > 0) return 0;
    if (GetTickCount() - start >= timeout) {
      fprintf(stderr, "wdrive: no message box\n");
      return 1;
    }
    Sleep(50);
  }
}

int CmdPs(const Args&) {
  const ear::FileHandle snap(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));  // none: INVALID_HANDLE_VALUE
  if (!snap) Fail("no process list");
  PROCESSENTRY32W pe{};
  pe.dwSize = sizeof pe;
  Json j;
  for (BOOL ok = Process32FirstW(snap.Get(), &pe); ok; ok = Process32NextW(snap.Get(), &pe)) {
    j.Begin().Key("pid").Int(pe.th32ProcessID).Key("parent").Int(pe.th32ParentProcessID)
        .Key("exe").Text(pe.szExeFile).End();
    j.Print();
  }
  return 0;
}

int CmdKill(const Args& a) {
  int failed = 0;
  for (const auto& p : a.positional) {
    const DWORD pid = wcstoul(p.c_str(), nullptr, 0);
    const ear::KernelHandle h(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid));
    const bool ok = h && TerminateProcess(h.Get(), 1) && WaitForSingleObject(h.Get(), 5000) == WAIT_OBJECT_0;
    Json j;
    j.Begin().Key("pid").Int(pid).Key("ok").Bool(ok).End();
    j.Print();
    failed += ok ? 0 : 1;
  }
  return failed ? 1 : 0;
}

DWORD WINAPI ReadToEnd(void*) {
  char buffer[256];
  DWORD read = 0;
  while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof buffer, &read, nullptr) && read != 0) {
  }
  return 0;
}

// Holds a file open without letting others delete it, as another program using it would, until
// standard input ends or the timeout passes.
int CmdHold(const Args& a) {
  if (a.positional.empty()) Fail("a file is needed");
  const ear::FileHandle file(CreateFileW(a.positional[0].c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  Json j;
  j.Begin().Key("held").Bool(static_cast<bool>(file)).End();
  j.Print();
  if (!file) return 1;
  const ear::KernelHandle reader(CreateThread(nullptr, 0, ReadToEnd, nullptr, 0, nullptr));
  WaitForSingleObject(reader.Get(), static_cast<DWORD>(a.Num(L"--timeout", 120000)));
  return 0;
}

int Usage() {
  fputs(
      "usage: wdrive COMMAND ...\n"
      "  list [--title T] [--class C] [--pid N] [--visible] [--no-children]\n"
      "  wait --title T [--class C] [--pid N] [--visible] [--timeout MS] [--gone]\n"
      "  msgbox [--title T] [--pid N] [--timeout MS]\n"
      "  click HWND [--child TEXT | --id N] [--mouse [--x X --y Y] | --send]\n"
      "  key HWND VK [--child TEXT | --id N] [--input]\n"
      "  type HWND TEXT / settext HWND TEXT / text HWND [--child TEXT | --id N]\n"
      "  ps / kill PID...\n"
      "  hold FILE [--timeout MS]\n"
      "  close HWND / fg HWND / rect HWND / region HWND [--points \"x,y;x,y\"] / focus HWND\n",
      stderr);
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return Usage();
  const std::wstring cmd = argv[1];
  const Args a = Parse(argc, argv, 2);
  if (cmd == L"list") return CmdList(a);
  if (cmd == L"wait") return CmdWait(a);
  if (cmd == L"msgbox") return CmdMsgBox(a);
  if (cmd == L"click") return CmdClick(a);
  if (cmd == L"key") return CmdKey(a);
  if (cmd == L"type") return CmdType(a);
  if (cmd == L"settext") return CmdSetText(a);
  if (cmd == L"text") return CmdText(a);
  if (cmd == L"close") return CmdClose(a);
  if (cmd == L"focus") return CmdFocus(a);
  if (cmd == L"fg") return CmdForeground(a);
  if (cmd == L"rect") return CmdRect(a);
  if (cmd == L"region") return CmdRegion(a);
  if (cmd == L"ps") return CmdPs(a);
  if (cmd == L"kill") return CmdKill(a);
  if (cmd == L"hold") return CmdHold(a);
  return Usage();
}
