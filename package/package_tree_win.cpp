#include "package/package_tree_win.h"

#include <windows.h>

#include <algorithm>

#include "base/handle.h"
#include "base/text_win.h"
#include "package/candidate_folder.h"
#include "package/folder_entries.h"

namespace ear {

namespace {

constexpr unsigned kShiftJis = 932;

std::size_t LongestBelow(const std::wstring& folder, std::size_t folderBytes) {
  std::size_t longest = 0;
  WIN32_FIND_DATAW entry;
  const FindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &entry));
  if (!find) return 0;
  do {
    const std::wstring_view name = entry.cFileName;
    const EntryAction action = ActionFor(name, entry.dwFileAttributes, entry.dwReserved0);
    if (action == EntryAction::kSkip) continue;
    const std::size_t bytes = folderBytes + (folderBytes > 0 ? 1 : 0) + ShiftJisLength(name);
    longest = std::max(longest, bytes);
    // A link counts by its own name; a cloud placeholder is a folder like any other.
    if (action == EntryAction::kDeleteFolder) longest = std::max(longest, LongestBelow(JoinWide(folder, name), bytes));
  } while (FindNextFileW(find.Get(), &entry));
  return longest;
}

}  // namespace

std::size_t ShiftJisLength(std::wstring_view name) {
  std::size_t bytes = 0;
  for (std::size_t i = 0; i < name.size();) {
    const std::size_t units =
        IS_HIGH_SURROGATE(name[i]) && i + 1 < name.size() && IS_LOW_SURROGATE(name[i + 1]) ? 2 : 1;
    char out[8];
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, name.data() + i, static_cast<int>(units),
                                      out, sizeof out, nullptr, &usedDefault);
    bytes += n <= 0 || usedDefault ? kUnrepresentableCharBytes : static_cast<std::size_t>(n);
    i += units;
  }
  return bytes;
}

std::size_t LongestPathInside(const std::string& folder) {
  if (folder.empty()) return 0;
  // The long form, so that a deep package is listed whole.
  std::wstring wide = LongPathForm(Widen(folder, kFileSystemCodePage));
  while (!wide.empty() && wide.back() == L'\\') wide.pop_back();
  return LongestBelow(wide, 0);
}

}  // namespace ear
