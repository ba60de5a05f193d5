// Natively there are no screens to make.
#include <cstdio>

#include "tools/earcheck/platform.h"
#include "tools/earcheck/screen_list.h"

namespace earcheck {

std::string ScreenList() { return {}; }

int PrintScreenList() {
  const std::string text = ConsoleFromSjis("earcheck: --screens は Windows 版（earcheck.exe）だけで使えます。\n");
  std::fwrite(text.data(), 1, text.size(), stderr);
  return 2;
}

}  // namespace earcheck
