#include "tools/earcheck/check.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "base/error.h"
#include "base/rounding.h"
#include "base/sjis.h"
#include "imaging/MainGetDimension.h"
#include "imaging/file_reader.h"
#include "imaging/jpeg/jpeg_decode.h"
#include "package/candidate_folder.h"
#include "package/ini.h"
#include "package/ini_parse.h"
#include "package/package_settings.h"
#include "package/paths.h"
#include "screens/registration_ok.h"
#include "screens/registration_rules.h"
#include "tools/earcheck/jpeg_header.h"
#include "tools/earcheck/platform.h"

namespace earcheck {

int PackageReport::Count(Severity s) const {
  return static_cast<int>(std::count_if(findings.begin(), findings.end(),
                                        [s](const Finding& f) { return f.severity == s; }));
}

namespace {

constexpr const char* kBasic = "基本情報";
constexpr const char* kCandidate = "受験者情報";
// The launcher's screens: the title screen's width centres the keyed pictures, the
// registration screen's centres its procedure picture.
constexpr int kTitleWidth = 647;
constexpr int kRegistrationWidth = 697;
constexpr long long kFewBytesLeft = 40;

std::string Quote(std::string_view v) { return "「" + std::string(v) + "」"; }

std::string Number(unsigned long long v) { return std::to_string(v); }

std::string Decimal(double v) {
  char b[32];
  std::snprintf(b, sizeof b, "%.3g", v);
  return b;
}

// A blank as the profile reader leaves it inside a value: space, tab, full-width space.
bool IsBlankAt(std::string_view s, std::size_t i) {
  return s[i] == ' ' || s[i] == '\t' ||
         (static_cast<unsigned char>(s[i]) == 0x81 && i + 1 < s.size() &&
          static_cast<unsigned char>(s[i + 1]) == 0x40);
}

bool HasOuterBlank(std::string_view v) {
  if (v.empty()) return false;
  if (IsBlankAt(v, 0)) return true;
  std::size_t last = 0;
  for (std::size_t i = 0; i < v.size(); i += ear::CharLength(v, i)) last = i;
  return IsBlankAt(v, last);
}

// "3" written differently: blanks around it, leading zeros, the full-width digit.
bool LooksLikeThree(std::string_view v) {
  std::string core;
  for (std::size_t i = 0; i < v.size(); i += ear::CharLength(v, i)) {
    if (IsBlankAt(v, i)) continue;
    if (static_cast<unsigned char>(v[i]) == 0x82 && i + 1 < v.size()) {
      const unsigned char t = static_cast<unsigned char>(v[i + 1]);
      if (t >= 0x4F && t <= 0x58) {  // full-width 0-9
        core += static_cast<char>('0' + (t - 0x4F));
        continue;
      }
    }
    core += v.substr(i, ear::CharLength(v, i));
  }
  const std::size_t nz = core.find_first_not_of('0');
  return v != "3" && nz != std::string::npos && core.substr(nz) == "3";
}

// The first character that Windows forbids in a file name, shown; "" when there is none.
std::string ForbiddenChar(std::string_view name) {
  const std::size_t at = ear::FindForbiddenFileNameChar(name);
  if (at == std::string_view::npos) return {};
  const unsigned char c = static_cast<unsigned char>(name[at]);
  if (c < 0x20) return "0x" + std::string(1, "0123456789ABCDEF"[c >> 4]) + "0123456789ABCDEF"[c & 15];
  return std::string(1, static_cast<char>(c));
}

// A coded message of the launcher as its box shows it: without the code, in brackets.
std::string AsShown(const char* codedMessage) { return Quote(codedMessage + 3); }

class Checker {
 public:
  Checker(std::string nativePackage, std::string exePath)
      : nativePackage_(std::move(nativePackage)), paths_(ear::PackagePathsFor(exePath)) {
    report_.nativePath = nativePackage_;
  }

  PackageReport Run(const std::string& actualName) {
    if (actualName != "##TMP##") {
      Add(Severity::Error, "", {},
          "パッケージのフォルダー名が" + Quote(actualName) +
              "です。ランチャーは実行ファイルの横の「##TMP##」だけを使うため、このままではパッケージが見つかりません。");
    }
    CheckSettings();
    CheckPictures();
    CheckExamProgram();
    CheckCandidateFolder();
    std::stable_sort(report_.findings.begin(), report_.findings.end(),
                     [](const Finding& a, const Finding& b) { return a.severity < b.severity; });
    return report_;
  }

