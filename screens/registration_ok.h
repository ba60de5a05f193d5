#pragma once
// The portable parts of the registration's OK action: its plan, its messages, the bounded
// wait for the exam program's window, and HideFolder's test of the launcher's own path.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "package/package_settings.h"
#include "screens/registration_rules.h"

namespace ear {

inline constexpr char kMsgIniWriteFailed[] = "E11システム情報の書き込みに失敗しました。";
inline constexpr char kMsgIniFailed[] = "E11iniファイルの取得に失敗しました。";
inline constexpr char kMsgDeployFailed[] = "E11受験プログラムの展開に失敗しました。";
inline constexpr char kMsgBatchFailed[] = "E11バッチファイルの実行に失敗しました。";
// Ours: the exam window did not show within kExamWindowTimeoutMs.
inline constexpr char kMsgExamStartUnconfirmed[] = "E11受験プログラムの起動を確認できませんでした。";
inline constexpr char kDebugNotice[] = "デバッグ中は削除できません．　";

inline constexpr char kExamWindowTitle[] = "frmJPBG0010";
inline constexpr unsigned kExamWindowPollMs = 100;
inline constexpr std::uint64_t kExamWindowTimeoutMs = 120000;
// FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE, given to the package's system folder.
inline constexpr std::uint32_t kHiddenArchive = 0x22;

// The texts of the registration screen's four edits, as typed.
struct Entries {
  std::string kaiCd;  // KaiCdEdt
  std::string juBan;  // JuBanEdt
  std::string sei;    // SeiEdt
  std::string mei;    // MeiEdt
};

// Where the launcher runs: its executable, the folder that holds cmd.exe and ping.exe, and
// the bytes of the longest path inside its package (LongestCandidatePath's longestInside).
struct HandoverPlace {
  std::string exePath;
  std::string systemFolder;
  std::size_t longestInPackage = 0;
};

struct IniWrite {
  std::string path;
  std::string section;
  std::string key;
  std::string value;
};

// Draws the next random key; asked again while the folder it names exists.
using KeySource = std::function<std::string()>;
// True when a directory (not a file) exists at the path.
using DirExists = std::function<bool(const std::string&)>;

// What the OK action will do, decided before anything on disk changes.
struct HandoverPlan {
  CheckResult check;            // a failed input check, or a venue entry too long for the
                                // candidate folder's paths: its edit takes the focus
  std::string refusal;          // else a package value's refusal, shown without a detail
  std::string candidateFolder;  // the package's new name
  std::string key;              // the key that ends it, written as 固有キー
  std::vector<IniWrite> iniWrites;  // in their order: 固有キー, then the candidate's two values
  std::string systemFolder;     // hidden (kHiddenArchive) before the rename
  std::string package;          // renamed to candidateFolder
  std::string examProgram;      // looked for after the rename
  std::string batchPath;
  std::string batchText;

  bool Refused() const { return !check.ok || !refusal.empty(); }
};

// The checks of the mode's entries, then the refusals of package values that would steer a
// path or a batch command and of entries that take a path in the candidate folder past
// kMaxPathBytes, then the candidate folder (keys drawn until no directory has its name) and
// everything the run writes. Nothing is on disk yet when it refuses. Throws what nextKey throws.
HandoverPlan PlanHandover(const PackageSettings& settings, const Entries& entries, const HandoverPlace& place,
                          const KeySource& nextKey, const DirExists& directoryExists);

enum class ExamWindowWait { Shown, TimedOut };

// Looks for the exam window; until it is there, pauses (processing messages) and looks
// again, for at most timeoutMs by nowMs. The window is looked for once more at the end.
ExamWindowWait WaitForExamWindow(const std::function<bool()>& windowShown,
                                 const std::function<void()>& pauseAndProcess,
                                 const std::function<std::uint64_t()>& nowMs, std::uint64_t timeoutMs);

// The path without the extension of its last name ("C:\a.b\c.exe" -> "C:\a.b\c").
std::string PathWithoutExtension(std::string_view path);

// HideFolder leaves alone a path that, without its extension, is the executable's own.
bool IsExecutableItself(std::string_view path, std::string_view exePath);

}  // namespace ear
