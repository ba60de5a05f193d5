// Start-up benchmark, run under Wine: time from process start until the launcher's title
// screen is painted and rounded (its window region is set after its first paint), and the
// screen change: from the click on the title screen's "次へ >" until the procedure screen is
// painted and rounded, with the click half a second after the title is on show (sooner than
// a candidate can read it; the launcher makes the next screen in such a pause) and, in runs
// of their own, at once. Two baselines run interleaved with it in the same run: a minimal
// one-window program (until its window is visible), and the floor, a program that puts the
// launcher's very pixels on the display in the cheapest way (floor_window.cpp), timed the
// same way for the start and the change. The floor's pixels are captured from the launcher
// itself before anything is timed. Prints medians, spreads and the ratios.
//   bench_startup RUNS launcher.exe minimal.exe|title floor.exe
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "base/gdi.h"
#include "base/handle.h"

namespace {

double Now() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

bool Rounded(HWND hwnd) {
  const ear::gdi::Region probe(CreateRectRgn(0, 0, 0, 0));
  return GetWindowRgn(hwnd, probe.Get()) != ERROR;
}

// The window once it is visible (and rounded when asked), or null after 30 s.
HWND WaitForWindow(const char* title, bool rounded, double start) {
  while (Now() - start < 30000) {
    HWND hwnd = FindWindowA(nullptr, title);
    if (hwnd && IsWindowVisible(hwnd) && (!rounded || Rounded(hwnd))) return hwnd;
    Sleep(1);
  }
  return nullptr;
}

struct NextButtonSearch {
  POINT origin;  // the title screen's client origin
  HWND found = nullptr;
};

BOOL CALLBACK FindNextButton(HWND child, LPARAM lp) {
  auto* search = reinterpret_cast<NextButtonSearch*>(lp);
  char cls[32] = {};
  GetClassNameA(child, cls, sizeof(cls));
  RECT r;
  GetWindowRect(child, &r);
  if (std::string(cls) == "TplButton" && r.left - search->origin.x == 545 && r.top - search->origin.y == 466) {
    search->found = child;
    return FALSE;
  }
  return TRUE;
}

struct Times {
  double start = -1;   // process start to the screen painted
  double change = -1;  // click to the next screen painted
};

// What is timed of a program: the window that ends the start, and for the change the
// click and the window that ends it.
struct Program {
  std::string exe;
  const char* startWindow;
  bool rounded;
  std::function<void(HWND)> click;  // none: only the start is timed
  const char* changeWindow = nullptr;
};

void ClickNextButton(HWND title) {
  NextButtonSearch search;
  search.origin = POINT{0, 0};
  ClientToScreen(title, &search.origin);
  EnumChildWindows(title, &FindNextButton, reinterpret_cast<LPARAM>(&search));
  if (search.found == nullptr) return;
  PostMessageA(search.found, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 14));
  PostMessageA(search.found, WM_LBUTTONUP, 0, MAKELPARAM(40, 14));
}

void ClickFloorTitle(HWND title) {
  PostMessageA(title, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(585, 480));
  PostMessageA(title, WM_LBUTTONUP, 0, MAKELPARAM(585, 480));
}

// Writes the screen's pixels inside r as an uncompressed 32-bit top-down BMP file.
bool SaveScreen(const RECT& r, const std::string& path) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  BITMAPINFOHEADER info{sizeof(info), w, -h, 1, 32, BI_RGB};
  void* bits = nullptr;
  const HDC screen = GetDC(nullptr);
  const ear::gdi::Bitmap dib(CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits,
                                              nullptr, 0));
  const ear::gdi::MemoryDC memory(screen);
  bool ok = false;
  if (dib && memory) {
    const ear::gdi::Select selected(memory.Get(), dib.Get());
    ok = BitBlt(memory.Get(), 0, 0, w, h, screen, r.left, r.top, SRCCOPY) != 0;
  }
  ReleaseDC(nullptr, screen);
  const DWORD size = static_cast<DWORD>(w) * h * 4;
  BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof(file) + sizeof(info) + size), 0, 0,
                        sizeof(file) + sizeof(info)};
  const ear::FileHandle out(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written = 0;
  return ok && out && WriteFile(out.Get(), &file, sizeof(file), &written, nullptr) &&
         WriteFile(out.Get(), &info, sizeof(info), &written, nullptr) &&
         WriteFile(out.Get(), bits, size, &written, nullptr) && written == size;
}

struct Started {
  ear::KernelHandle process, thread;
  double start = 0;
};

bool Start(const std::string& exe, Started& started) {
  STARTUPINFOA si{sizeof(si)};
  PROCESS_INFORMATION pi{};
  std::string commandLine = "\"" + exe + "\"";
  started.start = Now();
  if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    return false;
  }
  started.process.Reset(pi.hProcess);
  started.thread.Reset(pi.hThread);
  return true;
}

void End(Started& started) {
  TerminateProcess(started.process.Get(), 0);
  WaitForSingleObject(started.process.Get(), 10000);
  Sleep(300);  // let the single-instance lock of the ended copy go
}

