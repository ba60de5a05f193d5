#include "screens/registration_rules.h"

#include "base/sjis.h"
#include "package/candidate_folder.h"

namespace ear {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

CheckResult Fail(RegistrationEdit focus, const char* message) { return {false, focus, message}; }

}  // namespace

std::optional<std::int32_t> ParseInteger(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  bool hex = false;
  if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
    hex = true;
    i += 1;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i == text.size()) return std::nullopt;  // no digits at all

  std::uint64_t value = 0;
  const std::uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 2147483648ull : 2147483647ull);
  for (; i < text.size(); ++i) {
    const int d = hex ? HexDigit(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
    if (d < 0) return std::nullopt;
    value = value * (hex ? 16 : 10) + static_cast<std::uint64_t>(d);
    if (value > limit) return std::nullopt;
  }
  // Hexadecimal is read as 32 signed bits first; the sign then negates with wrap-around.
  std::uint32_t bits = static_cast<std::uint32_t>(value);
  if (negative) bits = 0u - bits;
  return static_cast<std::int32_t>(bits);
}

CheckResult CheckVenueCode(std::string_view kaiCd) {
  if (kaiCd.empty()) return Fail(RegistrationEdit::KaiCdEdt, kMsgVenueCodeEmpty);
  const auto value = ParseInteger(kaiCd);
  if (!IsAllSingleByte(kaiCd) || kaiCd.size() != 5 || !value || *value == 999999) {
    return Fail(RegistrationEdit::KaiCdEdt, kMsgVenueCodeInvalid);
  }
  return {};
}

CheckResult CheckCandidateNumber(std::string_view juBan) {
  if (juBan.empty()) return Fail(RegistrationEdit::JuBanEdt, kMsgCandidateNumberEmpty);
  const auto value = ParseInteger(juBan);
  if (!value || *value == -999999) return Fail(RegistrationEdit::JuBanEdt, kMsgCandidateNumberInvalid);
  return {};
}

CheckResult CheckNames(std::string_view sei, std::string_view mei, std::string_view parentFolder,
                       const PackageSettings& settings, std::size_t longestInside) {
  if (sei.empty()) return Fail(RegistrationEdit::SeiEdt, kMsgNameEmpty);
  if (mei.empty()) return Fail(RegistrationEdit::MeiEdt, kMsgNameEmpty);
  if (HasForbiddenFileNameChar(sei)) return Fail(RegistrationEdit::SeiEdt, kMsgNameForbiddenChar);
  if (HasForbiddenFileNameChar(mei)) return Fail(RegistrationEdit::MeiEdt, kMsgNameForbiddenChar);
  if (LongestCandidatePath(parentFolder, settings, longestInside, sei, mei) > kMaxPathBytes) {
    return Fail(mei.size() > sei.size() ? RegistrationEdit::MeiEdt : RegistrationEdit::SeiEdt, kMsgNameTooLong);
  }
  return {};
}

}  // namespace ear