 private:
  struct Ini {
    std::string rel;
    std::string text;
    bool present = false;
  };

  void Add(Severity s, const std::string& file, std::optional<std::string> key, std::string message) {
    report_.findings.push_back({s, file, std::move(key), std::move(message)});
  }

  std::string Rel(const std::string& launcherPath) const {
    return launcherPath.substr(std::min(launcherPath.size(), paths_.package.size() + 1));
  }

  // The native path of a path in the package; false when a name has no native form.
  bool Native(const std::string& launcherPath, std::string& native) const {
    native = nativePackage_;
    const std::string rest = Rel(launcherPath);
    std::size_t start = 0;
    while (start < rest.size()) {
      std::size_t end = start;
      while (end < rest.size() && rest[end] != '\\') end += ear::CharLength(rest, end);
      std::string name;
      if (!NativeName(std::string_view(rest).substr(start, end - start), name)) return false;
      native += NativeSeparator();
      native += name;
      start = end + 1;
    }
    return true;
  }

  Kind KindAt(const std::string& launcherPath) const {
    std::string native;
    return Native(launcherPath, native) ? KindOf(native) : Kind::Missing;
  }

  // The whole file through the probe's read-only file layer; false with a message.
  bool ReadWhole(const std::string& launcherPath, std::string& bytes, std::string& problem) const {
    std::string native;
    if (!Native(launcherPath, native)) {
      problem = "名前をこのシステムのファイル名に変換できません。";
      return false;
    }
    try {
      ear::FileReader reader(native);
      bytes.clear();
      char chunk[1 << 16];
      for (;;) {
        const std::size_t got = reader.ReadAt(static_cast<std::int64_t>(bytes.size()), chunk, sizeof chunk);
        bytes.append(chunk, got);
        if (got < sizeof chunk) break;
        if (bytes.size() > kMaxReadBytes) {
          problem = "ファイルが大きすぎます（" + Number(kMaxReadBytes / (1024 * 1024)) + " MiB を超えています）。";
          return false;
        }
      }
      return true;
    } catch (const ear::Error& e) {
      problem = ShowPath(e.Message(), native, launcherPath);
      return false;
    }
  }

  // Messages of the launcher's code name the file as passed in; show the
  // launcher's form of the path there.
  static std::string ShowPath(std::string message, const std::string& native, const std::string& launcher) {
    const std::size_t at = message.find(native);
    if (at != std::string::npos && native != launcher) message.replace(at, native.size(), launcher);
    return message;
  }

  // ---- settings ----

  Ini LoadIni(const std::string& path, const char* name, Severity missingSeverity,
              const std::string& missingMeaning) {
    Ini ini;
    ini.rel = Rel(path);
    const Kind kind = KindAt(path);
    if (kind != Kind::File) {
      const std::string what = kind == Kind::Folder ? " がファイルではなくフォルダーです。" : " がありません。";
      Add(missingSeverity, ini.rel, {}, std::string(name) + what + missingMeaning);
      return ini;
    }
    std::string problem, bytes;
    if (!ReadWhole(path, bytes, problem)) {
      Add(Severity::Error, ini.rel, {}, "読めません: " + problem + " " + missingMeaning);
      return ini;
    }
    ini.present = true;
    ini.text = ear::ProfileText(bytes);
    CheckEncoding(ini, bytes);
    return ini;
  }

  static std::string LineList(const std::vector<int>& lines) {
    std::string list;
    for (std::size_t i = 0; i < lines.size() && i < 10; ++i) list += (i ? ", " : "") + Number(lines[i]);
    if (lines.size() > 10) list += " ほか " + Number(lines.size() - 10) + " 行";
    return list;
  }

