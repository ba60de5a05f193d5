#include "shell/batch.h"

#include <array>

#include "base/sjis.h"
#include "package/paths.h"

namespace ear {

namespace {

struct Replacement {
  std::string_view sign;
  std::string_view replacement;
};

// Percent first and caret second, so that no inserted caret is doubled again.
constexpr std::array<Replacement, 8> kEscapes = {{
    {"%", "%%"},
    {"^", "^^"},
    {"&", "^&"},
    {";", "^;"},
    {",", "^,"},
    {"=", "^="},
    {"\x81\x40", "^\x81\x40"},
    {" ", "^ "},
}};

// Replaces whole characters only: a second byte is never taken for a sign.
std::string ReplaceCharacters(std::string_view text, const Replacement& r) {
  std::string out;
  out.reserve(text.size() + 8);
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = CharLength(text, i);
    const std::string_view character = text.substr(i, length);
    out += character == r.sign ? r.replacement : character;
    i += length;
  }
  return out;
}

// One pause of about a second: cmd has no sleep, Wine's has no timeout.exe.
constexpr std::string_view kPause = "ping -n 2 127.0.0.1 >nul";
// Both retry loops together give up after this many attempts (a few minutes).
constexpr std::string_view kMaxAttempts = "180";

}  // namespace

std::string EscapeBatchPath(std::string_view path) {
  std::string text(path);
  for (const Replacement& r : kEscapes) text = ReplaceCharacters(text, r);
  return text;
}

std::string CleanupBatchText(std::string_view exePath) {
  const std::string q = "^\"";
  const std::string e = q + EscapeBatchPath(exePath) + q;
  const std::string f = q + EscapeBatchPath(ExeFolder(exePath)) + q;
  const std::string countAndGiveUp = "SET /A EarTries+=1\r\nIF %EarTries% GTR " +
                                     std::string(kMaxAttempts) + " GOTO LblEnd\r\n";
  std::string text;
  text += "SET /A EarTries=0\r\n";
  // With the pause inside the loop the first delete comes ~4 s after start: under Wine a
  // process lingers ~2 s after its last window has closed, and one attempt must do.
  text += "ping -n 4 127.0.0.1 >nul\r\n";
  text += ":Lbl0\r\n";
  text += std::string(kPause) + "\r\n" + countAndGiveUp;
  text += "DEL " + e + "\r\n";
  text += "IF EXIST " + e + " GOTO Lbl0\r\n";
  // In a root folder the executable's folder is the drive's root: it is never removed.
  if (!InRootFolder(exePath)) {
    text += "cd..\r\n";
    text += ":Lbl1\r\n";
    text += std::string(kPause) + "\r\n" + countAndGiveUp;
    text += "RMDIR " + f + "\r\n";
    text += "IF EXIST " + f + " GOTO Lbl1\r\n";
  }
  text += ":LblEnd\r\n";
  text += "DEL %0\r\n";
  text += "EXIT\r\n";
  return text;
}

}  // namespace ear
