#include "imaging/gdiplus_win.h"

#include "base/text_win.h"

namespace ear::gdiplus {

Session::Session() {
  Gdiplus::GdiplusStartupInput input;
  input.GdiplusVersion = 1;
  input.DebugEventCallback = nullptr;
  input.SuppressBackgroundThread = FALSE;
  input.SuppressExternalCodecs = FALSE;
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) token_ = token;
}

Session::~Session() {
  if (token_ != 0) Gdiplus::GdiplusShutdown(token_);
}

std::wstring WideFileName(const std::string& fileName) { return ear::Widen(fileName, ear::kFileSystemCodePage); }

}  // namespace ear::gdiplus