  void CheckEncoding(const Ini& ini, std::string_view bytes) {
    switch (ear::DetectIniEncoding(bytes)) {
      case ear::IniEncoding::Utf16:
        Add(Severity::Info, ini.rel, {},
            "UTF-16（BOM 付き）で保存されています。ランチャーは Unicode として読み、値を Shift-JIS に変換して使います（Shift-JIS にない文字は「?」か似た文字になります）。");
        return;
      case ear::IniEncoding::Utf8Bom: {
        // What Windows reads: the mark's three bytes glued to the front of line 1.
        std::string first = ini.text.substr(0, ini.text.find_first_of("\r\n"));
        first.erase(0, first.find_first_not_of(" \t"));
        const std::string lost = first.starts_with("[")
                                     ? "、先頭の BOM（3 バイト）が付いた 1 行目" + Quote(first) +
                                           "はセクションと認められず、そのセクションのキーはすべて空として読まれます。日本語の名前と値も一致しません"
                                     : "、日本語のセクション名、キー名と値が一致しません";
        Add(Severity::Error, ini.rel, {},
            "UTF-8（BOM 付き）で保存されています。Windows の設定読み取り関数は UTF-8 を扱わず Shift-JIS として読むため" + lost +
                "（Wine は UTF-8 として読むため、Wine 上では読めてしまいます）。Shift-JIS で保存してください（メモ帳では文字コード「ANSI」）。");
        return;
      }
      case ear::IniEncoding::ShiftJis:
        break;
    }
    std::vector<int> lines = ear::InvalidShiftJisLines(bytes);
    if (!lines.empty() && LooksLikeUtf8(bytes)) {
      Add(Severity::Error, ini.rel, {},
          "UTF-8 で保存されています（行 " + LineList(lines) +
              "）。ランチャーは Shift-JIS として読むため、日本語のセクション名とキー名が一致せず、値はすべて空になります。Shift-JIS で保存してください。");
      return;
    }
    const std::vector<int> joined = ear::LeadByteAtLineEndLines(bytes);
    if (!joined.empty()) {
      Add(Severity::Warning, ini.rel, {},
          "行 " + LineList(joined) +
              " が 2 バイト文字の 1 バイト目で終わっています。ランチャーは次の改行をその文字の 2 バイト目として読むため、次の行がこの行の続きになり、そこにあるキーやセクションが読まれないことがあります。");
    }
    // Lines named above already have their warning.
    std::erase_if(lines, [&](int n) { return std::find(joined.begin(), joined.end(), n) != joined.end(); });
    if (!lines.empty()) {
      Add(Severity::Warning, ini.rel, {},
          "Shift-JIS として正しくないバイトがあります（行 " + LineList(lines) + "）。その行の文字は化けて読まれます。");
    }
  }

  static bool LooksLikeUtf8(std::string_view t) {
    bool wide = false;
    for (std::size_t i = 0; i < t.size();) {
      const unsigned char c = static_cast<unsigned char>(t[i]);
      std::size_t n = c < 0x80 ? 1 : (c >= 0xC2 && c <= 0xDF) ? 2 : (c >= 0xE0 && c <= 0xEF) ? 3
                                   : (c >= 0xF0 && c <= 0xF4) ? 4 : 0;
      if (n == 0 || i + n > t.size()) return false;
      for (std::size_t k = 1; k < n; ++k) {
        if ((static_cast<unsigned char>(t[i + k]) & 0xC0) != 0x80) return false;
      }
      wide = wide || n > 1;
      i += n;
    }
    return wide;
  }

  // The key's value as the launcher reads it, with warnings on its form.
  std::string Key(const Ini& ini, const char* section, const char* key) {
    const std::optional<std::string> raw = ear::FindIniValue(ini.text, section, key);
    const std::string value = ear::FitIniValue(raw.value_or(""));
    if (raw && raw->size() > ear::kIniBufferSize - 1) {
      Add(Severity::Warning, ini.rel, key,
          "値が " + Number(raw->size()) + " バイトあります。ランチャーは先頭の " + Number(value.size()) +
              " バイトまでしか読みません。");
    }
    if (HasOuterBlank(value)) {
      Add(Severity::Warning, ini.rel, key,
          "値" + Quote(value) + "の前後に空白があります。ランチャーは空白も値の一部として使います。");
    }
    return value;
  }

