#include "imaging/gdiplus_win.h"

#include "base/text_win.h"

namespace ear::gdiplus {

namespace {
Session* runSession = nullptr;
}  // namespace

Session::Session(StartAt when) {
  runSession = this;
  if (when == StartAt::now) Start();
}

Session::~Session() {
  if (runSession == this) runSession = nullptr;
  if (token_ != 0) Gdiplus::GdiplusShutdown(token_);
}

void Session::Start() {
  if (tried_) return;
  tried_ = true;
  Gdiplus::GdiplusStartupInput input;
  input.GdiplusVersion = 1;
  input.DebugEventCallback = nullptr;
  input.SuppressBackgroundThread = FALSE;
  input.SuppressExternalCodecs = FALSE;
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) token_ = token;
}

bool EnsureStarted() {
  if (runSession == nullptr) return false;
  runSession->Start();
  return runSession->Started();
}

std::wstring WideFileName(const std::string& fileName) { return ear::Widen(fileName, ear::kFileSystemCodePage); }

}  // namespace ear::gdiplus
