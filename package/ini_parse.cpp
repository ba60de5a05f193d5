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

bool IsSecondByte(unsigned char t) { return (t >= 0x40 && t <= 0x7E) || (t >= 0x80 && t <= 0xFC); }

std::u16string Utf16Units(std::string_view bytes, bool bigEndian) {
  std::u16string units;
  units.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const unsigned a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
    units += static_cast<char16_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
  }
  return units;
}

// UTF-8 as UTF-16; a byte that starts no valid sequence becomes U+FFFD.
std::u16string Utf16FromUtf8(std::string_view s) {
  std::u16string units;
  units.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    std::size_t n = c < 0x80 ? 1 : (c >= 0xC2 && c <= 0xDF) ? 2 : (c >= 0xE0 && c <= 0xEF) ? 3
                  : (c >= 0xF0 && c <= 0xF4) ? 4 : 0;
    char32_t cp = n == 1 ? c : n == 2 ? (c & 0x1F) : n == 3 ? (c & 0x0F) : (c & 0x07);
    bool ok = n > 0 && i + n <= s.size();
    for (std::size_t k = 1; ok && k < n; ++k) {
      const unsigned char t = static_cast<unsigned char>(s[i + k]);
      ok = (t & 0xC0) == 0x80;
      cp = cp << 6 | (t & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are no characters.
    ok = ok && !(n == 3 && cp < 0x800) && !(n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) &&
         !(cp >= 0xD800 && cp <= 0xDFFF);
    if (!ok) {
      units += u'\xFFFD';
      ++i;
      continue;
    }
    if (cp >= 0x10000) {
      units += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
      units += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      units += static_cast<char16_t>(cp);
    }
    i += n;
  }
  return units;
}

}  // namespace

IniEncoding DetectIniEncoding(std::string_view b) {
  if (b.size() >= 2 && ((b[0] == '\xFF' && b[1] == '\xFE') || (b[0] == '\xFE' && b[1] == '\xFF'))) {
    return IniEncoding::Utf16;
  }
  if (b.size() >= 3 && b.substr(0, 3) == "\xEF\xBB\xBF") return IniEncoding::Utf8Bom;
  return IniEncoding::ShiftJis;
}

std::string ProfileText(std::string_view b) {
  switch (DetectIniEncoding(b)) {
    case IniEncoding::Utf16:
      return SjisFromUtf16(Utf16Units(b.substr(2), b[0] == '\xFE'));
    case IniEncoding::Utf8Bom:
      return SjisFromUtf16(Utf16FromUtf8(b.substr(3)));
    case IniEncoding::ShiftJis:
      break;
  }
  std::string text;
  text.reserve(b.size());
  for (std::size_t i = 0; i < b.size(); ++i) {
    if (!IsLeadByte(static_cast<unsigned char>(b[i]))) {
      text += b[i];
    } else if (i + 1 < b.size() && IsSecondByte(static_cast<unsigned char>(b[i + 1]))) {
      text += b.substr(i, 2);
      ++i;
    } else {
      text += "\x81\x45";  // ・, the system's stand-in for a character it cannot read
      ++i;
    }
  }
  return text;
}

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

std::string ReadIniText(std::string_view fileBytes, std::string_view section, std::string_view key) {
  return FitIniValue(FindIniValue(ProfileText(fileBytes), section, key).value_or(""));
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
      if (IsSecondByte(t)) {
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

std::vector<int> LeadByteAtLineEndLines(std::string_view text) {
  std::vector<int> lines;
  int number = 1;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '\n' || (c == '\r' && !(i + 1 < text.size() && text[i + 1] == '\n'))) {
      ++number;
    } else if (IsLeadByte(c) && i + 1 < text.size()) {
      const unsigned char t = static_cast<unsigned char>(text[i + 1]);
      if (t == '\r' || t == '\n') lines.push_back(number);
      if (IsSecondByte(t)) ++i;
    }
  }
  return lines;
}

}  // namespace ear
