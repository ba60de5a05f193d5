// Natively there are no screens to paint: main refuses --preview before using any of this.
#include "tools/earcheck/preview.h"

namespace earcheck::preview {

bool Available() { return false; }
Session::Session() : state_(nullptr) {}
Session::~Session() = default;
bool PrepareFolder(const std::string&, std::string&) { return false; }
std::string LauncherFolder(const std::string&) { return {}; }
bool InsidePackage(const std::string&, const std::string&) { return false; }
bool RenderScreens(const std::string&, const std::string&, int, std::vector<std::string>&, std::vector<Problem>&) {
  return false;
}

}  // namespace earcheck::preview
