#pragma once
// The portable parts of the registration's OK action: its messages, the bounded wait for
// the exam program's window, and HideFolder's test of the launcher's own path.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

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
