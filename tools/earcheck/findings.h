#pragma once
// What earcheck can say about a package: every kind of finding with its stable ID and its
// severity, in one catalogue next to the rules. The ID names the kind in `earcheck
// --reference` and in the tests; the reports show the message alone.
#include <cstddef>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace earcheck {

enum class Severity { Error, Warning, Info };

enum class FindingKind {
  PackageFolderName,
  SettingsFileMissing,
  SettingsFileUnreadable,
  ShikenIniAbsent,
  IniUtf16,
  IniUtf8Bom,
  IniUtf8,
  IniLeadByteAtLineEnd,
  IniInvalidShiftJis,
  ValueCut,
  ValueOuterBlank,
  ModeVenue,
  ModeName,
  ExamNameEmpty,
  ExamNameAsText,
  ExamNameReplacedByPicture,
  GradeEmpty,
  GradeAsText,
  GradeReplacedByPicture,
  FileNameUsed,
  DevCodeUnused,
  DevCodeUsed,
  ExamTypeAlternative,
  ExamTypeNearThree,
  ExamTypeStandard,
  ExamKindNameEmpty,
  ExamKindNameForbiddenChar,
  ExamProgramName,
  CandidateValueLeftOver,
  CandidateSectionReady,
  PictureMissingErrorBox,
  PictureMissingTextHidden,
  PictureMissingSilent,
  PictureMissingOptional,
  PictureProbeError,
  PictureUnreadable,
  PictureNotJpeg,
  PictureTooLarge,
  PictureCutAtBox,
  PicturePlaced,
  PictureExtEmpty,
  PictureExtSeparator,
  PictureExtWithoutDot,
  PictureScaled,
  PictureScaledBelowAPixel,
  ExamProgramMissing,
  ExamProgramNotWindows,
  ExamProgramUnreadable,
  ExamProgramMachine,
  FolderPrefixEmpty,
  FolderPrefixForbiddenChar,
  BytesLeftNone,
  BytesLeftFew,
  BytesLeft,
};

struct FindingKindRow {
  FindingKind kind;
  const char* id;  // lower-case kebab, stable
  Severity severity;
};

