// Natively earcheck never runs in a console of its own: main never uses the rest.
#include "tools/earcheck/drop.h"

namespace earcheck::drop {

bool Dropped() { return false; }
std::string NewPageFile(std::string& reason) {
  reason.clear();
  return {};
}
bool OpenPage(const std::string&) { return false; }
void Show(const std::string&) {}
void WaitForEnter() {}

}  // namespace earcheck::drop