  void CheckSettings() {
    Ini system = LoadIni(paths_.systemIni, "system.ini", Severity::Error,
                         "ランチャーは試験名、画像、モードなどのキーをすべて空として読みます（氏名モード、試験名と画像なし）。");
    Ini setup = LoadIni(paths_.setupIni, "setup.ini", Severity::Error,
                        "受験タイプと部種名称は空として読まれ、標準のレイアウトで表示し、試験プログラムを「[1].exe」として探します。");
    const std::string shikenRel = Rel(paths_.shikenIni);
    const Kind shikenKind = KindAt(paths_.shikenIni);
    Ini shiken;
    if (shikenKind == Kind::Missing) {
      Add(Severity::Info, shikenRel, {}, "shiken.ini はありません。登録のときにランチャーが作成します。");
    } else {
      shiken = LoadIni(paths_.shikenIni, "shiken.ini", Severity::Error,
                       "登録のときに受験者情報を書き込めず、「E11システム情報の書き込みに失敗しました。」が表示されます。");
    }

    // The launcher's reading, with the warnings on each value's form as it is read.
    settings_ = ear::ReadPackageSettings([&](ear::SettingsFile file, const char* section, const char* key) {
      return Key(file == ear::SettingsFile::System ? system : setup, section, key);
    });
    const ear::TitleTexts& title = settings_.title;
    const std::string& abb = settings_.abb;
    const std::string& kyu = title.gradeName;
    const std::string& devCode = settings_.devCode;
    const std::string& fileName = settings_.fileName;
    const std::string& bushu = settings_.examKindName;
    report_.examType = settings_.examType;
    report_.venueMode = settings_.Mode() == ear::RegistrationMode::Venue;

    const std::string& sys = system.rel;
    if (!abb.empty()) {
      Add(Severity::Info, sys, "ABB", "値" + Quote(abb) + ": 会場モードです。受験者は会場コードと受験番号を入力します。");
    } else {
      Add(Severity::Info, sys, "ABB", "値が空: 氏名モードです。受験者は姓と名を入力します。");
    }
    if (title.examPictureExt.empty()) {
      if (title.examName.empty()) {
        Add(Severity::Warning, sys, "試験名", "値が空で、試験画像拡張子も空です。タイトル画面に試験名が表示されません。");
      } else {
        Add(Severity::Info, sys, "試験名", "タイトル画面に試験名" + Quote(title.examName) + "を文字で表示します。");
      }
    } else {
      Add(Severity::Info, sys, "試験名",
          "試験画像を表示するため、試験名" + Quote(title.examName) + "は表示されません。");
    }
    if (title.gradePictureExt.empty()) {
      if (kyu.empty()) {
        Add(Severity::Info, sys, "級名", "値が空で、級TOP画像拡張子も空です。級は表示されません。");
      } else {
        Add(Severity::Info, sys, "級名", "級名" + Quote(kyu) + "を文字で表示します（1 文字目と 2 文字目以降を別々に）。");
      }
    } else {
      Add(Severity::Info, sys, "級名", "級の画像を表示するため、級名" + Quote(kyu) + "は表示されません。");
    }
    if (!fileName.empty()) {
      Add(Severity::Info, sys, "ファイル名称",
          "値" + Quote(fileName) + "をタイトル画面に表示し、受験者フォルダー名の先頭に使います（開発コードは使いません）。");
      if (!devCode.empty()) {
        Add(Severity::Info, sys, "開発コード", "値" + Quote(devCode) + "はファイル名称があるため使われません。");
      }
    } else if (!devCode.empty()) {
      Add(Severity::Info, sys, "開発コード",
          "ファイル名称が空のため、値" + Quote(devCode) + "をタイトル画面に表示し、受験者フォルダー名の先頭に使います。");
    }
    const std::string& set = setup.rel;
    if (settings_.AlternativeLayout()) {
      Add(Severity::Info, set, "受験タイプ", "値「3」: 各画面を別のレイアウト（受験タイプ 3 の案内と著作権表示）で表示します。");
    } else if (LooksLikeThree(report_.examType)) {
      Add(Severity::Warning, set, "受験タイプ",
          "値" + Quote(report_.examType) + "は「3」と完全には一致しないため、受験タイプ 3 のレイアウトにはならず、標準のレイアウトで表示します。");
    } else {
      Add(Severity::Info, set, "受験タイプ", "値" + Quote(report_.examType) + ": 標準のレイアウトで表示します。");
    }
    if (bushu.empty()) {
      Add(Severity::Warning, set, "部種名称", "値が空です。ランチャーは試験プログラムを「[1].exe」として探します。");
    } else if (ear::HasForbiddenFileNameChar(bushu)) {
      Add(Severity::Error, set, "部種名称",
          "試験プログラムの名前になる値" + Quote(bushu) + "に、Windows のファイル名に使えない文字「" + ForbiddenChar(bushu) +
              "」があります。ランチャーは登録のときに何も変更せずに" + AsShown(ear::kMsgDeployFailed) +
              "を表示し、試験は始まりません。");
    } else {
      Add(Severity::Info, set, "部種名称", "試験プログラムは「[1]" + bushu + ".exe」です。");
    }
    if (shiken.present) {
      bool leftover = false;
      for (const char* key : {"会場コード", "受験番号", "姓", "名"}) {
        const std::string v = ear::FitIniValue(ear::FindIniValue(shiken.text, kCandidate, key).value_or(""));
        if (v.empty()) continue;
        leftover = true;
        Add(Severity::Warning, shiken.rel, std::string(key),
            "前の受験者の値" + Quote(v) + "が残っています。登録のときに上書きされますが、配布するパッケージには不要です。");
      }
      if (!leftover) {
        Add(Severity::Info, shiken.rel, {}, "登録のときにランチャーが受験者情報を書き込みます。");
      }
    }
  }

