#pragma once
// The package's settings as the launcher uses them, read once for each screen show and each
// OK action (the procedure screen reads its one key alone), and what each of them means.
// The screens, the OK action and earcheck all ask here.
#include <functional>
#include <string>
#include <string_view>

namespace ear {

enum class RegistrationMode { Venue, Name };

// "ABB" non-empty: venue code and candidate number; empty: surname and given name.
RegistrationMode ModeFromAbb(std::string_view abb);

// True only for the exam type "3" itself ("03", " 3" and "3 " are other types).
bool IsAlternativeExamType(std::string_view examType);

// What the title screen shows as the exam's file name, and what prefixes the candidate
// folder: the file name when set, else the development code.
std::string_view FileNameOrDevCode(std::string_view fileName, std::string_view devCode);

// The texts and picture extensions of the title screen, all from system.ini.
struct TitleTexts {
  std::string examName;          // 試験名
  std::string examPictureExt;    // 試験画像拡張子
  std::string makerPictureExt;   // メーカー画像拡張子
  std::string gradePictureExt;   // 級TOP画像拡張子
  std::string gradeName;         // 級名
};

struct PackageSettings {
  TitleTexts title;
  std::string abb;           // ABB
  std::string devCode;       // 開発コード
  std::string fileName;      // ファイル名称
  std::string examType;      // 受験タイプ (setup.ini)
  std::string examKindName;  // 部種名称 (setup.ini)

  RegistrationMode Mode() const { return ModeFromAbb(abb); }
  // The front of the candidate folder's name; the key that holds it.
  std::string_view Prefix() const { return FileNameOrDevCode(fileName, devCode); }
  const char* PrefixKey() const { return fileName.empty() ? "開発コード" : "ファイル名称"; }
  bool AlternativeLayout() const { return IsAlternativeExamType(examType); }
};

// Where a picture extension holds a folder separator ("/", or a "\" that is a character of its
// own, never the second byte of a two-byte one); npos when it holds none. The picture's name
// then leads out of the picture folder, and with ".." out of the package.
std::size_t PictureExtSeparator(std::string_view ext);

enum class SettingsFile { System, Setup };

// The section of system.ini and setup.ini that holds the package's settings.
inline constexpr char kBasicSection[] = "基本情報";
inline constexpr char kExamTypeKey[] = "受験タイプ";  // in setup.ini

// A key's value from section kBasicSection of the file, "" when missing.
using SettingsReader = std::function<std::string(SettingsFile file, const char* key)>;

// Each key read once, system.ini's first, in the order of the fields above.
PackageSettings ReadPackageSettings(const SettingsReader& read);

struct PackagePaths;
// Through ReadIniString (Windows only).
PackageSettings ReadPackageSettings(const PackagePaths& paths);
// "受験タイプ" alone, for a screen that reads no other setting.
std::string ReadExamType(const PackagePaths& paths);

}  // namespace ear
