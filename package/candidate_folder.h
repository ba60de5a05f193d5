#pragma once
// The candidate folder that the package becomes, its random key, the exam program's path
// in it, and the limits that keep package values and typed values from steering a path.
// The Windows layer supplies the existence test.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <string_view>

#include "package/package_settings.h"

namespace ear {

// The typed values that name the folder, in their order.
struct CandidateValues {
  std::string_view first;   // KaiCdEdt (venue mode) or SeiEdt (name mode)
  std::string_view second;  // JuBanEdt (venue mode) or MeiEdt (name mode)
};
CandidateValues ValuesForMode(RegistrationMode mode, std::string_view kaiCd, std::string_view juBan,
                              std::string_view sei, std::string_view mei);

// parent folder + prefix + first + "_" + second + "［" + key + "］", all bytes as given.
std::string CandidateFolderName(std::string_view parentFolder, std::string_view prefix, std::string_view first,
                                std::string_view second, std::string_view key);

// candidate folder + "\" + "[1]" + 部種名称 + ".exe".
std::string CandidateExamProgramPath(std::string_view candidateFolder, std::string_view bushu);

inline constexpr std::size_t kRandomKeyLength = 5;
inline constexpr std::string_view kRandomKeyAlphabet =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ1234567890";

// Draws keys uniformly from kRandomKeyAlphabet. Seeded once, so that keys drawn in
// quick succession differ (a clock reseed on every call repeats them).
class RandomKeyMaker {
 public:
  explicit RandomKeyMaker(std::uint64_t seed);
  std::string MakeRandomKey(std::size_t length);

 private:
  std::mt19937_64 engine_;
};

// True when GetFileAttributes' result names a directory: a file of the candidate
// folder's name does not count, and INVALID_FILE_ATTRIBUTES (0xFFFFFFFF) is no entry.
bool IsExistingDirectory(std::uint32_t fileAttributes);

// The run's one key maker, seeded from std::random_device on first use.
std::string MakeRandomKey(std::size_t length);

struct CandidateFolder {
  std::string path;  // the full candidate folder path
  std::string key;   // the key that ends its name, to be written as 固有キー
};

// Draws keys from nextKey until no directory exists at the folder path; a file of
// that name does not count (directoryExists must say false for it). No limit on tries.
CandidateFolder ChooseCandidateFolder(std::string_view parentFolder, std::string_view prefix,
                                      const CandidateValues& values, const std::function<std::string()>& nextKey,
                                      const std::function<bool(const std::string&)>& directoryExists);

// Windows' MAX_PATH (260) less the terminating NUL, counted in bytes.
inline constexpr std::size_t kMaxPathBytes = 259;

// Position of the first character of the Shift-JIS text that Windows refuses in a file
// name (\ / : * ? " < > | or a control character), or npos. Second bytes of two-byte
// characters (0x5C in ソ, 表) are no characters of their own.
std::size_t FindForbiddenFileNameChar(std::string_view text);
inline bool HasForbiddenFileNameChar(std::string_view text) {
  return FindForbiddenFileNameChar(text) != std::string_view::npos;
}

// A character that Shift-JIS cannot hold, in a name on disk, counts as many bytes as the
// widest Shift-JIS character: however a program shows that name, the path stays in bounds.
inline constexpr std::size_t kUnrepresentableCharBytes = 2;

// "system\shiken.ini": written by the hand-over into a package that may not hold it yet.
inline constexpr std::string_view kShikenIniInPackage = "system\\shiken.ini";

// Length in bytes of the longest path that the hand-over puts into the candidate folder: the
// exam program, shiken.ini, or the longest path of any file or folder inside the package
// (longestInside: its bytes relative to the package, "system\1\setup.ini" is 18, gathered
// on disk with each name as it will be in Shift-JIS).
std::size_t LongestCandidatePath(std::string_view parentFolder, const PackageSettings& settings,
                                 std::size_t longestInside, std::string_view first, std::string_view second);

// Bytes that the two typed values may take together before LongestCandidatePath passes
// kMaxPathBytes; negative when even empty values do not fit.
long long BytesLeftForValues(std::string_view parentFolder, const PackageSettings& settings,
                             std::size_t longestInside);

// The key (部種名称, ファイル名称 or 開発コード) whose value holds a character that file names
// forbid, so that it would climb out of its folder or end a quoted batch path; nullptr if none.
const char* ForbiddenPackageValueKey(const PackageSettings& settings);

}  // namespace ear
