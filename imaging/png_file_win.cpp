#include "imaging/png_file_win.h"

#include "imaging/gdiplus_win.h"

namespace ear::gdiplus {

namespace {
// GDI+'s built-in PNG encoder; the same identifier on every version.
constexpr CLSID kPngEncoder = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
}  // namespace

bool SavePng(const std::string& fileName, int width, int height, int stride, const void* bgra) {
  if (width <= 0 || height <= 0 || bgra == nullptr) return false;
  Bitmap bitmap;
  // The bitmap uses the caller's rows in place: it is gone before they are.
  if (Flat::GdipCreateBitmapFromScan0(width, height, stride, PixelFormat32bppARGB,
                                      static_cast<BYTE*>(const_cast<void*>(bgra)), bitmap.Put()) != Gdiplus::Ok) {
    return false;
  }
  return Flat::GdipSaveImageToFile(bitmap.Get(), WideFileName(fileName).c_str(), &kPngEncoder, nullptr) ==
         Gdiplus::Ok;
}

}  // namespace ear::gdiplus
