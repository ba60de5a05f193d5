#include "tools/earcheck/rules.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "base/rounding.h"
#include "base/sjis.h"
#include "package/candidate_folder.h"
#include "package/ini.h"
#include "package/ini_parse.h"
#include "package/package_pictures.h"
#include "package/paths.h"
#include "screens/registration_ok.h"
#include "screens/registration_rules.h"

namespace earcheck {

int PackageReport::Count(Severity s) const {
  return static_cast<int>(std::count_if(findings.begin(), findings.end(),
                                        [s](const Finding& f) { return f.severity == s; }));
}

namespace {

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

// The launcher's screens as the report names them.
std::string ScreenName(unsigned takers) {
  if (takers & ear::kTitle) return "タイトル画面";
  if (takers & ear::kProcedure) return "手順確認画面";
  if (takers & ear::kRegistration) return "受験者登録画面";
  return "背景の画面";
}

FindingKind MissingKind(ear::WhenMissing missing) {
  switch (missing) {
    case ear::WhenMissing::ErrorBox: return FindingKind::PictureMissingErrorBox;
    case ear::WhenMissing::HidesText: return FindingKind::PictureMissingTextHidden;
    case ear::WhenMissing::Optional: return FindingKind::PictureMissingOptional;
    case ear::WhenMissing::Silent: break;
  }
  return FindingKind::PictureMissingSilent;
}

// The settings file's name and what the launcher does without it; empty: no file is needed.
struct SettingsFileMeaning {
  const char* name;
  const char* missing;
};

SettingsFileMeaning MeaningOf(ear::SettingsFile file) {
  switch (file) {
    case ear::SettingsFile::System:
      return {"system.ini", "ランチャーは試験名、画像、モードなどのキーをすべて空として読みます（氏名モード、試験名と画像なし）。"};
    case ear::SettingsFile::Setup:
      return {"setup.ini", "受験タイプと部種名称は空として読まれ、標準のレイアウトで表示し、試験プログラムを「[1].exe」として探します。"};
    case ear::SettingsFile::Shiken: break;
  }
  return {"shiken.ini", "登録のときに受験者情報を書き込めず、「E11システム情報の書き込みに失敗しました。」が表示されます。"};
}

// The profile text of a settings file held whole; empty for one that was not read.
std::string ProfileTextOf(const SettingsFileFacts& file) {
  return file.kind == Kind::File && file.read ? ear::ProfileText(file.bytes) : std::string();
}

class Rules {
 public:
  explicit Rules(const PackageFacts& package) : package_(package), paths_(ear::PackagePathsFor(package.exePath)) {
    report_.nativePath = package.nativePath;
  }

