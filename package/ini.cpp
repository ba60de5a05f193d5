#include "package/ini.h"

#include "base/sjis.h"

namespace ear {

std::string FitIniValue(std::string_view raw) {
  if (raw.size() < kIniBufferSize - 1) return std::string(raw);
  raw = raw.substr(0, kIniBufferSize - 1);
  // CutAtCharBoundary keeps a dangling lead byte, so find where the last character starts.
  std::size_t last = 0;
  for (std::size_t i = 0; i < raw.size(); i += CharLength(raw, i)) last = i;
  if (!raw.empty() && last + 1 == raw.size() && IsLeadByte(static_cast<unsigned char>(raw[last]))) {
    raw.remove_suffix(1);
  }
  return std::string(raw);
}

void RetryIniWrite(const std::function<void()>& attempt, const std::function<void()>& pause) {
  for (int tries = 1;; ++tries) {
    try {
      attempt();
      return;
    } catch (...) {
      if (tries >= kIniWriteAttempts) throw;
    }
    pause();
  }
}

std::string IniWriteErrorText(std::string_view path) {
  return std::string(path) + " に書き込めません";
}

}  // namespace ear
