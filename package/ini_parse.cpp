#include "package/ini_parse.h"

#include "base/sjis.h"
#include "package/ini.h"

namespace ear {

namespace {

// The profile reader's blanks: the ASCII white space and Ctrl-Z (an old end-of-file
// mark). The full-width space is text and stays in names and values.
std::size_t BlankLengthAt(std::string_view s, std::size_t i) {
  const unsigned char c = static_cast<unsigned char>(s[i]);
  return (c == ' ' || (c >= 0x09 && c <= 0x0D) || c == 0x1A) ? 1 : 0;
}

std::string_view TrimLeft(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const std::size_t n = BlankLengthAt(s, i);
    if (n == 0) break;
    i += n;
  }
  return s.substr(i);
}

// Blanks are single bytes below 0x40, never the second byte of a two-byte character.
std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && BlankLengthAt(s, s.size() - 1) == 1) s.remove_suffix(1);
  return s;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
    if (x != y) return false;
    // A second byte is compared exactly: fold only characters of their own.
    if (IsLeadByte(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
      ++i;
      if (a[i] != b[i]) return false;
    }
  }
  return true;
}

// Position of the last "]" that is a character of its own, or npos.
std::size_t LastCloseBracket(std::string_view line) {
  std::size_t found = std::string_view::npos;
  for (std::size_t i = 0; i < line.size(); i += CharLength(line, i)) {
    if (line[i] == ']') found = i;
  }
  return found;
}

struct Hit {
  std::string_view value;
  bool hasValue = false;
  int line = 0;
};

// Lines end at CR or LF; only the first section of a name is searched, as the
// system's reader does.
std::optional<Hit> Find(std::string_view text, std::string_view section, std::string_view key) {
  bool inSection = false;
  bool sectionSeen = false;
  int number = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = pos;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    ++number;
    const std::size_t lineStart = pos;
    // CR LF counts as one line end; a lone CR or LF as one too.
    if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') {
      pos = end + 2;
    } else {
      pos = end + 1;
    }
    std::string_view line = TrimRight(TrimLeft(text.substr(lineStart, end - lineStart)));
    if (line.empty()) continue;
    if (line[0] == '[') {
      const std::size_t close = LastCloseBracket(line);
      if (close != std::string_view::npos && close > 0) {
        if (inSection) return std::nullopt;  // the first section of that name ended
        const std::string_view name = TrimRight(TrimLeft(line.substr(1, close - 1)));
        inSection = !sectionSeen && SameName(name, section);
        sectionSeen = sectionSeen || inSection;
        continue;
      }
    }
    if (!inSection) continue;
    const std::size_t eq = line.find('=');
    std::string_view name = line;
    Hit hit;
    hit.line = number;
    if (eq != std::string_view::npos) {
      name = TrimRight(line.substr(0, eq));
      hit.value = TrimLeft(line.substr(eq + 1));
      hit.hasValue = true;
    }
    if (SameName(name, key)) return hit;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> FindIniValue(std::string_view text, std::string_view section,
                                        std::string_view key) {
  const std::optional<Hit> hit = Find(text, section, key);
  if (!hit) return std::nullopt;
  std::string_view v = hit->value;
  // The reader hands out C strings: a NUL byte ends the value.
  if (const std::size_t nul = v.find('\0'); nul != std::string_view::npos) v = v.substr(0, nul);
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    v = v.substr(1, v.size() - 2);
  }
  return std::string(v);
}

int FindIniLine(std::string_view text, std::string_view section, std::string_view key) {
  const std::optional<Hit> hit = Find(text, section, key);
  return hit ? hit->line : 0;
}

std::string ReadIniText(std::string_view text, std::string_view section, std::string_view key) {
  return FitIniValue(FindIniValue(text, section, key).value_or(""));
}

std::vector<int> InvalidShiftJisLines(std::string_view text) {
  std::vector<int> lines;
  int number = 1;
  bool bad = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '\n' || (c == '\r' && !(i + 1 < text.size() && text[i + 1] == '\n'))) {
      if (bad) lines.push_back(number);
      bad = false;
      ++number;
      continue;
    }
    if (IsLeadByte(c)) {
      const unsigned char t = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
      if ((t >= 0x40 && t <= 0x7E) || (t >= 0x80 && t <= 0xFC)) {
        ++i;
      } else {
        bad = true;
      }
    } else if (c == 0x80 || c == 0xA0 || c >= 0xFD) {
      bad = true;
    }
  }
  if (bad) lines.push_back(number);
  return lines;
}

}  // namespace ear
