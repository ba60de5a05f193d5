#pragma once
// Small owners of GDI handles: every object is released, in reverse order, on every path.
#include <windows.h>

#include <utility>

namespace ear::gdi {

// An object made with Create*; deleted with DeleteObject.
template <typename Handle>
class Object {
 public:
  Object() = default;
  explicit Object(Handle h) : h_(h) {}
  ~Object() { Reset(); }
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;
  Object(Object&& other) noexcept : h_(std::exchange(other.h_, nullptr)) {}
  Object& operator=(Object&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  Handle Get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  // Gives the handle away (to a window that takes ownership).
  Handle Release() { return std::exchange(h_, nullptr); }
  void Reset(Handle h = nullptr) {
    if (h_) DeleteObject(h_);
    h_ = h;
  }

 private:
  Handle h_ = nullptr;
};

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

class MemoryDC {
 public:
  explicit MemoryDC(HDC like) : dc_(CreateCompatibleDC(like)) {}
  ~MemoryDC() {
    if (dc_) DeleteDC(dc_);
  }
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;
  HDC Get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
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

class Icon {
 public:
  explicit Icon(HICON h) : h_(h) {}
  ~Icon() {
    if (h_) DestroyIcon(h_);
  }
  Icon(const Icon&) = delete;
  Icon& operator=(const Icon&) = delete;
  HICON Get() const { return h_; }

 private:
  HICON h_;
};

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

// A 24-bit top-down DIB section; bits are rows of blue, green, red, padded to 4 bytes.
struct Dib {
  Bitmap bitmap;
  BYTE* bits = nullptr;
  int width = 0, height = 0, stride = 0;
};
inline Dib CreateDib24(int width, int height) {
  Dib d;
  if (width <= 0 || height <= 0) return d;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  d.bitmap.Reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!d.bitmap) return d;
  d.bits = static_cast<BYTE*>(bits);
  d.width = width;
  d.height = height;
  d.stride = (width * 3 + 3) & ~3;
  return d;
}

}  // namespace ear::gdi
