#include "tools/earcheck/html_report.h"

#include <cstdio>

#include "tools/earcheck/platform.h"
#include "tools/earcheck/report.h"

namespace earcheck::html {

namespace {

// The page's own texts are written here in Shift-JIS like every text of the program and
// converted once; what comes from a package is converted and escaped.
std::string Own(std::string_view sjis) { return Utf8FromSjis(sjis); }
std::string FromSjis(std::string_view sjis) { return Escape(Utf8FromSjis(sjis)); }
std::string FromNative(const std::string& nativePath) { return Escape(Utf8FromNative(nativePath)); }

// The size probe's messages break their line with CR LF; the page shows a plain break.
std::string WithoutCr(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return out;
}

// Width and height from a PNG's header; false when it is none.
bool PngSize(std::string_view png, unsigned& width, unsigned& height) {
  if (png.size() < 24 || png.substr(0, 8) != "\x89PNG\r\n\x1a\n" || png.substr(12, 4) != "IHDR") return false;
  auto be32 = [&](std::size_t at) {
    unsigned v = 0;
    for (std::size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(png[at + i]);
    return v;
  };
  width = be32(16);
  height = be32(20);
  return true;
}

std::string Id(int n) {
  std::string id = "p";
  id += std::to_string(n);
  return id;
}

constexpr char kStyle[] =
    "body{font-family:\"Meiryo\",\"Yu Gothic\",\"IPAGothic\",sans-serif;margin:12px 16px;color:#222;"
    "background:#f4f5f7}"
    "h1{font-size:20px}h2{font-size:16px;margin:0 0 8px;word-break:break-all}"
    "table{border-collapse:collapse;background:#fff}"
    "th,td{border:1px solid #c8ccd2;padding:4px 8px;text-align:left;vertical-align:top}"
    "th{background:#e6e9ee;white-space:nowrap}td.n{text-align:right}td.severity,td.key{white-space:nowrap}"
    "td.path{word-break:break-all}"
    "tr.bad td.verdict,td.bad{color:#a50e0e;font-weight:bold}"
    "tr.good td.verdict{color:#1d6b2f;font-weight:bold}"
    ".card{background:#fff;border:1px solid #c8ccd2;border-radius:6px;margin:20px 0;padding:12px}"
    ".band{padding:8px 12px;border-radius:4px;font-weight:bold;margin:8px 0;color:#fff}"
    ".band.good{background:#1d6b2f}.band.bad{background:#a50e0e}"
    // Side by side at their real size; a narrower window wraps them rather than shrinking them.
    ".screens{display:flex;flex-wrap:wrap;gap:12px;align-items:flex-start;margin:12px 0}"
    "figure{margin:0;flex:none}figcaption{font-size:13px;margin-top:4px}"
    "figure img{display:block;max-width:none;background:repeating-conic-gradient(#ddd 0 25%,#fff 0 50%) 0 0/16px 16px}"
    ".problem{color:#a50e0e;white-space:pre-wrap;font-size:13px;max-width:640px}"
    ".note{color:#555}"
    "table.findings td.message{white-space:pre-wrap}"
    "tr.error td{background:#fde8e8}tr.error td.severity{color:#a50e0e;font-weight:bold}"
    "tr.warning td{background:#fff6db}tr.warning td.severity{color:#8a5a00;font-weight:bold}";

}  // namespace

std::string Escape(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (const char ch : utf8) {
    const unsigned char c = static_cast<unsigned char>(ch);
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default:
        if ((c < 0x20 && c != '\t' && c != '\n') || c == 0x7F) {
          char b[8];
          std::snprintf(b, sizeof b, "\\x%02X", c);
          out += b;
        } else {
          out += ch;
        }
    }
  }
  return out;
}

std::string Base64(std::string_view bytes) {
  static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    const unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) | (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                       static_cast<unsigned char>(bytes[i + 2]);
    out += kDigits[v >> 18];
    out += kDigits[(v >> 12) & 63];
    out += kDigits[(v >> 6) & 63];
    out += kDigits[v & 63];
  }
  if (const std::size_t rest = bytes.size() - i; rest > 0) {
    unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
    if (rest == 2) v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    out += kDigits[v >> 18];
    out += kDigits[(v >> 12) & 63];
    out += rest == 2 ? kDigits[(v >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

std::string Head(const std::vector<PackageReport>& reports, const std::vector<std::string>& skipped) {
  // The policy forbids every script and every load but the page's own pictures and style:
  // even a value that escaped the escaping could run nothing and fetch nothing.
  std::string out =
      "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; img-src data:; "
      "style-src 'unsafe-inline'\">\n<title>" +
      Own("earcheck: パッケージの確認結果") + "</title>\n<style>" + kStyle + "</style>\n</head>\n<body>\n<h1>" +
      Own("earcheck: パッケージの確認結果") + "</h1>\n";
  out += "<table class=\"summary\">\n<thead><tr><th>#</th><th>" + Own("パッケージ") + "</th><th>" + Own("モード") +
         "</th><th>" + Own("受験タイプ") + "</th><th>" + Own("エラー") + "</th><th>" + Own("警告") + "</th><th>" +
         Own("結果") + "</th></tr></thead>\n<tbody>\n";
  for (std::size_t i = 0; i < reports.size(); ++i) {
    const PackageReport& r = reports[i];
    const int n = static_cast<int>(i + 1);
    const int errors = r.Count(Severity::Error);
    out += std::string("<tr class=\"") + (r.Ok() ? "good" : "bad") + "\"><td class=\"n\"><a href=\"#" + Id(n) +
           "\">" + std::to_string(n) + "</a></td><td class=\"path\"><a href=\"#" + Id(n) + "\">" +
           FromNative(r.nativePath) + "</a></td><td>" + FromSjis(ModeWords(r)) + "</td><td>" +
           FromSjis(ExamTypeWords(r)) + "</td><td class=\"n" + (errors ? " bad" : "") + "\">" +
           std::to_string(errors) + "</td><td class=\"n\">" + std::to_string(r.Count(Severity::Warning)) +
           "</td><td class=\"verdict\">" + Own(Verdict(r)) + "</td></tr>\n";
  }
  out += "</tbody>\n</table>\n";
  if (!skipped.empty()) {
    out += "<p class=\"note\">" + Own("パッケージではないため確認しなかったもの（「system」フォルダーがありません）:") +
           "</p>\n<ul>\n";
    for (const std::string& path : skipped) out += "<li>" + FromNative(path) + "</li>\n";
    out += "</ul>\n";
  }
  return out;
}

std::string Card(const PackageReport& r, int n, const std::vector<preview::Painted>& screens) {
  std::string out = "<section class=\"card\" id=\"" + Id(n) + "\">\n<h2>" + std::to_string(n) + ". " +
                    FromNative(r.nativePath) + "</h2>\n";
  out += std::string("<div class=\"band ") + (r.Ok() ? "good" : "bad") + "\">" + Own("結果: " + ResultWords(r)) +
         "</div>\n";
  out += "<p>" + Own("モード: ") + FromSjis(ModeWords(r)) + Own("　受験タイプ: ") + FromSjis(ExamTypeWords(r)) +
         "</p>\n";
  if (screens.empty()) {
    out += "<p class=\"note\">" +
           Own("画面のプレビューはありません: 画面は Windows 版（earcheck.exe）がランチャーのコードで描きます。") +
           "</p>\n";
  } else {
    out += "<div class=\"screens\">\n";
    for (const preview::Painted& s : screens) {
      const std::string caption = Own(s.caption);
      out += "<figure>";
      unsigned w = 0, h = 0;
      if (PngSize(s.png, w, h)) {
        out += "<img alt=\"" + caption + "\" width=\"" + std::to_string(w) + "\" height=\"" + std::to_string(h) +
               "\" src=\"data:image/png;base64,";
        out += Base64(s.png);
        out += "\">";
      } else {
        out += "<p class=\"problem\">" + Own("この画面を描けませんでした。") + "</p>";
      }
      out += "<figcaption>" + caption + "</figcaption>";
      if (!s.problem.empty()) {
        out += "<p class=\"problem\">" + Own(preview::kSetUpStopped) + "\n" + FromSjis(WithoutCr(s.problem)) + "</p>";
      }
      out += "</figure>\n";
    }
    out += "</div>\n";
  }
  out += "<table class=\"findings\">\n<thead><tr><th>" + Own("重要度") + "</th><th>" + Own("ファイル") +
         "</th><th>" + Own("キー") + "</th><th>" + Own("内容") + "</th></tr></thead>\n<tbody>\n";
  for (const Finding& f : r.findings) {
    out += std::string("<tr class=\"") + SeverityName(f.severity) + "\"><td class=\"severity\">" +
           Own(SeverityLabel(f.severity)) + "</td><td>" + FromSjis(f.file) + "</td><td class=\"key\">" +
           (f.key ? FromSjis(*f.key) : std::string()) + "</td><td class=\"message\">" +
           FromSjis(WithoutCr(f.message)) + "</td></tr>\n";
  }
  out += "</tbody>\n</table>\n</section>\n";
  return out;
}

std::string Tail() { return "</body>\n</html>\n"; }

}  // namespace earcheck::html
