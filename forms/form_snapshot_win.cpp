#include "forms/form_snapshot_win.h"

#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>

#include "base/gdi.h"
#include "imaging/png_file_win.h"

namespace forms {

namespace gdi = ear::gdi;

namespace {

struct Dib32 {
  gdi::Bitmap bitmap;
  std::uint8_t* bits = nullptr;
};

Dib32 CreateDib32(int width, int height) {
  Dib32 d;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;  // top-down
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  d.bitmap.Reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (d.bitmap) d.bits = static_cast<std::uint8_t*>(bits);
  return d;
}

// Where a window's client area starts, relative to its window's top-left corner.
POINT ClientOffset(HWND hwnd) {
  RECT window;
  GetWindowRect(hwnd, &window);
  POINT client{0, 0};
  ClientToScreen(hwnd, &client);
  return POINT{client.x - window.left, client.y - window.top};
}

// The framework's own windows run their class's procedure; a system class that the
// framework subclassed runs another one, and paints itself.
bool PaintsItself(HWND hwnd) {
  return GetClassLongPtrW(hwnd, GCLP_WNDPROC) != static_cast<ULONG_PTR>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC)) ||
         WinControl::FromHandle(hwnd) == nullptr;
}

// Clips the DC further to the window's region, given in the window's coordinates, which
// start at (x, y) of the DC's device space.
void ClipToWindowRegion(HDC dc, HWND hwnd, int x, int y) {
  gdi::Region region(CreateRectRgn(0, 0, 0, 0));
  const int kind = GetWindowRgn(hwnd, region.Get());
  if (kind == ERROR) return;  // no region: the whole window
  OffsetRgn(region.Get(), x, y);
  ExtSelectClipRgn(dc, region.Get(), RGN_AND);
}

// Paints one window whose top-left corner lies at (x, y) of the DC's device space, then its
// visible children from the bottom of the z-order up. The DC's clipping holds the parents'.
void PaintTree(HDC dc, HWND hwnd, int x, int y, bool top) {
  gdi::SavedDC saved(dc);
  SetViewportOrgEx(dc, 0, 0, nullptr);  // device coordinates until the client area's origin is set
  RECT window;
  GetWindowRect(hwnd, &window);
  const POINT offset = ClientOffset(hwnd);
  RECT client;
  GetClientRect(hwnd, &client);
  if (!top) {
    IntersectClipRect(dc, x, y, x + (window.right - window.left), y + (window.bottom - window.top));
    ClipToWindowRegion(dc, hwnd, x, y);
  }
  const int cx = x + offset.x, cy = y + offset.y;
  const bool itself = PaintsItself(hwnd);
  if (itself && (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE)) {
    // The edge as the window's own non-client painting draws it: a themed edit (common
    // controls 6 with visual styles) draws its theme's frame, anything else the sunken edge.
    SetViewportOrgEx(dc, x, y, nullptr);
    RECT edge{0, 0, window.right - window.left, window.bottom - window.top};
    wchar_t kind[16] = {};
    GetClassNameW(hwnd, kind, 16);
    HTHEME theme = lstrcmpiW(kind, L"Edit") == 0 ? GetWindowTheme(hwnd) : nullptr;
    if (theme) {
      const int state = (GetWindowLongW(hwnd, GWL_STYLE) & WS_DISABLED) ? ETS_DISABLED : ETS_NORMAL;
      DrawThemeBackground(theme, dc, EP_EDITTEXT, state, &edge, nullptr);
    } else {
      DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT);
    }
  }
  SetViewportOrgEx(dc, cx, cy, nullptr);
  IntersectClipRect(dc, 0, 0, client.right, client.bottom);
  if (itself) {
    SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  } else {
    WinControl::FromHandle(hwnd)->PaintWindow(dc);
  }
  std::vector<HWND> children;  // top of the z-order first
  for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    if (!(GetWindowLongW(*it, GWL_STYLE) & WS_VISIBLE)) continue;
    RECT r;
    GetWindowRect(*it, &r);
    POINT corner{r.left, r.top};
    ScreenToClient(hwnd, &corner);  // relative to this window's client area
    PaintTree(dc, *it, cx + corner.x, cy + corner.y, false);
  }
}

}  // namespace

std::uint32_t FormSnapshot::Pixel(int x, int y) const {
  const std::size_t i = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) *
                        4;
  return static_cast<std::uint32_t>(bgra[i]) | static_cast<std::uint32_t>(bgra[i + 1]) << 8 |
         static_cast<std::uint32_t>(bgra[i + 2]) << 16 | static_cast<std::uint32_t>(bgra[i + 3]) << 24;
}

FormSnapshot SnapshotForm(Form& form) {
  FormSnapshot shot;
  HWND hwnd = form.Handle();
  if (!hwnd) return shot;
  RECT client;
  GetClientRect(hwnd, &client);
  const int w = client.right, h = client.bottom;
  if (w <= 0 || h <= 0) return shot;
  Dib32 picture = CreateDib32(w, h);
  Dib32 mask = CreateDib32(w, h);
  gdi::MemoryDC dc(nullptr);
  if (!picture.bits || !mask.bits || !dc) return shot;
  {
    gdi::Select selected(dc.Get(), picture.bitmap.Get());
    PaintTree(dc.Get(), hwnd, 0, 0, true);
  }
  {
    // The window's region, in the client area's coordinates; none: the whole window.
    gdi::Select selected(dc.Get(), mask.bitmap.Get());
    gdi::Region region(CreateRectRgn(0, 0, 0, 0));
    if (GetWindowRgn(hwnd, region.Get()) != ERROR) {
      const POINT offset = ClientOffset(hwnd);
      OffsetRgn(region.Get(), -offset.x, -offset.y);
      FillRgn(dc.Get(), region.Get(), static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    } else {
      RECT all{0, 0, w, h};
      FillRect(dc.Get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
  }
  GdiFlush();
  shot.width = w;
  shot.height = h;
  shot.bgra.assign(picture.bits, picture.bits + static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4);
  for (std::size_t i = 0; i < shot.bgra.size(); i += 4) {
    if (mask.bits[i] != 0) {
      shot.bgra[i + 3] = 255;
    } else {
      std::fill_n(shot.bgra.begin() + static_cast<std::ptrdiff_t>(i), 4, std::uint8_t{0});
    }
  }
  return shot;
}

bool SaveFormPng(Form& form, const std::string& fileName) {
  const FormSnapshot shot = SnapshotForm(form);
  if (shot.bgra.empty()) return false;
  return ear::gdiplus::SavePng(fileName, shot.width, shot.height, shot.width * 4, shot.bgra.data());
}

}  // namespace forms
