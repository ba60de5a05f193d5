#pragma once
// The registration screen's input checks as pure decisions: which edit takes the
// focus and which coded message is shown. The Windows layer applies the result.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "package/package_settings.h"

namespace ear {

// Reads a typed number: leading spaces (0x20 only), at most one sign, then decimal
// digits within int32, or up to 32 bits of hexadecimal after "$", "x", "X", "0x"
// or "0X", taken as signed before a "-" negates it. Nothing may follow the digits.
std::optional<std::int32_t> ParseInteger(std::string_view text);

// The edit that a failed check focuses.
enum class RegistrationEdit { None, SeiEdt, MeiEdt, KaiCdEdt, JuBanEdt };

struct CheckResult {
  bool ok = true;
  RegistrationEdit focus = RegistrationEdit::None;
  std::string message;  // coded message for ShowCodedMessage; empty when ok
};

inline constexpr char kMsgNameEmpty[] = "E11氏名を入力して下さい。";
inline constexpr char kMsgNameForbiddenChar[] = "E11氏名に使用できない文字が含まれています。";
inline constexpr char kMsgNameTooLong[] = "E11氏名が長すぎるため、受験者用フォルダーを作成できません。";
inline constexpr char kMsgVenueCodeEmpty[] = "E11会場コードを入力してください。";
inline constexpr char kMsgVenueCodeInvalid[] = "E11会場コードは半角で5文字としてください。";
inline constexpr char kMsgCandidateNumberEmpty[] = "E11受験番号を入力してください。";
inline constexpr char kMsgCandidateNumberInvalid[] = "E11受験番号は数値で入力してください。";

// Venue code: not empty; 5 single-byte characters that read as an integer other
// than the marker 999999.
CheckResult CheckVenueCode(std::string_view kaiCd);

// Candidate number: not empty; reads as an integer other than the marker -999999.
CheckResult CheckCandidateNumber(std::string_view juBan);

// Names: both filled in (blanks pass); then, mended, neither holds a character that
// file names forbid, and together they keep the candidate folder's paths within
// kMaxPathBytes (the focus goes to the longer name, the surname on a tie); longestInside as
// LongestCandidatePath takes it.
CheckResult CheckNames(std::string_view sei, std::string_view mei, std::string_view parentFolder,
                       const PackageSettings& settings, std::size_t longestInside);

}  // namespace ear
