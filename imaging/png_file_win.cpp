#include "imaging/png_file_win.h"

#include "imaging/gdiplus_win.h"

namespace ear::gdiplus {

namespace {
// A stream over moveable global memory, released with its memory.
struct StreamHolder {
  IStream* stream = nullptr;
  ~StreamHolder() {
    if (stream) stream->Release();
  }
};

// GDI+'s built-in PNG encoder; the same identifier on every version.
constexpr CLSID kPngEncoder = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};

// The bitmap uses the caller's rows in place: it is gone before they are.
bool Wrap(int width, int height, int stride, const void* bgra, Bitmap& bitmap) {
  EnsureStarted();
  return width > 0 && height > 0 && bgra != nullptr &&
         Flat::GdipCreateBitmapFromScan0(width, height, stride, PixelFormat32bppARGB,
                                         static_cast<BYTE*>(const_cast<void*>(bgra)), bitmap.Put()) == Gdiplus::Ok;
}

}  // namespace

bool SavePng(const std::string& fileName, int width, int height, int stride, const void* bgra) {
  Bitmap bitmap;
  if (!Wrap(width, height, stride, bgra, bitmap)) return false;
  return Flat::GdipSaveImageToFile(bitmap.Get(), WideFileName(fileName).c_str(), &kPngEncoder, nullptr) ==
         Gdiplus::Ok;
}

bool EncodePng(int width, int height, int stride, const void* bgra, std::string& png) {
  Bitmap bitmap;
  if (!Wrap(width, height, stride, bgra, bitmap)) return false;
  StreamHolder holder;
  if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &holder.stream))) return false;
  if (Flat::GdipSaveImageToStream(bitmap.Get(), holder.stream, &kPngEncoder, nullptr) != Gdiplus::Ok) return false;
  HGLOBAL memory = nullptr;
  if (FAILED(GetHGlobalFromStream(holder.stream, &memory))) return false;
  STATSTG stat{};
  if (FAILED(holder.stream->Stat(&stat, STATFLAG_NONAME))) return false;
  const void* bytes = GlobalLock(memory);
  if (bytes == nullptr) return false;
  png.assign(static_cast<const char*>(bytes), static_cast<std::size_t>(stat.cbSize.QuadPart));
  GlobalUnlock(memory);
  return true;
}

}  // namespace ear::gdiplus
