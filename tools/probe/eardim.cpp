// eardim FILE...: one line per file, "name<TAB>width<TAB>height" or
// "name<TAB>message" (CR LF shown as \n), in the launcher's CP932 bytes.
// Exit code 1 when any file failed.
#include <cstdint>
#include <cstdio>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "base/error.h"
#include "imaging/MainGetDimension.h"

namespace {

std::string ShowLineBreaks(const std::string& message) {
  std::string shown;
  for (std::size_t i = 0; i < message.size(); ++i) {
    if (message[i] == '\r' && i + 1 < message.size() && message[i + 1] == '\n') {
      shown += "\\n";
      ++i;
    } else {
      shown += message[i];
    }
  }
  return shown;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  // The bytes as the launcher has them: no LF -> CR LF translation.
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  if (argc < 2) {
    std::fputs("usage: eardim FILE...\n", stderr);
    return 2;
  }
  int failed = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string name = argv[i];
    std::string line = name + "\t";
    try {
      std::uint32_t width = 0, height = 0;
      ear::GetDimension(name, width, height);
      line += std::to_string(width) + "\t" + std::to_string(height);
    } catch (const ear::Error& e) {
      line += ShowLineBreaks(e.Message());
      failed = 1;
    }
    line += "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
  }
  return failed;
}
