#include "imaging/gdiplus_win.h"

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

std::wstring WideFileName(const std::string& fileName) {
  if (fileName.empty()) return {};
  const int size = static_cast<int>(fileName.size());
  const int length = MultiByteToWideChar(CP_ACP, 0, fileName.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, fileName.data(), size, wide.data(), length);
  return wide;
}

}  // namespace ear::gdiplus