  // ---- pictures ----

  struct Picture {
    std::string name;          // file name in the picture folder
    std::optional<std::string> key;  // the extension key that names it
    Severity missingSeverity;
    std::string missingMeaning;  // what the screen shows without it
    std::string badMeaning;      // what the screen does when it cannot load it
    bool probed;                 // the launcher runs the size probe on it
  };

  // Checks presence, the probe and the decoder; returns true with the size when known.
  bool CheckPicture(const Picture& p, std::uint32_t& width, std::uint32_t& height) {
    const std::string path = paths_.imageFolder + p.name;
    const std::string rel = Rel(path);
    const Kind kind = KindAt(path);
    if (kind == Kind::Missing || kind == Kind::Folder) {
      const std::string what = kind == Kind::Folder ? "がファイルではなくフォルダーです（ランチャーにはないのと同じです）。"
                                                    : "がありません。";
      Add(p.missingSeverity, rel, p.key, Quote(p.name) + what + p.missingMeaning);
      return false;
    }
    width = height = 0;
    bool sized = false;
    std::string native;
    Native(path, native);
    if (p.probed) {
      try {
        ear::GetDimension(native, width, height);
        sized = true;
      } catch (const ear::Error& e) {
        Add(Severity::Error, rel, p.key,
            "ランチャーの画像サイズ取得がこのエラーを表示し、画面の準備がそこで止まります: " +
                ShowPath(e.Message(), native, path));
        return false;
      }
    }
    if (ear::PictureExtension(p.name) != ".jpg") return sized;
    std::string bytes, problem;
    if (!ReadWhole(path, bytes, problem)) {
      Add(Severity::Error, rel, p.key, "読めません: " + problem + " " + p.badMeaning);
      return false;
    }
    unsigned w = 0, h = 0;
    if (!JpegFrameSize(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), w, h)) {
      // The header alone fails: the decoder stops there too and gives libjpeg's reason.
      try {
        ear::DecodeJpeg(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
      } catch (const ear::Error& e) {
        Add(Severity::Error, rel, p.key, "JPEG として読めません（" + e.Message() + "）。" + p.badMeaning);
        return false;
      }
      Add(Severity::Error, rel, p.key, "JPEG として読めません。" + p.badMeaning);
      return false;
    }
    if (static_cast<unsigned long long>(w) * h > kMaxDecodePixels) {
      Add(Severity::Error, rel, p.key,
          "画像が大きすぎます（" + Number(w) + " × " + Number(h) +
              " ピクセル）。表示に大量のメモリーが必要で、読み込みに失敗するおそれがあります。検査では復号しません。");
      return false;
    }
    try {
      const ear::DecodedImage image =
          ear::DecodeJpeg(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
      if (!sized) {
        width = static_cast<std::uint32_t>(image.width);
        height = static_cast<std::uint32_t>(image.height);
      }
    } catch (const ear::Error& e) {
      Add(Severity::Error, rel, p.key, "JPEG として読めません（" + e.Message() + "）。" + p.badMeaning);
      return false;
    }
    return true;
  }

  void CheckPictures() {
    std::uint32_t w = 0, h = 0;
    CheckPicture({"bg.jpg", {}, Severity::Warning,
                  "背景の画面は塗られず、緑の枠だけが表示されます（メッセージは出ません）。",
                  "背景の画面は塗られず、緑の枠だけが表示されます（メッセージは出ません）。", false},
                 w, h);
    CheckPicture({"bg_main_top.jpg", {}, Severity::Warning,
                  "各画面の上部の帯は塗られず、緑の枠だけが表示されます（メッセージは出ません）。",
                  "各画面の上部の帯は塗られず、緑の枠だけが表示されます（メッセージは出ません）。", false},
                 w, h);
    const std::string procRel = Rel(paths_.imageFolder + "bg_procedure.jpg");
    if (CheckPicture({"bg_procedure.jpg", {}, Severity::Error,
                      "手順確認画面でエラーが表示され、手順の画像は空のままになり、角も丸くなりません。",
                      "手順確認画面でエラーが表示され、手順の画像は空のままになります。", false},
                     w, h)) {
      if (w > 832 || h > 558) {
        Add(Severity::Warning, procRel, {},
            "画像は " + Number(w) + " × " + Number(h) + " です。手順確認画面は左上の 832 × 558 だけを表示し、残りは切れます。");
      } else {
        Add(Severity::Info, procRel, {},
            "画像は " + Number(w) + " × " + Number(h) + " です。手順確認画面の 832 × 558 の枠の左上に表示します。");
      }
    }
    const std::string p01Rel = Rel(paths_.imageFolder + "procedure01.jpg");
    if (CheckPicture({"procedure01.jpg", {}, Severity::Info,
                      "受験者登録画面に手順の画像は表示されません（メッセージは出ません）。",
                      "受験者登録画面でエラーが表示されます。", true},
                     w, h)) {
      const std::int64_t left = ear::RoundHalfEven((kRegistrationWidth - static_cast<double>(w)) / 2);
      std::string msg = "画像は " + Number(w) + " × " + Number(h) + " です。受験者登録画面で左端 " +
                        std::to_string(left) + " に中央揃えで表示します。";
      if (w > 683 || h > 59) {
        Add(Severity::Warning, p01Rel, {}, msg + "表示枠は 683 × 59 なので、はみ出した部分は切れます。");
      } else {
        Add(Severity::Info, p01Rel, {}, msg);
      }
    }
    KeyedPicture("ShikenImage", "試験画像拡張子", settings_.title.examPictureExt, 439, 20, true, Severity::Error,
                     "試験名のラベルは隠されるため、試験名は画像でも文字でも表示されません。メーカーのロゴは中央に揃います。");
    KeyedPicture("MakerImage", "メーカー画像拡張子", settings_.title.makerPictureExt, 219, 17, false, Severity::Warning,
                 "メーカーのロゴは表示されません（メッセージは出ません）。");
    KeyedPicture("KyuTopImage", "級TOP画像拡張子", settings_.title.gradePictureExt, 100, 30, true, Severity::Error,
                 "級のラベルは隠されるため、級は画像でも文字でも表示されません。");
  }

  // A picture drawn with white transparent into a box on the title screen.
  void KeyedPicture(const char* stem, const char* key, const std::string& ext, int boxW, int boxH,
                            bool centred, Severity missingSeverity, const std::string& missingMeaning) {
    const std::string name = std::string(stem) + ext;
    const std::string sys = Rel(paths_.systemIni);
    if (ext.empty()) {
      Add(Severity::Info, sys, std::string(key), "値が空: 「" + std::string(stem) + "」の画像は使いません。");
      return;
    }
    if (ext[0] != '.') {
      Add(Severity::Error, sys, std::string(key),
          "値" + Quote(ext) + "が「.」で始まっていません。ランチャーは拡張子を名前にそのまま付けるので「" + name +
              "」を探します（「" + stem + "." + ext + "」ではありません）。");
      if (KindAt(paths_.imageFolder + name) != Kind::File) return;  // no second finding for the same fault
    }
    std::uint32_t w = 0, h = 0;
    if (!CheckPicture({name, std::string(key), missingSeverity, missingMeaning,
                       "画像は描かれません（メッセージは出ません）。", true},
                      w, h)) {
      return;
    }
    const double s = std::min(static_cast<double>(boxW) / w, static_cast<double>(boxH) / h);
    const double dw = w * s, dh = h * s;
    std::string msg = "画像は " + Number(w) + " × " + Number(h) + " です。タイトル画面の " + Number(boxW) + " × " +
                      Number(boxH) + " の枠に合わせて " + Decimal(dw) + " × " + Decimal(dh) + "（倍率 " +
                      Decimal(s) + "）で描き、白は透明になります。";
    if (ear::RoundHalfEven(dw) == 0 || ear::RoundHalfEven(dh) == 0) {
      Add(Severity::Warning, Rel(paths_.imageFolder + name), std::string(key),
          msg + "1 ピクセルに満たない幅か高さで描かれるため、ほとんど見えません。");
      return;
    }
    if (centred) {
      const std::int64_t left = ear::RoundHalfEven(static_cast<double>(kTitleWidth - ear::RoundHalfEven(dw)) / 2);
      msg += "左端は " + std::to_string(left) + " です。";
    } else {
      msg += "左端は試験名の左端に揃えます。";
    }
    Add(Severity::Info, Rel(paths_.imageFolder + name), std::string(key), msg);
  }

  // ---- exam program ----

  void CheckExamProgram() {
    // A name that would lead out of the package is refused by the launcher (see CheckSettings).
    if (ear::HasForbiddenFileNameChar(settings_.examKindName)) return;
    const std::string path = ear::ExamProgramPath(paths_, settings_.examKindName);
    const std::string rel = Rel(path);
    const std::string failure = "登録の後に「受験プログラムの展開に失敗しました。」が表示され、試験は始まりません。";
    const Kind kind = KindAt(path);
    if (kind != Kind::File) {
      Add(Severity::Error, rel, "部種名称",
          Quote(rel) + (kind == Kind::Folder ? "がファイルではなくフォルダーです。" : "がありません。") + failure);
      return;
    }
    std::string native;
    Native(path, native);
    try {
      ear::FileReader reader(native);
      unsigned char dos[64] = {};
      const bool mz = reader.ReadAt(0, dos, sizeof dos) == sizeof dos && dos[0] == 'M' && dos[1] == 'Z';
      const std::uint32_t peAt = dos[60] | dos[61] << 8 | dos[62] << 16 | static_cast<std::uint32_t>(dos[63]) << 24;
      unsigned char pe[24 + 72] = {};
      const bool peOk = mz && reader.ReadAt(peAt, pe, sizeof pe) == sizeof pe && pe[0] == 'P' && pe[1] == 'E' &&
                        pe[2] == 0 && pe[3] == 0;
      if (!peOk) {
        Add(Severity::Error, rel, {},
            std::string("Windows の実行ファイルではありません（") + (mz ? "PE ヘッダーがありません" : "先頭が「MZ」ではありません") +
                "）。ランチャーが起動しても試験は始まりません。");
        return;
      }
      const unsigned machine = pe[4] | pe[5] << 8;
      const unsigned magic = pe[24] | pe[25] << 8;
      const unsigned subsystem = pe[24 + 68] | pe[24 + 69] << 8;
      std::string arch = machine == 0x14C ? "x86（32 ビット）" : machine == 0x8664 ? "x64（64 ビット）"
                       : machine == 0xAA64 ? "ARM64" : "不明なマシン 0x" + Hex(machine);
      std::string sub = subsystem == 2 ? "Windows GUI" : subsystem == 3 ? "コンソール"
                      : "サブシステム " + Number(subsystem);
      if (magic != 0x10B && magic != 0x20B) sub = "サブシステム不明";
      std::string msg = "Windows の実行ファイルです: " + arch + "、" + sub + "。";
      if (subsystem == 3) msg += "ランチャーは「frmJPBG0010」という題のウィンドウが現れるまで待ちます。";
      if (machine == 0x8664) msg += "64 ビット版の Windows でだけ動きます。";
      Add(Severity::Info, rel, {}, msg);
    } catch (const ear::Error& e) {
      Add(Severity::Error, rel, {}, "読めません: " + ShowPath(e.Message(), native, path));
    }
  }

  static std::string Hex(unsigned v) {
    char b[16];
    std::snprintf(b, sizeof b, "%04X", v);
    return b;
  }

  // ---- candidate folder ----

  void CheckCandidateFolder() {
    const std::string sys = Rel(paths_.systemIni);
    const std::string prefix(settings_.Prefix());
    if (prefix.empty()) {
      Add(Severity::Warning, sys, "ファイル名称",
          "ファイル名称も開発コードも空です。受験者フォルダー名は受験者の入力から始まり、どの試験のものか分かりません。");
    } else if (const std::string bad = ForbiddenChar(prefix); !bad.empty()) {
      Add(Severity::Error, sys, std::string(settings_.PrefixKey()),
          "受験者フォルダー名の先頭になる値" + Quote(prefix) + "に、Windows のファイル名に使えない文字「" + bad +
              "」があります。ランチャーは登録のときに何も変更せずに" + AsShown(ear::kMsgDeployFailed) +
              "を表示し、試験は始まりません。");
    }
    // The launcher's own limit: the longest path in the candidate folder, exam program or
    // settings file, within 259 bytes.
    const long long left = ear::BytesLeftForValues(paths_.parentFolder, settings_);
    const bool venue = report_.venueMode;
    const std::string what = venue ? "会場コードと受験番号" : "姓と名";
    const std::string msg = "この場所（" + paths_.parentFolder + "）では、受験者フォルダーの中のパス（試験プログラムと設定ファイル）が " +
                            Number(ear::kMaxPathBytes) + " バイトに収まるよう、受験者の入力（" + what + "）に合わせて " +
                            std::to_string(std::max(0LL, left)) + " バイト使えます。";
    // The shortest entries: a 5-byte venue code and a 1-byte number, or two 1-byte names.
    const long long shortest = venue ? 6 : 2;
    if (left < shortest) {
      Add(Severity::Error, "", {},
          msg + "どの入力でもランチャーは" + AsShown(venue ? ear::kMsgDeployFailed : ear::kMsgNameTooLong) +
              "を表示し、試験は始まりません。パッケージを浅いフォルダーに置いてください。");
    } else if (left < kFewBytesLeft) {
      Add(Severity::Warning, "", {}, msg + "少なすぎるため、長い入力では試験が始まりません。パッケージを浅いフォルダーに置いてください。");
    } else {
      Add(Severity::Info, "", {}, msg);
    }
  }

  std::string nativePackage_;
  ear::PackagePaths paths_;
  PackageReport report_;
  ear::PackageSettings settings_;
};

}  // namespace

std::optional<PackageReport> CheckPath(const std::string& nativePath) {
  const std::string full = FullPath(nativePath);
  const std::string sep(1, NativeSeparator());
  const std::string joint = full.back() == NativeSeparator() ? "" : sep;
  std::string package;
  if (KindOf(full + joint + "##TMP##" + sep + "system") == Kind::Folder) {
    package = full + joint + "##TMP##";
  } else if (KindOf(full + joint + "system") == Kind::Folder) {
    package = full;
  } else {
    return std::nullopt;
  }
  // The launcher's view: an executable beside the package folder.
  const std::string launcherPackage = LauncherForm(package);
  const std::size_t cut = ear::LastSeparator(launcherPackage);
  const std::string folder = cut == std::string::npos ? std::string() : launcherPackage.substr(0, cut + 1);
  const std::string name = cut == std::string::npos ? launcherPackage : launcherPackage.substr(cut + 1);
  Checker checker(package, folder + "ExamAutoRunner.exe");
  return checker.Run(name);
}

}  // namespace earcheck