  PackageReport Run() {
    if (package_.folderName != "##TMP##") {
      Add(FindingKind::PackageFolderName, "", {},
          "パッケージのフォルダー名が" + Quote(package_.folderName) +
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

  void Add(FindingKind kind, const std::string& file, std::optional<std::string> key, std::string message) {
    report_.findings.push_back({RowOf(kind).severity, file, std::move(key), std::move(message), kind});
  }

  std::string Rel(const std::string& launcherPath) const {
    return launcherPath.substr(std::min(launcherPath.size(), paths_.package.size() + 1));
  }

  // ---- settings ----

  Ini LoadIni(ear::SettingsFile which) {
    const SettingsFileFacts& file = package_.settingsFiles[static_cast<int>(which)];
    const SettingsFileMeaning meaning = MeaningOf(which);
    Ini ini;
    ini.rel = ear::SettingsFileInPackage(which);
    if (file.kind != Kind::File) {
      const std::string what = file.kind == Kind::Folder ? " がファイルではなくフォルダーです。" : " がありません。";
      Add(FindingKind::SettingsFileMissing, ini.rel, {}, std::string(meaning.name) + what + meaning.missing);
      return ini;
    }
    if (!file.read) {
      Add(FindingKind::SettingsFileUnreadable, ini.rel, {}, "読めません: " + file.problem + " " + meaning.missing);
      return ini;
    }
    ini.present = true;
    ini.text = ProfileTextOf(file);
    CheckEncoding(ini, file.bytes);
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
        Add(FindingKind::IniUtf16, ini.rel, {},
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
        Add(FindingKind::IniUtf8Bom, ini.rel, {},
            "UTF-8（BOM 付き）で保存されています。Windows の設定読み取り関数は UTF-8 を扱わず Shift-JIS として読むため" + lost +
                "（Wine は UTF-8 として読むため、Wine 上では読めてしまいます）。Shift-JIS で保存してください（メモ帳では文字コード「ANSI」）。");
        return;
      }
      case ear::IniEncoding::ShiftJis:
        break;
    }
    std::vector<int> lines = ear::InvalidShiftJisLines(bytes);
    if (!lines.empty() && LooksLikeUtf8(bytes)) {
      Add(FindingKind::IniUtf8, ini.rel, {},
          "UTF-8 で保存されています（行 " + LineList(lines) +
              "）。ランチャーは Shift-JIS として読むため、日本語のセクション名とキー名が一致せず、値はすべて空になります。Shift-JIS で保存してください。");
      return;
    }
    const std::vector<int> joined = ear::LeadByteAtLineEndLines(bytes);
    if (!joined.empty()) {
      Add(FindingKind::IniLeadByteAtLineEnd, ini.rel, {},
          "行 " + LineList(joined) +
              " が 2 バイト文字の 1 バイト目で終わっています。ランチャーは次の改行をその文字の 2 バイト目として読むため、次の行がこの行の続きになり、そこにあるキーやセクションが読まれないことがあります。");
    }
    // Lines named above already have their warning.
    std::erase_if(lines, [&](int n) { return std::find(joined.begin(), joined.end(), n) != joined.end(); });
    if (!lines.empty()) {
      Add(FindingKind::IniInvalidShiftJis, ini.rel, {},
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
      Add(FindingKind::ValueCut, ini.rel, key,
          "値が " + Number(raw->size()) + " バイトあります。ランチャーは先頭の " + Number(value.size()) +
              " バイトまでしか読みません。");
    }
    if (HasOuterBlank(value)) {
      Add(FindingKind::ValueOuterBlank, ini.rel, key,
          "値" + Quote(value) + "の前後に空白があります。ランチャーは空白も値の一部として使います。");
    }
    return value;
  }

  void CheckSettings() {
    files_[0] = LoadIni(ear::SettingsFile::System);
    files_[1] = LoadIni(ear::SettingsFile::Setup);
    if (package_.settingsFiles[static_cast<int>(ear::SettingsFile::Shiken)].kind == Kind::Missing) {
      Add(FindingKind::ShikenIniAbsent, ear::SettingsFileInPackage(ear::SettingsFile::Shiken), {},
          "shiken.ini はありません。登録のときにランチャーが作成します。");
    } else {
      files_[2] = LoadIni(ear::SettingsFile::Shiken);
    }
    // The launcher's reading, with the warnings on each value's form as it is read.
    settings_ = ear::ReadPackageSettings([&](ear::SettingsFile file, const char* section, const char* key) {
      return Key(files_[static_cast<int>(file)], section, key);
    });
    report_.examType = settings_.examType;
    report_.venueMode = settings_.Mode() == ear::RegistrationMode::Venue;
    CheckMode();
    CheckTitleTexts();
    CheckExamType();
    CheckExamKindName();
    CheckLeftOverCandidate();
  }

  void CheckMode() {
    const std::string& sys = files_[0].rel;
    const char* abbKey = ear::kAbbKey.key;
    if (!settings_.abb.empty()) {
      Add(FindingKind::ModeVenue, sys, abbKey,
          "値" + Quote(settings_.abb) + ": 会場モードです。受験者は会場コードと受験番号を入力します。");
    } else {
      Add(FindingKind::ModeName, sys, abbKey, "値が空: 氏名モードです。受験者は姓と名を入力します。");
    }
  }

  // The exam name, the grade and the file name or development code of the title screen.
  void CheckTitleTexts() {
    const ear::TitleTexts& title = settings_.title;
    const std::string& sys = files_[0].rel;
    const char* nameKey = ear::kExamNameKey.key;
    if (title.examPictureExt.empty()) {
      if (title.examName.empty()) {
        Add(FindingKind::ExamNameEmpty, sys, nameKey, "値が空で、試験画像拡張子も空です。タイトル画面に試験名が表示されません。");
      } else {
        Add(FindingKind::ExamNameAsText, sys, nameKey, "タイトル画面に試験名" + Quote(title.examName) + "を文字で表示します。");
      }
    } else {
      Add(FindingKind::ExamNameReplacedByPicture, sys, nameKey,
          "試験画像を表示するため、試験名" + Quote(title.examName) + "は表示されません。");
    }
    const std::string& kyu = title.gradeName;
    const char* gradeKey = ear::kGradeNameKey.key;
    if (title.gradePictureExt.empty()) {
      if (kyu.empty()) {
        Add(FindingKind::GradeEmpty, sys, gradeKey, "値が空で、級TOP画像拡張子も空です。級は表示されません。");
      } else {
        Add(FindingKind::GradeAsText, sys, gradeKey, "級名" + Quote(kyu) + "を文字で表示します（1 文字目と 2 文字目以降を別々に）。");
      }
    } else {
      Add(FindingKind::GradeReplacedByPicture, sys, gradeKey, "級の画像を表示するため、級名" + Quote(kyu) + "は表示されません。");
    }
    const std::string& devCode = settings_.devCode;
    const char* devKey = ear::kDevCodeKey.key;
    if (!settings_.fileName.empty()) {
      Add(FindingKind::FileNameUsed, sys, ear::kFileNameKey.key,
          "値" + Quote(settings_.fileName) + "をタイトル画面に表示し、受験者フォルダー名の先頭に使います（開発コードは使いません）。");
      if (!devCode.empty()) {
        Add(FindingKind::DevCodeUnused, sys, devKey, "値" + Quote(devCode) + "はファイル名称があるため使われません。");
      }
    } else if (!devCode.empty()) {
      Add(FindingKind::DevCodeUsed, sys, devKey,
          "ファイル名称が空のため、値" + Quote(devCode) + "をタイトル画面に表示し、受験者フォルダー名の先頭に使います。");
    }
  }

  void CheckExamType() {
    const std::string& set = files_[1].rel;
    const char* typeKey = ear::kExamTypeKey.key;
    if (settings_.AlternativeLayout()) {
      Add(FindingKind::ExamTypeAlternative, set, typeKey, "値「3」: 各画面を別のレイアウト（受験タイプ 3 の案内と著作権表示）で表示します。");
    } else if (LooksLikeThree(report_.examType)) {
      Add(FindingKind::ExamTypeNearThree, set, typeKey,
          "値" + Quote(report_.examType) + "は「3」と完全には一致しないため、受験タイプ 3 のレイアウトにはならず、標準のレイアウトで表示します。");
    } else {
      Add(FindingKind::ExamTypeStandard, set, typeKey, "値" + Quote(report_.examType) + ": 標準のレイアウトで表示します。");
    }
  }

  void CheckExamKindName() {
    const std::string& set = files_[1].rel;
    const std::string& bushu = settings_.examKindName;
    const char* kindKey = ear::kExamKindNameKey.key;
    if (bushu.empty()) {
      Add(FindingKind::ExamKindNameEmpty, set, kindKey, "値が空です。ランチャーは試験プログラムを「[1].exe」として探します。");
    } else if (ear::HasForbiddenFileNameChar(bushu)) {
      Add(FindingKind::ExamKindNameForbiddenChar, set, kindKey,
          "試験プログラムの名前になる値" + Quote(bushu) + "に、Windows のファイル名に使えない文字「" + ForbiddenChar(bushu) +
              "」があります。ランチャーは登録のときに何も変更せずに" + AsShown(ear::kMsgDeployFailed) +
              "を表示し、試験は始まりません。");
    } else {
      Add(FindingKind::ExamProgramName, set, kindKey, "試験プログラムは「[1]" + bushu + ".exe」です。");
    }
  }

  // What the hand-over writes into shiken.ini, left there by an earlier candidate.
  void CheckLeftOverCandidate() {
    const Ini& shiken = files_[2];
    if (!shiken.present) return;
    bool leftover = false;
    for (const ear::SettingKey& row : ear::kSettingKeys) {
      if (row.Read() || row.file != ear::SettingsFile::Shiken) continue;
      const std::string v = ear::FitIniValue(ear::FindIniValue(shiken.text, row.section, row.key).value_or(""));
      if (v.empty()) continue;
      leftover = true;
      Add(FindingKind::CandidateValueLeftOver, shiken.rel, std::string(row.key),
          "前の受験者の値" + Quote(v) + "が残っています。登録のときに上書きされますが、配布するパッケージには不要です。");
    }
    if (!leftover) {
      Add(FindingKind::CandidateSectionReady, shiken.rel, {}, "登録のときにランチャーが受験者情報を書き込みます。");
    }
  }

  // ---- pictures ----

  // Presence, the probe and the decoder, with the row's words for what the candidate sees;
  // true with the size when it is known.
  bool CheckPicture(const ear::PackagePicture& row, const std::string& name, std::uint32_t& width,
                    std::uint32_t& height) {
    const std::string rel = Rel(paths_.imageFolder + name);
    const std::optional<std::string> key =
        row.extKey ? std::optional<std::string>(row.extKey->key) : std::nullopt;
    const auto found = package_.pictures.find(name);
    const PictureFacts none;
    const PictureFacts& p = found == package_.pictures.end() ? none : found->second;
    if (p.kind == Kind::Missing || p.kind == Kind::Folder) {
      const std::string what = p.kind == Kind::Folder ? "がファイルではなくフォルダーです（ランチャーにはないのと同じです）。"
                                                      : "がありません。";
      Add(MissingKind(row.missing), rel, key, Quote(name) + what + row.whenMissing);
      return false;
    }
    width = height = 0;
    bool sized = false;
    if (row.Probed()) {
      if (p.probeFailed) {
        Add(FindingKind::PictureProbeError, rel, key,
            "ランチャーの画像サイズ取得がこのエラーを表示し、画面の準備がそこで止まります: " + p.probeError);
        return false;
      }
      width = p.probedWidth;
      height = p.probedHeight;
      sized = true;
    }
    switch (p.jpeg) {
      case PictureFacts::Jpeg::NotJpeg:
        return sized;
      case PictureFacts::Jpeg::Unread:
        Add(FindingKind::PictureUnreadable, rel, key, "読めません: " + p.jpegMessage + " " + row.whenBroken);
        return false;
      case PictureFacts::Jpeg::NoFrame:
        Add(FindingKind::PictureNotJpeg, rel, key,
            p.jpegMessage.empty() ? "JPEG として読めません。" + std::string(row.whenBroken)
                                  : "JPEG として読めません（" + p.jpegMessage + "）。" + row.whenBroken);
        return false;
      case PictureFacts::Jpeg::TooLarge:
        Add(FindingKind::PictureTooLarge, rel, key,
            "画像が大きすぎます（" + Number(p.jpegWidth) + " × " + Number(p.jpegHeight) +
                " ピクセル）。表示に大量のメモリーが必要で、読み込みに失敗するおそれがあります。検査では復号しません。");
        return false;
      case PictureFacts::Jpeg::DecodeFailed:
        Add(FindingKind::PictureNotJpeg, rel, key, "JPEG として読めません（" + p.jpegMessage + "）。" + row.whenBroken);
        return false;
      case PictureFacts::Jpeg::Decoded:
        break;
    }
    if (!sized) {
      width = p.jpegWidth;
      height = p.jpegHeight;
    }
    return true;
  }

  void CheckPictures() {
    for (const ear::PackagePicture& row : ear::kPackagePictures) {
      if (row.extKey && !CheckExtension(row)) continue;
      const std::string name = ear::PictureFileName(row, settings_).value_or(row.name);
      std::uint32_t w = 0, h = 0;
      if (!CheckPicture(row, name, w, h)) continue;
      const std::string rel = Rel(paths_.imageFolder + name);
      const std::string size = "画像は " + Number(w) + " × " + Number(h) + " です。";
      const std::string box = Number(row.box.width) + " × " + Number(row.box.height);
      const bool cut = w > static_cast<std::uint32_t>(row.box.width) || h > static_cast<std::uint32_t>(row.box.height);
      switch (row.placement) {
        case ear::Placement::Tiled:
          break;
        case ear::Placement::TopLeftCut:
          if (cut) {
            Add(FindingKind::PictureCutAtBox, rel, {},
                size + ScreenName(row.takers) + "は左上の " + box + " だけを表示し、残りは切れます。");
          } else {
            Add(FindingKind::PicturePlaced, rel, {}, size + ScreenName(row.takers) + "の " + box + " の枠の左上に表示します。");
          }
          break;
        case ear::Placement::CentredCut: {
          const std::int64_t left = ear::RoundHalfEven((row.centreOn - static_cast<double>(w)) / 2);
          const std::string msg = size + ScreenName(row.takers) + "で左端 " + std::to_string(left) + " に中央揃えで表示します。";
          if (cut) {
            Add(FindingKind::PictureCutAtBox, rel, {}, msg + "表示枠は " + box + " なので、はみ出した部分は切れます。");
          } else {
            Add(FindingKind::PicturePlaced, rel, {}, msg);
          }
          break;
        }
        case ear::Placement::KeyedScaled:
          KeyedPicture(row, rel, size, w, h);
          break;
      }
    }
  }

  // The extension key's value; false when the launcher does not look for the picture at all
  // or the finding on the value says all.
  bool CheckExtension(const ear::PackagePicture& row) {
    const std::string& ext = ear::PictureExtValue(row, settings_);
    const std::string sys = ear::SettingsFileInPackage(row.extKey->file);
    const std::string key = row.extKey->key;
    if (ext.empty()) {
      Add(FindingKind::PictureExtEmpty, sys, key, "値が空: 「" + std::string(row.name) + "」の画像は使いません。");
      return false;
    }
    if (const std::size_t at = ear::PictureExtSeparator(ext); at != std::string::npos) {
      // The name would lead out of the picture folder, and with ".." out of the package: neither
      // the launcher nor the reader opens it, and the picture is missing on the screens.
      Add(FindingKind::PictureExtSeparator, sys, key,
          "値" + Quote(ext) + "にフォルダーの区切り「" + ext[at] + "」があります。ランチャーは「" + row.name + ext +
              "」を開かず、画像がないときと同じに表示します: " + row.whenMissing + "拡張子（「.png」など）だけを書いてください。");
      return false;
    }
    if (ext[0] != '.') {
      const std::string name = row.name + ext;
      Add(FindingKind::PictureExtWithoutDot, sys, key,
          "値" + Quote(ext) + "が「.」で始まっていません。ランチャーは拡張子を名前にそのまま付けるので「" + name +
              "」を探します（「" + row.name + "." + ext + "」ではありません）。");
      const auto found = package_.pictures.find(name);
      return found != package_.pictures.end() && found->second.kind == Kind::File;  // no second finding for the same fault
    }
    return true;
  }

  // A picture drawn with white transparent into its box.
  void KeyedPicture(const ear::PackagePicture& row, const std::string& rel, const std::string& size, std::uint32_t w,
                    std::uint32_t h) {
    const std::string key = row.extKey ? row.extKey->key : "";
    const int boxW = row.box.width, boxH = row.box.height;
    const double s = std::min(static_cast<double>(boxW) / w, static_cast<double>(boxH) / h);
    const double dw = w * s, dh = h * s;
    std::string msg = size + ScreenName(row.takers) + "の " + Number(boxW) + " × " + Number(boxH) + " の枠に合わせて " +
                      Decimal(dw) + " × " + Decimal(dh) + "（倍率 " + Decimal(s) + "）で描き、白は透明になります。";
    if (ear::RoundHalfEven(dw) == 0 || ear::RoundHalfEven(dh) == 0) {
      Add(FindingKind::PictureScaledBelowAPixel, rel, key, msg + "1 ピクセルに満たない幅か高さで描かれるため、ほとんど見えません。");
      return;
    }
    if (row.left == ear::KeyedLeft::Centred) {
      const std::int64_t left = ear::RoundHalfEven(static_cast<double>(row.centreOn - ear::RoundHalfEven(dw)) / 2);
      msg += "左端は " + std::to_string(left) + " です。";
    } else {
      msg += "左端は試験名の左端に揃えます。";
    }
    Add(FindingKind::PictureScaled, rel, key, msg);
  }

  // ---- exam program ----

  void CheckExamProgram() {
    // A name that would lead out of the package is refused by the launcher (see CheckSettings).
    const ExamProgramFacts& exam = package_.examProgram;
    if (!exam.looked) return;
    const std::string path = ear::ExamProgramPath(paths_, settings_.examKindName);
    const std::string rel = Rel(path);
    const std::string failure = "登録の後に「受験プログラムの展開に失敗しました。」が表示され、試験は始まりません。";
    if (exam.kind != Kind::File) {
      Add(FindingKind::ExamProgramMissing, rel, ear::kExamKindNameKey.key,
          Quote(rel) + (exam.kind == Kind::Folder ? "がファイルではなくフォルダーです。" : "がありません。") + failure);
      return;
    }
    if (exam.unreadable) {
      Add(FindingKind::ExamProgramUnreadable, rel, {}, "読めません: " + exam.problem);
      return;
    }
    const auto byte = [](const std::string& b, std::size_t i) -> unsigned { return static_cast<unsigned char>(b[i]); };
    const std::string& dos = exam.dosHeader;
    const std::string& pe = exam.peHeader;
    const bool mz = dos.size() == 64 && dos[0] == 'M' && dos[1] == 'Z';
    const bool peOk = mz && pe.size() == 24 + 72 && pe[0] == 'P' && pe[1] == 'E' && pe[2] == 0 && pe[3] == 0;
    if (!peOk) {
      Add(FindingKind::ExamProgramNotWindows, rel, {},
          std::string("Windows の実行ファイルではありません（") + (mz ? "PE ヘッダーがありません" : "先頭が「MZ」ではありません") +
              "）。ランチャーが起動しても試験は始まりません。");
      return;
    }
    const unsigned machine = byte(pe, 4) | byte(pe, 5) << 8;
    const unsigned magic = byte(pe, 24) | byte(pe, 25) << 8;
    const unsigned subsystem = byte(pe, 24 + 68) | byte(pe, 24 + 69) << 8;
    std::string arch = machine == 0x14C ? "x86（32 ビット）" : machine == 0x8664 ? "x64（64 ビット）"
                     : machine == 0xAA64 ? "ARM64" : "不明なマシン 0x" + Hex(machine);
    std::string sub = subsystem == 2 ? "Windows GUI" : subsystem == 3 ? "コンソール"
                    : "サブシステム " + Number(subsystem);
    if (magic != 0x10B && magic != 0x20B) sub = "サブシステム不明";
    std::string msg = "Windows の実行ファイルです: " + arch + "、" + sub + "。";
    if (subsystem == 3) msg += "ランチャーは「frmJPBG0010」という題のウィンドウが現れるまで待ちます。";
    if (machine == 0x8664) msg += "64 ビット版の Windows でだけ動きます。";
    Add(FindingKind::ExamProgramMachine, rel, {}, msg);
  }

  static std::string Hex(unsigned v) {
    char b[16];
    std::snprintf(b, sizeof b, "%04X", v);
    return b;
  }

  // ---- candidate folder ----

  void CheckCandidateFolder() {
    const std::string sys = ear::SettingsFileInPackage(ear::SettingsFile::System);
    const std::string prefix(settings_.Prefix());
    if (prefix.empty()) {
      Add(FindingKind::FolderPrefixEmpty, sys, ear::kFileNameKey.key,
          "ファイル名称も開発コードも空です。受験者フォルダー名は受験者の入力から始まり、どの試験のものか分かりません。");
    } else if (const std::string bad = ForbiddenChar(prefix); !bad.empty()) {
      Add(FindingKind::FolderPrefixForbiddenChar, sys, std::string(settings_.PrefixKey()),
          "受験者フォルダー名の先頭になる値" + Quote(prefix) + "に、Windows のファイル名に使えない文字「" + bad +
              "」があります。ランチャーは登録のときに何も変更せずに" + AsShown(ear::kMsgDeployFailed) +
              "を表示し、試験は始まりません。");
    }
    // The launcher's own limit: the longest path in the candidate folder, the exam program,
    // shiken.ini or any file or folder of the package, within 259 bytes.
    const long long left = ear::BytesLeftForValues(paths_.parentFolder, settings_, package_.longestPathInside);
    const bool venue = report_.venueMode;
    const std::string what = venue ? "会場コードと受験番号" : "姓と名";
    const std::string msg = "この場所（" + paths_.parentFolder + "）では、受験者フォルダーの中のパス（試験プログラムとパッケージのすべてのファイル）が " +
                            Number(ear::kMaxPathBytes) + " バイトに収まるよう、受験者の入力（" + what + "）に合わせて " +
                            std::to_string(std::max(0LL, left)) + " バイト使えます。";
    // The shortest entries: a 5-byte venue code and a 1-byte number, or two 1-byte names.
    const long long shortest = venue ? 6 : 2;
    if (left < shortest) {
      Add(FindingKind::BytesLeftNone, "", {},
          msg + "どの入力でもランチャーは" + AsShown(venue ? ear::kMsgDeployFailed : ear::kMsgNameTooLong) +
              "を表示し、試験は始まりません。パッケージを浅いフォルダーに置いてください。");
    } else if (left < kFewBytesLeft) {
      Add(FindingKind::BytesLeftFew, "", {}, msg + "少なすぎるため、長い入力では試験が始まりません。パッケージを浅いフォルダーに置いてください。");
    } else {
      Add(FindingKind::BytesLeft, "", {}, msg);
    }
  }

  const PackageFacts& package_;
  ear::PackagePaths paths_;
  Ini files_[3];  // by ear::SettingsFile; shiken.ini stays empty when it is absent
  PackageReport report_;
  ear::PackageSettings settings_;
};

}  // namespace

ear::PackageSettings SettingsOf(const PackageFacts& package) {
  std::string texts[3];
  for (int i = 0; i < 3; ++i) texts[i] = ProfileTextOf(package.settingsFiles[i]);
  return ear::ReadPackageSettings([&](ear::SettingsFile file, const char* section, const char* key) {
    return ear::FitIniValue(ear::FindIniValue(texts[static_cast<int>(file)], section, key).value_or(""));
  });
}

PackageReport CheckPackage(const PackageFacts& package) { return Rules(package).Run(); }

}  // namespace earcheck
