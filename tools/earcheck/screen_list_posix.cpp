// Natively there are no screens to make: main refuses --screens.
#include "tools/earcheck/screen_list.h"

namespace earcheck {

bool ScreenListAvailable() { return false; }
std::string ScreenList() { return {}; }

}  // namespace earcheck
