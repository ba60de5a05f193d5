#pragma once
// What both button test binaries read pixels and fonts with.
#include <windows.h>

#include <algorithm>
#include <functional>

#include "base/gdi.h"
#include "controls/plButtonMath.h"
#include "forms/control_tree.h"

namespace controls::test_support {

namespace gdi = ear::gdi;

inline forms::Font ActionFont() {
  forms::Font f;
  f.name = "ＭＳ Ｐゴシック";
  f.height = -12;
  f.bold = true;
  f.color = forms::clWhite;
  return f;
}

inline Rgb Sys(int index) { return static_cast<Rgb>(GetSysColor(index)) & 0xFFFFFF; }

// Pixels of a 24-bit DIB, read as 0x00BBGGRR.
struct Pixels {
  gdi::Dib dib;
  Rgb At(int x, int y) const {
    const BYTE* p = dib.bits + static_cast<std::ptrdiff_t>(y) * dib.stride + x * 3;
    return MakeRgb(p[2], p[1], p[0]);
  }
  int Width() const { return dib.width; }
  int Height() const { return dib.height; }
  int Count(Rgb color) const {
    int n = 0;
    for (int y = 0; y < Height(); ++y)
      for (int x = 0; x < Width(); ++x) n += At(x, y) == color;
    return n;
  }
  struct Box {
    int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;  // inclusive
    bool Empty() const { return right < 0; }
  };
  // The smallest box around every pixel for which `ink` holds.
  Box InkBox(const std::function<bool(int x, int y, Rgb c)>& ink) const {
    Box b;
    for (int y = 0; y < Height(); ++y)
      for (int x = 0; x < Width(); ++x) {
        if (!ink(x, y, At(x, y))) continue;
        b.left = std::min(b.left, x);
        b.top = std::min(b.top, y);
        b.right = std::max(b.right, x);
        b.bottom = std::max(b.bottom, y);
      }
    return b;
  }
  Box InkBox(Rgb background) const {
    return InkBox([background](int, int, Rgb c) { return c != background; });
  }
};

// What the window shows now, through its real paint path.
inline Pixels CaptureWindow(HWND hwnd, int width, int height) {
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  Pixels px{gdi::CreateDib24(width, height)};
  const gdi::WindowDC window(hwnd);
  {
    gdi::MemoryDC mem(window.Get());
    gdi::Select sel(mem.Get(), px.dib.bitmap.Get());
    BitBlt(mem.Get(), 0, 0, width, height, window.Get(), 0, 0, SRCCOPY);
  }
  GdiFlush();
  return px;
}

}  // namespace controls::test_support
