#include "tools/earcheck/report.h"

#include <cstdio>

#include "package/package_settings.h"
#include "tools/earcheck/platform.h"

namespace earcheck {

namespace {

// Padded to the width of "エラー".
std::string SeverityWord(Severity s) { return std::string(SeverityLabel(s)) + (s == Severity::Error ? "" : "  "); }

// A control character from a package value would act on the terminal (an ESC starts
// an escape sequence that can rewrite or hide lines): it shows as "<0x1B>". Control
// bytes are never the second byte of a Shift-JIS character.
void AppendVisible(std::string& out, char ch) {
  const unsigned char c = static_cast<unsigned char>(ch);
  if (c >= 0x20 && c != 0x7F) {
    out += ch;
    return;
  }
  char b[8];
  std::snprintf(b, sizeof b, "<0x%02X>", c);
  out += b;
}

std::string Visible(const std::string& text) {
  std::string out;
  for (const char ch : text) AppendVisible(out, ch);
  return out;
}

// A message's own line breaks (the size probe's CR LF; values hold none) continue under
// the first line; every other control character is made visible.
std::string Indented(const std::string& message) {
  std::string out;
  for (std::size_t i = 0; i < message.size(); ++i) {
    if (message[i] == '\r' && i + 1 < message.size() && message[i + 1] == '\n') continue;
    if (message[i] == '\n') {
      out += "\n        ";
    } else {
      AppendVisible(out, message[i]);
    }
  }
  return out;
}

// The length of the well-formed UTF-8 character at text[i]; 0 when none starts there (a stray
// byte, a cut, overlong or surrogate sequence, or one above U+10FFFF).
std::size_t Utf8Length(const std::string& text, std::size_t i) {
  const unsigned char c = static_cast<unsigned char>(text[i]);
  if (c < 0x80) return 1;
  std::size_t n = 0;
  unsigned char low = 0x80, high = 0xBF;  // the second byte's range
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    if (c == 0xE0) low = 0xA0;
    if (c == 0xED) high = 0x9F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    if (c == 0xF0) low = 0x90;
    if (c == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (i + n > text.size()) return 0;
  for (std::size_t k = 1; k < n; ++k) {
    const unsigned char t = static_cast<unsigned char>(text[i + k]);
    if (t < (k == 1 ? low : 0x80) || t > (k == 1 ? high : 0xBF)) return 0;
  }
  return n;
}

// A byte that is not part of well-formed UTF-8 (a native path may hold any) becomes the escape
// of U+DC80 + byte, as Python's "surrogateescape" decodes it: the output stays UTF-8, and no
// text can be mistaken for it, as UTF-8 cannot spell a surrogate.
std::string JsonString(const std::string& utf8) {
  std::string out = "\"";
  for (std::size_t i = 0; i < utf8.size();) {
    const std::size_t n = Utf8Length(utf8, i);
    if (n == 0) {
      char b[8];
      std::snprintf(b, sizeof b, "\\udc%02x", static_cast<unsigned char>(utf8[i]));
      out += b;
      ++i;
      continue;
    }
    if (n > 1) {
      out.append(utf8, i, n);
      i += n;
      continue;
    }
    const char ch = utf8[i++];
    const unsigned char c = static_cast<unsigned char>(ch);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char b[8];
          std::snprintf(b, sizeof b, "\\u%04x", c);
          out += b;
        } else {
          out += ch;
        }
    }
  }
  return out + "\"";
}

}  // namespace

std::string TextReport(const PackageReport& r, const std::string& shownPath) {
  std::string out = "== " + shownPath + "\n";
  out += "モード: " + ModeWords(r) + "   受験タイプ: " + Visible(ExamTypeWords(r)) + "\n";
  for (const Finding& f : r.findings) {
    out += SeverityWord(f.severity) + "  ";
    if (!f.file.empty()) out += Visible(f.file);
    if (f.key) out += " [" + Visible(*f.key) + "]";
    if (!f.file.empty() || f.key) out += ": ";
    out += Indented(f.message) + "\n";
  }
  out += "結果: " + ResultWords(r) + "\n";
  return out;
}

namespace {
struct SeverityWords {
  Severity severity;
  const char* name;
  const char* label;
};
constexpr SeverityWords kSeverityWords[] = {
    {Severity::Error, "error", "エラー"},
    {Severity::Warning, "warning", "警告"},
    {Severity::Info, "info", "情報"},
};
const SeverityWords* WordsOf(Severity s) {
  for (const SeverityWords& words : kSeverityWords) {
    if (words.severity == s) return &words;
  }
  return nullptr;
}
}  // namespace

const char* SeverityName(Severity s) {
  const SeverityWords* words = WordsOf(s);
  return words ? words->name : "";
}

const char* SeverityLabel(Severity s) {
  const SeverityWords* words = WordsOf(s);
  return words ? words->label : "";
}

std::string ModeWords(const PackageReport& r) {
  return r.venueMode ? "会場モード（会場コードと受験番号）" : "氏名モード（姓と名）";
}

std::string ExamTypeWords(const PackageReport& r) {
  return "「" + r.examType + "」" + (ear::IsAlternativeExamType(r.examType) ? "（受験タイプ 3 のレイアウト）" : "（標準のレイアウト）");
}

const char* Verdict(const PackageReport& r) { return r.Ok() ? "配布できます" : "このままでは配布できません"; }

std::string ResultWords(const PackageReport& r) {
  return "エラー " + std::to_string(r.Count(Severity::Error)) + " 件、警告 " +
         std::to_string(r.Count(Severity::Warning)) + " 件、情報 " + std::to_string(r.Count(Severity::Info)) +
         " 件（" + Verdict(r) + "）";
}

std::string JsonReport(const std::vector<PackageReport>& reports) {
  std::string out = "{\"packages\": [";
  for (std::size_t i = 0; i < reports.size(); ++i) {
    const PackageReport& r = reports[i];
    out += i ? ",\n  " : "\n  ";
    out += "{\"path\": " + JsonString(Utf8FromNative(r.nativePath)) + ", \"ok\": " + (r.Ok() ? "true" : "false") +
           ", \"mode\": " + (r.venueMode ? "\"venue\"" : "\"name\"") +
           ", \"examType\": " + JsonString(Utf8FromSjis(r.examType)) + ", \"findings\": [";
    for (std::size_t k = 0; k < r.findings.size(); ++k) {
      const Finding& f = r.findings[k];
      out += k ? ",\n    " : "\n    ";
      out += std::string("{\"severity\": \"") + SeverityName(f.severity) + "\", \"file\": " +
             (f.file.empty() ? "null" : JsonString(Utf8FromSjis(f.file))) +
             ", \"key\": " + (f.key ? JsonString(Utf8FromSjis(*f.key)) : "null") +
             ", \"message\": " + JsonString(Utf8FromSjis(f.message)) + "}";
    }
    out += r.findings.empty() ? "]}" : "\n  ]}";
  }
  out += reports.empty() ? "]}\n" : "\n]}\n";
  return out;
}

}  // namespace earcheck
