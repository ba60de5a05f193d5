#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace ear {

// True when one of the arguments (the program name excluded) is exactly "-debug".
bool HasDebugFlag(const std::vector<std::string>& arguments);

// The arguments of a Windows command line after the program name, split as the system's
// CommandLineToArgvW splits them: the program name ends at its closing quote or at the
// first blank; arguments are separated by blanks (space, tab) outside quotes; 2n
// backslashes before a quote stand for n and the quote opens or closes a quoted part, 2n+1
// for n and a literal quote; in a run of quotes every third one is a literal quote; other
// backslashes stay as they are. Works on UTF-16 units as on bytes: only ASCII is looked at.
template <typename Char>
std::vector<std::basic_string<Char>> SplitCommandLine(std::basic_string_view<Char> line) {
  auto blank = [](Char c) { return c == Char(' ') || c == Char('\t'); };
  std::size_t i = 0;
  if (i < line.size() && line[i] == Char('"')) {
    for (++i; i < line.size() && line[i] != Char('"'); ++i) {}
    if (i < line.size()) ++i;
  } else {
    while (i < line.size() && !blank(line[i])) ++i;
  }
  std::vector<std::basic_string<Char>> arguments;
  std::basic_string<Char> current;
  bool inArgument = false;
  int quotes = 0;  // 1 inside a quoted part
  int backslashes = 0;
  while (i < line.size()) {
    const Char c = line[i];
    if (blank(c) && quotes == 0) {
      if (inArgument) arguments.push_back(current);
      current.clear();
      inArgument = false;
      backslashes = 0;
      ++i;
      continue;
    }
    inArgument = true;
    if (c == Char('\\')) {
      current.push_back(c);
      ++backslashes;
      ++i;
    } else if (c == Char('"')) {
      // Of the backslashes already copied, half (rounded down) stay.
      current.resize(current.size() - static_cast<std::size_t>(backslashes - backslashes / 2));
      if (backslashes % 2 == 1) {
        current.push_back(Char('"'));
      } else {
        ++quotes;
      }
      backslashes = 0;
      for (++i; i < line.size() && line[i] == Char('"'); ++i) {
        if (++quotes == 3) {
          current.push_back(Char('"'));
          quotes = 0;
        }
      }
      if (quotes == 2) quotes = 0;
    } else {
      current.push_back(c);
      backslashes = 0;
      ++i;
    }
  }
  if (inArgument) arguments.push_back(current);
  return arguments;
}

}  // namespace ear
