// Start-up benchmark, run under Wine: time from process start until a window with the
// given title is visible, for the launcher and for a minimal one-window program started
// the same way, in one run; prints medians and their ratio.
//   bench_startup RUNS "launcher.exe|title" "minimal.exe|title"
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "base/handle.h"

namespace {

double Now() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

// Milliseconds until the titled window is visible; the program is then ended.
double TimeToWindow(const std::string& exe, const std::string& title) {
  STARTUPINFOA si{sizeof(si)};
  PROCESS_INFORMATION pi{};
  std::string commandLine = "\"" + exe + "\"";
  const double start = Now();
  if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    return -1;
  }
  const ear::KernelHandle process(pi.hProcess), thread(pi.hThread);
  double elapsed = -1;
  while (Now() - start < 30000) {
    HWND hwnd = FindWindowA(nullptr, title.c_str());
    if (hwnd && IsWindowVisible(hwnd)) {
      elapsed = Now() - start;
      break;
    }
    Sleep(1);
  }
  TerminateProcess(process.Get(), 0);
  WaitForSingleObject(process.Get(), 10000);
  Sleep(300);  // let the single-instance lock of the ended copy go
  return elapsed;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: bench_startup RUNS launcher.exe|title minimal.exe|title\n");
    return 2;
  }
  const int runs = std::max(1, std::atoi(argv[1]));
  auto split = [](const std::string& s) {
    const size_t bar = s.find('|');
    return std::make_pair(s.substr(0, bar), s.substr(bar + 1));
  };
  const auto [launcher, launcherTitle] = split(argv[2]);
  const auto [minimal, minimalTitle] = split(argv[3]);
  std::vector<double> a, b;
  for (int i = 0; i < runs; ++i) {  // interleaved, so both see the same machine state
    b.push_back(TimeToWindow(minimal, minimalTitle));
    a.push_back(TimeToWindow(launcher, launcherTitle));
  }
  if (std::count(a.begin(), a.end(), -1.0) || std::count(b.begin(), b.end(), -1.0)) {
    std::fprintf(stderr, "a window did not appear\n");
    return 1;
  }
  const double ma = Median(a), mb = Median(b);
  std::printf("minimal window:  median %.1f ms over %d runs\n", mb, runs);
  std::printf("launcher wizard: median %.1f ms over %d runs\n", ma, runs);
  std::printf("ratio launcher/minimal: %.2f\n", ma / mb);
  return 0;
}
