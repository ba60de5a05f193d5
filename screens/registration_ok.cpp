#include "screens/registration_ok.h"

#include "base/sjis.h"

namespace ear {

ExamWindowWait WaitForExamWindow(const std::function<bool()>& windowShown,
                                 const std::function<void()>& pauseAndProcess,
                                 const std::function<std::uint64_t()>& nowMs, std::uint64_t timeoutMs) {
  const std::uint64_t start = nowMs();
  for (;;) {
    if (windowShown()) return ExamWindowWait::Shown;
    if (nowMs() - start >= timeoutMs) return windowShown() ? ExamWindowWait::Shown : ExamWindowWait::TimedOut;
    pauseAndProcess();
  }
}

std::string PathWithoutExtension(std::string_view path) {
  std::size_t dot = std::string_view::npos;
  for (std::size_t i = 0; i < path.size(); i += CharLength(path, i)) {
    if (path[i] == '.') dot = i;
    if (path[i] == '\\' || path[i] == ':') dot = std::string_view::npos;
  }
  return std::string(path.substr(0, dot));
}

bool IsExecutableItself(std::string_view path, std::string_view exePath) {
  return PathWithoutExtension(path) == PathWithoutExtension(exePath);
}

}  // namespace ear