// How long the title is on show before the click: none, or a pause shorter than any
// candidate's.
constexpr DWORD kClickAtOnce = 0, kCandidatePause = 500;

Times Run(const Program& program, DWORD clickAfter = kClickAtOnce) {
  Times times;
  Started started;
  if (!Start(program.exe, started)) return times;
  if (HWND hwnd = WaitForWindow(program.startWindow, program.rounded, started.start)) {
    times.start = Now() - started.start;
    if (program.click) {
      if (clickAfter != kClickAtOnce) Sleep(clickAfter);
      const double click = Now();
      program.click(hwnd);
      if (WaitForWindow(program.changeWindow, true, click)) times.change = Now() - click;
    }
  }
  End(started);
  return times;
}

RECT WindowRect(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

// The floor's pixels, from the launcher as it shows them once settled: the whole screen
// with the title screen, the title screen's window, the procedure screen's window.
bool CaptureFloorPixels(const std::string& launcher, const std::string& folder) {
  Started started;
  if (!Start(launcher, started)) return false;
  bool ok = false;
  if (HWND title = WaitForWindow("frmJPZZ0030", true, started.start)) {
    Sleep(1500);
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    ok = SaveScreen(screen, folder + "floor_backdrop.bmp") && SaveScreen(WindowRect(title), folder + "floor_title.bmp");
    ClickNextButton(title);
    HWND procedure = WaitForWindow("試験実施の手順の確認", true, Now());
    Sleep(1500);
    ok = ok && procedure && SaveScreen(WindowRect(procedure), folder + "floor_procedure.bmp");
  }
  End(started);
  return ok;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

void PrintLine(const char* what, const std::vector<double>& v) {
  std::printf("%-30s median %6.1f ms  (%.1f to %.1f)\n", what, Median(v), *std::min_element(v.begin(), v.end()),
              *std::max_element(v.begin(), v.end()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: bench_startup RUNS launcher.exe minimal.exe|title floor.exe\n");
    return 2;
  }
  const int runs = std::max(1, std::atoi(argv[1]));
  const std::string minimalArg = argv[3];
  const std::string minimalTitle = minimalArg.substr(minimalArg.find('|') + 1);
  const Program minimal{minimalArg.substr(0, minimalArg.find('|')), minimalTitle.c_str(), false, nullptr};
  const Program launcher{argv[2], "frmJPZZ0030", true, &ClickNextButton, "試験実施の手順の確認"};
  const Program floor{argv[4], "BenchFloorTitle", true, &ClickFloorTitle, "BenchFloorProcedure"};
  const std::string floorFolder = floor.exe.substr(0, floor.exe.find_last_of("\\/") + 1);
  if (!CaptureFloorPixels(launcher.exe, floorFolder)) {
    std::fprintf(stderr, "the launcher's screens could not be captured for the floor\n");
    return 1;
  }
  // One discarded run of each baseline first, as the capture is the launcher's: the first
  // start of a program in a fresh prefix pays for loading its files and libraries.
  Run(minimal);
  Run(floor);
  std::vector<double> base, floorStart, start, floorChange, change, floorChangeAtOnce, changeAtOnce;
  for (int i = 0; i < runs; ++i) {  // interleaved, so all of them see the same machine state
    base.push_back(Run(minimal).start);
    for (const DWORD clickAfter : {kCandidatePause, kClickAtOnce}) {
      const Times f = Run(floor, clickAfter);
      const Times t = Run(launcher, clickAfter);
      floorStart.push_back(f.start);
      start.push_back(t.start);
      (clickAfter == kClickAtOnce ? floorChangeAtOnce : floorChange).push_back(f.change);
      (clickAfter == kClickAtOnce ? changeAtOnce : change).push_back(t.change);
    }
  }
  for (const auto* v : {&base, &floorStart, &start, &floorChange, &change, &floorChangeAtOnce, &changeAtOnce}) {
    if (std::count(v->begin(), v->end(), -1.0)) {
      std::fprintf(stderr, "a window did not appear\n");
      return 1;
    }
  }
  const double mb = Median(base), mfs = Median(floorStart), ms = Median(start);
  const double mfc = Median(floorChange), mc = Median(change);
  std::printf("%d runs of each, interleaved; the starts of both kinds of run counted\n", runs);
  PrintLine("minimal window:", base);
  PrintLine("floor, title rounded:", floorStart);
  PrintLine("floor, change:", floorChange);
  PrintLine("launcher title screen rounded:", start);
  PrintLine("screen change to procedure:", change);
  PrintLine("floor, change, click at once:", floorChangeAtOnce);
  PrintLine("change, click at once:", changeAtOnce);
  std::printf("start  to the floor %.2f   to the minimal window %.2f\n", ms / mfs, ms / mb);
  std::printf("change to the floor %.2f   to the minimal start  %.2f\n", mc / mfc, mc / mb);
  std::printf("change, click at once, to the floor %.2f\n", Median(changeAtOnce) / Median(floorChangeAtOnce));
  return 0;
}
