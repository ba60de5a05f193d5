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
  const char* PrefixKey() const;
  bool AlternativeLayout() const { return IsAlternativeExamType(examType); }
};

// Where a picture extension holds a folder separator ("/", or a "\" that is a character of its
// own, never the second byte of a two-byte one); npos when it holds none. The picture's name
// then leads out of the picture folder, and with ".." out of the package.
std::size_t PictureExtSeparator(std::string_view ext);

// The three settings files of the package.
enum class SettingsFile { System, Setup, Shiken };

// The file as named in the package: its path under the package folder, "\" separators.
const char* SettingsFileInPackage(SettingsFile file);

// The sections of the settings files.
inline constexpr char kBasicSection[] = "基本情報";       // system.ini and setup.ini
inline constexpr char kCandidateSection[] = "受験者情報";  // shiken.ini

// Who takes a value from the package (or a picture): a screen, or the OK action's hand-over.
enum Taker : unsigned {
  kBackdrop = 1, kTitle = 2, kProcedure = 4, kRegistration = 8, kHandover = 16,
  kEveryWizardScreen = kTitle | kProcedure | kRegistration,
};

// One key the launcher reads from the package or writes into it. A key read lands in its
// PackageSettings field (an empty string when the file, the section or the key is missing:
// reading never fails); a key written is named by the hand-over's plan.
struct SettingKey {
  SettingsFile file;
  const char* section;
  const char* key;
  unsigned takers;  // Taker bits
  std::string& (*field)(PackageSettings&) = nullptr;  // none: written, never read

  bool Read() const { return field != nullptr; }
  // The value read into the settings; the row must be one that is read.
  const std::string& Value(const PackageSettings& s) const { return field(const_cast<PackageSettings&>(s)); }
};

// The rows, in the order the launcher reads them (system.ini's first) and then writes them.
inline constexpr SettingKey kExamNameKey{SettingsFile::System, kBasicSection, "試験名", kTitle,
                                         [](PackageSettings& s) -> std::string& { return s.title.examName; }};
inline constexpr SettingKey kExamPictureExtKey{SettingsFile::System, kBasicSection, "試験画像拡張子", kTitle,
                                               [](PackageSettings& s) -> std::string& { return s.title.examPictureExt; }};
inline constexpr SettingKey kMakerPictureExtKey{
    SettingsFile::System, kBasicSection, "メーカー画像拡張子", kTitle,
    [](PackageSettings& s) -> std::string& { return s.title.makerPictureExt; }};
inline constexpr SettingKey kGradePictureExtKey{
    SettingsFile::System, kBasicSection, "級TOP画像拡張子", kTitle,
    [](PackageSettings& s) -> std::string& { return s.title.gradePictureExt; }};
inline constexpr SettingKey kGradeNameKey{SettingsFile::System, kBasicSection, "級名", kTitle,
                                          [](PackageSettings& s) -> std::string& { return s.title.gradeName; }};
inline constexpr SettingKey kAbbKey{SettingsFile::System, kBasicSection, "ABB", kRegistration | kHandover,
                                    [](PackageSettings& s) -> std::string& { return s.abb; }};
inline constexpr SettingKey kDevCodeKey{SettingsFile::System, kBasicSection, "開発コード", kTitle | kHandover,
                                        [](PackageSettings& s) -> std::string& { return s.devCode; }};
inline constexpr SettingKey kFileNameKey{SettingsFile::System, kBasicSection, "ファイル名称", kTitle | kHandover,
                                         [](PackageSettings& s) -> std::string& { return s.fileName; }};
inline constexpr SettingKey kExamTypeKey{SettingsFile::Setup, kBasicSection, "受験タイプ", kEveryWizardScreen,
                                         [](PackageSettings& s) -> std::string& { return s.examType; }};
inline constexpr SettingKey kExamKindNameKey{SettingsFile::Setup, kBasicSection, "部種名称", kHandover,
                                             [](PackageSettings& s) -> std::string& { return s.examKindName; }};
inline constexpr SettingKey kUniqueKeyKey{SettingsFile::System, kBasicSection, "固有キー", kHandover};
inline constexpr SettingKey kVenueCodeKey{SettingsFile::Shiken, kCandidateSection, "会場コード", kHandover};
inline constexpr SettingKey kCandidateNumberKey{SettingsFile::Shiken, kCandidateSection, "受験番号", kHandover};
inline constexpr SettingKey kSurnameKey{SettingsFile::Shiken, kCandidateSection, "姓", kHandover};
inline constexpr SettingKey kGivenNameKey{SettingsFile::Shiken, kCandidateSection, "名", kHandover};

inline constexpr SettingKey kSettingKeys[] = {
    kExamNameKey, kExamPictureExtKey, kMakerPictureExtKey, kGradePictureExtKey, kGradeNameKey, kAbbKey,
    kDevCodeKey, kFileNameKey, kExamTypeKey, kExamKindNameKey,
    kUniqueKeyKey, kVenueCodeKey, kCandidateNumberKey, kSurnameKey, kGivenNameKey,
};

// A key's value from its section of the file, "" when missing.
using SettingsReader = std::function<std::string(SettingsFile file, const char* section, const char* key)>;

// Each key of kSettingKeys read once, in the table's order.
PackageSettings ReadPackageSettings(const SettingsReader& read);

struct PackagePaths;
// The file's full path in the package.
std::string SettingsFilePath(const PackagePaths& paths, SettingsFile file);
// Through ReadIniString (Windows only).
PackageSettings ReadPackageSettings(const PackagePaths& paths);
// "受験タイプ" alone, for a screen that reads no other setting.
std::string ReadExamType(const PackagePaths& paths);

}  // namespace ear
