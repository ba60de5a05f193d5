#pragma once
// Small owners of GDI handles: every object is released, in reverse order, on every path.
#include <windows.h>

#include <utility>

#include "base/handle.h"

namespace ear::gdi {

using ear::UniqueHandle;

template <typename H>
struct ObjectTraits {
  using Handle = H;
  static Handle Empty() { return nullptr; }
  static void Close(Handle h) { DeleteObject(h); }
};
struct DcTraits {
  using Handle = HDC;
  static Handle Empty() { return nullptr; }
  static void Close(Handle h) { DeleteDC(h); }
};
struct IconTraits {
  using Handle = HICON;
  static Handle Empty() { return nullptr; }
  static void Close(Handle h) { DestroyIcon(h); }
};

// An object made with Create*; deleted with DeleteObject.
template <typename Handle>
using Object = UniqueHandle<ObjectTraits<Handle>>;
using Pen = Object<HPEN>;
using Brush = Object<HBRUSH>;
using Bitmap = Object<HBITMAP>;
using Region = Object<HRGN>;

// Selects an object into a DC for the holder's lifetime.
class Select {
 public:
  Select(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
  ~Select() {
    if (old_) SelectObject(dc_, old_);
  }
  Select(const Select&) = delete;
  Select& operator=(const Select&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

class MemoryDC : public UniqueHandle<DcTraits> {
 public:
  MemoryDC() = default;
  explicit MemoryDC(HDC like) : UniqueHandle(CreateCompatibleDC(like)) {}
};

// The DC of a window's client area (GetDC), or of the screen for no window.
class WindowDC {
 public:
  explicit WindowDC(HWND window = nullptr) : window_(window), dc_(GetDC(window)) {}
  ~WindowDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// Restores the DC state (viewport, clipping, selected objects) when it goes.
class SavedDC {
 public:
  explicit SavedDC(HDC dc) : dc_(dc), id_(SaveDC(dc)) {}
  ~SavedDC() { RestoreDC(dc_, id_); }
  SavedDC(const SavedDC&) = delete;
  SavedDC& operator=(const SavedDC&) = delete;

 private:
  HDC dc_;
  int id_;
};

using Icon = UniqueHandle<IconTraits>;

// Restores a DC's text colour, text alignment and background mode.
class TextState {
 public:
  explicit TextState(HDC dc)
      : dc_(dc), color_(GetTextColor(dc)), align_(GetTextAlign(dc)), mode_(GetBkMode(dc)) {}
  ~TextState() {
    SetTextColor(dc_, color_);
    SetTextAlign(dc_, align_);
    SetBkMode(dc_, mode_);
  }
  TextState(const TextState&) = delete;
  TextState& operator=(const TextState&) = delete;

 private:
  HDC dc_;
  COLORREF color_;
  UINT align_;
  int mode_;
};

// The header of an uncompressed top-down DIB (rows from the top) of the given depth.
inline BITMAPINFO TopDownDibInfo(int width, int height, WORD bitCount) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = bitCount;
  bi.bmiHeader.biCompression = BI_RGB;
  return bi;
}

// A top-down DIB section; bits are rows of blue, green, red (and a fourth byte at 32 bits
// per pixel, the display's own format), padded to 4 bytes.
struct Dib {
  Bitmap bitmap;
  BYTE* bits = nullptr;
  int width = 0, height = 0, stride = 0;
};
inline Dib CreateDib(int width, int height, WORD bitCount) {
  Dib d;
  if (width <= 0 || height <= 0) return d;
  const BITMAPINFO bi = TopDownDibInfo(width, height, bitCount);
  void* bits = nullptr;
  d.bitmap.Reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!d.bitmap) return d;
  d.bits = static_cast<BYTE*>(bits);
  d.width = width;
  d.height = height;
  d.stride = (width * (bitCount / 8) + 3) & ~3;
  return d;
}
inline Dib CreateDib24(int width, int height) { return CreateDib(width, height, 24); }

}  // namespace ear::gdi
