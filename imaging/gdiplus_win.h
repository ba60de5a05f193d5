#pragma once
// GDI+ through its flat API: the run-wide start-up, holders for the objects a painting
// routine creates, and the file-name widening that GDI+ needs.
//
// Holders: declare them in the order the objects are created; leaving the scope (also by an
// exception) then releases them in reverse order. A holder whose creation failed holds
// nothing and releases nothing; GDI+ status codes are not inspected by the callers.
//
//   ear::gdiplus::Graphics graphics;
//   ear::gdiplus::Flat::GdipCreateFromHDC(dc, graphics.Put());
//   ear::gdiplus::Bitmap bitmap;
//   ear::gdiplus::Flat::GdipCreateBitmapFromFile(ear::gdiplus::WideFileName(name).c_str(), bitmap.Put());
#include <windows.h>
// <gdiplus.h> of MinGW-w64 uses IStream without declaring it fully.
#include <objidl.h>
#include <gdiplus.h>

#include <string>
#include <utility>

namespace ear::gdiplus {

namespace Flat = Gdiplus::DllExports;
using Gdiplus::GpBitmap;
using Gdiplus::GpBrush;
using Gdiplus::GpGraphics;
using Gdiplus::GpImage;
using Gdiplus::GpImageAttributes;
using Gdiplus::GpPen;
using Gdiplus::GpTexture;

// GDI+ for the whole run (version 1, no debug callback, background thread and external
// codecs not suppressed): one per program, made before the first screen and ended at exit,
// which shuts GDI+ down if it was started. A session made with StartAt::firstUse starts
// GDI+ only when a routine first needs it (EnsureStarted), so a run whose pictures all take
// the faster ways never loads gdiplus.dll at all.
class Session {
 public:
  enum class StartAt { now, firstUse };
  explicit Session(StartAt when = StartAt::now);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
  bool Started() const { return token_ != 0; }

 private:
  friend bool EnsureStarted();
  void Start();
  ULONG_PTR token_ = 0;
  bool tried_ = false;
};

// Starts the run's session if it has not started yet. Every routine that calls GDI+ calls
// this first; false when there is no session or GDI+ would not start (the GDI+ calls then
// fail and draw nothing, as any failing GDI+ step does).
bool EnsureStarted();

// One GDI+ object of type T, freed by Release (a flat-API delete or dispose function).
template <typename T, auto Release>
class Holder {
 public:
  Holder() = default;
  explicit Holder(T* object) : object_(object) {}
  ~Holder() { Reset(); }
  Holder(Holder&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  Holder& operator=(Holder&& other) noexcept {
    if (this != &other) {
      Reset();
      object_ = std::exchange(other.object_, nullptr);
    }
    return *this;
  }
  Holder(const Holder&) = delete;
  Holder& operator=(const Holder&) = delete;

  T* Get() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }
  // The slot for a flat-API creation call; what was held before is released first.
  T** Put() {
    Reset();
    return &object_;
  }
  void Reset() {
    if (object_ != nullptr) Release(std::exchange(object_, nullptr));
  }

 private:
  T* object_ = nullptr;
};

using Graphics = Holder<GpGraphics, &Flat::GdipDeleteGraphics>;
using Bitmap = Holder<GpBitmap, &Flat::GdipDisposeImage>;
using Image = Holder<GpImage, &Flat::GdipDisposeImage>;
using Brush = Holder<GpBrush, &Flat::GdipDeleteBrush>;
using Texture = Holder<GpTexture, &Flat::GdipDeleteBrush>;
using Pen = Holder<GpPen, &Flat::GdipDeletePen>;
using ImageAttributes = Holder<GpImageAttributes, &Flat::GdipDisposeImageAttributes>;

// A Shift-JIS file name as GDI+ takes it: UTF-16 through the active code page.
std::wstring WideFileName(const std::string& fileName);

}  // namespace ear::gdiplus
