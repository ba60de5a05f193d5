#include <windows.h>

#include "base/module_path.h"

#include <utility>

namespace ear {

namespace {
// The user-interface thread is the only one that asks.
const ExecutablePathOverride* current = nullptr;
}  // namespace

ExecutablePathOverride::ExecutablePathOverride(std::string path) : path_(std::move(path)), previous_(current) {
  current = this;
}

ExecutablePathOverride::~ExecutablePathOverride() { current = previous_; }

std::string ExecutablePath() {
  if (current) return current->path_;
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace ear
