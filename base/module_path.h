#pragma once
#include <string>

namespace ear {

// The running module's file name as the system reports it (CP932 bytes), or the path
// that an ExecutablePathOverride puts in its place while it lives.
std::string ExecutablePath();

// For the time it lives, ExecutablePath() answers `path` instead of the running module's
// file name: a program that shows the screens of a package lying elsewhere (the package
// checker's preview) names the launcher that would lie beside that package, so that every
// path the screens derive from the executable leads into that package. The launcher never
// makes one. Scopes nest; the one made last wins until it ends.
class ExecutablePathOverride {
 public:
  explicit ExecutablePathOverride(std::string path);
  ~ExecutablePathOverride();
  ExecutablePathOverride(const ExecutablePathOverride&) = delete;
  ExecutablePathOverride& operator=(const ExecutablePathOverride&) = delete;

 private:
  friend std::string ExecutablePath();
  std::string path_;
  const ExecutablePathOverride* previous_;
};

}  // namespace ear
