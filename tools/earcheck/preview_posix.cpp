// Natively there are no screens to paint: main refuses --preview before painting, and the
// page is written without pictures. The guard of the page's folder works as on Windows.
#include <climits>
#include <cstdlib>

#include "tools/earcheck/preview.h"

namespace earcheck::preview {

bool Available() { return false; }
Session::Session() : state_(nullptr) {}
Session::~Session() = default;
bool PrepareFolder(const std::string&, std::string&) { return false; }
std::string LauncherFolder(const std::string&) { return {}; }
bool InsidePackage(const std::string& fullDir, const std::string& packageNativePath) {
  // Compared with links resolved: a link in either path must not hide the package.
  auto resolved = [](const std::string& path) {
    char buffer[PATH_MAX];
    return ::realpath(path.c_str(), buffer) ? std::string(buffer) : path;
  };
  const std::string dir = resolved(fullDir), package = resolved(packageNativePath);
  return dir.compare(0, package.size(), package) == 0 && (dir.size() == package.size() || dir[package.size()] == '/');
}
bool RenderScreens(const std::string&, const std::string&, int, std::vector<std::string>&, std::vector<Problem>&,
                   std::vector<Problem>&) {
  return false;
}
bool PaintScreens(const std::string&, std::vector<Painted>&) { return false; }

}  // namespace earcheck::preview