// Every kind, in the enum's order.
inline constexpr FindingKindRow kFindingKinds[] = {
    {FindingKind::PackageFolderName, "package-folder-name", Severity::Error},
    {FindingKind::SettingsFileMissing, "settings-file-missing", Severity::Error},
    {FindingKind::SettingsFileUnreadable, "settings-file-unreadable", Severity::Error},
    {FindingKind::ShikenIniAbsent, "shiken-ini-absent", Severity::Info},
    {FindingKind::IniUtf16, "ini-utf16", Severity::Info},
    {FindingKind::IniUtf8Bom, "ini-utf8-bom", Severity::Error},
    {FindingKind::IniUtf8, "ini-utf8", Severity::Error},
    {FindingKind::IniLeadByteAtLineEnd, "ini-lead-byte-at-line-end", Severity::Warning},
    {FindingKind::IniInvalidShiftJis, "ini-invalid-shift-jis", Severity::Warning},
    {FindingKind::ValueCut, "value-cut", Severity::Warning},
    {FindingKind::ValueOuterBlank, "value-outer-blank", Severity::Warning},
    {FindingKind::ModeVenue, "mode-venue", Severity::Info},
    {FindingKind::ModeName, "mode-name", Severity::Info},
    {FindingKind::ExamNameEmpty, "exam-name-empty", Severity::Warning},
    {FindingKind::ExamNameAsText, "exam-name-as-text", Severity::Info},
    {FindingKind::ExamNameReplacedByPicture, "exam-name-replaced-by-picture", Severity::Info},
    {FindingKind::GradeEmpty, "grade-empty", Severity::Info},
    {FindingKind::GradeAsText, "grade-as-text", Severity::Info},
    {FindingKind::GradeReplacedByPicture, "grade-replaced-by-picture", Severity::Info},
    {FindingKind::FileNameUsed, "file-name-used", Severity::Info},
    {FindingKind::DevCodeUnused, "dev-code-unused", Severity::Info},
    {FindingKind::DevCodeUsed, "dev-code-used", Severity::Info},
    {FindingKind::ExamTypeAlternative, "exam-type-alternative", Severity::Info},
    {FindingKind::ExamTypeNearThree, "exam-type-near-three", Severity::Warning},
    {FindingKind::ExamTypeStandard, "exam-type-standard", Severity::Info},
    {FindingKind::ExamKindNameEmpty, "exam-kind-name-empty", Severity::Warning},
    {FindingKind::ExamKindNameForbiddenChar, "exam-kind-name-forbidden-char", Severity::Error},
    {FindingKind::ExamProgramName, "exam-program-name", Severity::Info},
    {FindingKind::CandidateValueLeftOver, "candidate-value-left-over", Severity::Warning},
    {FindingKind::CandidateSectionReady, "candidate-section-ready", Severity::Info},
    {FindingKind::PictureMissingErrorBox, "picture-missing-error-box", Severity::Error},
    {FindingKind::PictureMissingTextHidden, "picture-missing-text-hidden", Severity::Error},
    {FindingKind::PictureMissingSilent, "picture-missing-silent", Severity::Warning},
    {FindingKind::PictureMissingOptional, "picture-missing-optional", Severity::Info},
    {FindingKind::PictureProbeError, "picture-probe-error", Severity::Error},
    {FindingKind::PictureUnreadable, "picture-unreadable", Severity::Error},
    {FindingKind::PictureNotJpeg, "picture-not-jpeg", Severity::Error},
    {FindingKind::PictureTooLarge, "picture-too-large", Severity::Error},
    {FindingKind::PictureCutAtBox, "picture-cut-at-box", Severity::Warning},
    {FindingKind::PicturePlaced, "picture-placed", Severity::Info},
    {FindingKind::PictureExtEmpty, "picture-ext-empty", Severity::Info},
    {FindingKind::PictureExtSeparator, "picture-ext-separator", Severity::Error},
    {FindingKind::PictureExtWithoutDot, "picture-ext-without-dot", Severity::Error},
    {FindingKind::PictureScaled, "picture-scaled", Severity::Info},
    {FindingKind::PictureScaledBelowAPixel, "picture-scaled-below-a-pixel", Severity::Warning},
    {FindingKind::ExamProgramMissing, "exam-program-missing", Severity::Error},
    {FindingKind::ExamProgramNotWindows, "exam-program-not-windows", Severity::Error},
    {FindingKind::ExamProgramUnreadable, "exam-program-unreadable", Severity::Error},
    {FindingKind::ExamProgramMachine, "exam-program-machine", Severity::Info},
    {FindingKind::FolderPrefixEmpty, "folder-prefix-empty", Severity::Warning},
    {FindingKind::FolderPrefixForbiddenChar, "folder-prefix-forbidden-char", Severity::Error},
    {FindingKind::BytesLeftNone, "bytes-left-none", Severity::Error},
    {FindingKind::BytesLeftFew, "bytes-left-few", Severity::Warning},
    {FindingKind::BytesLeft, "bytes-left", Severity::Info},
};

constexpr bool CatalogueInEnumOrder() {
  for (std::size_t i = 0; i < std::size(kFindingKinds); ++i) {
    if (static_cast<std::size_t>(kFindingKinds[i].kind) != i) return false;
  }
  return std::size(kFindingKinds) == static_cast<std::size_t>(FindingKind::BytesLeft) + 1;
}
static_assert(CatalogueInEnumOrder(), "one row per kind, in the enum's order");

constexpr const FindingKindRow& RowOf(FindingKind kind) { return kFindingKinds[static_cast<int>(kind)]; }

struct Finding {
  Severity severity;
  std::string file;                // relative to the package, "\" separators; empty: none
  std::optional<std::string> key;  // the INI key concerned
  std::string message;
  FindingKind kind = FindingKind::PackageFolderName;  // set by the rules; reports leave it out
};

struct PackageReport {
  std::string nativePath;  // the package folder as the file system names it
  bool venueMode = false;  // "ABB" non-empty
  std::string examType;    // value of "受験タイプ"
  std::vector<Finding> findings;  // errors first, then warnings, then infos

  int Count(Severity s) const;
  bool Ok() const { return Count(Severity::Error) == 0; }
};

}  // namespace earcheck
