// Start-up benchmark, run under Wine: time from process start until the launcher's title
// screen is painted and rounded (its window region is set after its first paint), and for a
// minimal one-window program started the same way until its window is visible, in one run;
// then the screen change: from the click on the title screen's "次へ >" until the procedure
// screen is painted and rounded. Prints medians and their ratios to the minimal start.
//   bench_startup RUNS launcher.exe minimal.exe|title
#include <windows.h>

#include <algorithm>
#include <cstdio>
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
  double change = -1;  // click on "次へ >" to the procedure screen painted
};

Times Run(const std::string& exe, const char* title, bool launcher) {
  STARTUPINFOA si{sizeof(si)};
  PROCESS_INFORMATION pi{};
  std::string commandLine = "\"" + exe + "\"";
  Times times;
  const double start = Now();
  if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    return times;
  }
  const ear::KernelHandle process(pi.hProcess), thread(pi.hThread);
  if (HWND hwnd = WaitForWindow(title, launcher, start)) {
    times.start = Now() - start;
    if (launcher) {
      NextButtonSearch search;
      search.origin = POINT{0, 0};
      ClientToScreen(hwnd, &search.origin);
      EnumChildWindows(hwnd, &FindNextButton, reinterpret_cast<LPARAM>(&search));
      if (search.found) {
        const double click = Now();
        PostMessageA(search.found, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 14));
        PostMessageA(search.found, WM_LBUTTONUP, 0, MAKELPARAM(40, 14));
        if (WaitForWindow("試験実施の手順の確認", true, click)) times.change = Now() - click;
      }
    }
  }
  TerminateProcess(process.Get(), 0);
  WaitForSingleObject(process.Get(), 10000);
  Sleep(300);  // let the single-instance lock of the ended copy go
  return times;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: bench_startup RUNS launcher.exe minimal.exe|title\n");
    return 2;
  }
  const int runs = std::max(1, std::atoi(argv[1]));
  const std::string launcher = argv[2];
  const std::string minimalArg = argv[3];
  const std::string minimal = minimalArg.substr(0, minimalArg.find('|'));
  const std::string minimalTitle = minimalArg.substr(minimalArg.find('|') + 1);
  std::vector<double> base, start, change;
  for (int i = 0; i < runs; ++i) {  // interleaved, so both see the same machine state
    base.push_back(Run(minimal, minimalTitle.c_str(), false).start);
    const Times t = Run(launcher, "frmJPZZ0030", true);
    start.push_back(t.start);
    change.push_back(t.change);
  }
  for (const auto* v : {&base, &start, &change}) {
    if (std::count(v->begin(), v->end(), -1.0)) {
      std::fprintf(stderr, "a window did not appear\n");
      return 1;
    }
  }
  const double mb = Median(base), ms = Median(start), mc = Median(change);
  std::printf("minimal window:                median %.1f ms over %d runs\n", mb, runs);
  std::printf("launcher title screen rounded: median %.1f ms, ratio to minimal %.2f\n", ms, ms / mb);
  std::printf("screen change to procedure:    median %.1f ms, ratio to minimal start %.2f\n", mc, mc / mb);
  return 0;
}
