#pragma once
// Small RAII holders for GDI objects: released in reverse order, also on errors.
#include <windows.h>

namespace forms {

class SolidBrush {
 public:
  explicit SolidBrush(COLORREF color) : brush_(CreateSolidBrush(color)) {}
  ~SolidBrush() { DeleteObject(brush_); }
  SolidBrush(const SolidBrush&) = delete;
  SolidBrush& operator=(const SolidBrush&) = delete;
  HBRUSH get() const { return brush_; }

 private:
  HBRUSH brush_;
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

// Selects an object into a DC for the holder's lifetime.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~Selected() { SelectObject(dc_, old_); }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// An off-screen surface compatible with a DC.
class MemoryDC {
 public:
  MemoryDC(HDC reference, int width, int height)
      : dc_(CreateCompatibleDC(reference)),
        bitmap_(CreateCompatibleBitmap(reference, width, height)),
        old_(SelectObject(dc_, bitmap_)) {}
  ~MemoryDC() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;
  HDC dc() const { return dc_; }
  HBITMAP bitmap() const { return bitmap_; }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
};

// A solid brush per colour, kept for the whole run (control colour messages return it).
HBRUSH CachedBrush(COLORREF color);

}  // namespace forms
