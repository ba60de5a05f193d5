#include <windows.h>

#include <algorithm>
#include <optional>

#include "base/handle.h"
#include "base/system_error.h"
#include "base/text_win.h"
#include "tools/earcheck/output_file.h"

namespace earcheck {

namespace {

// A full path for the W functions, with the long-path prefix: no length limit, and a name's
// trailing dot or space is kept.
std::wstring WidePath(const std::string& nativePath) {
  const std::wstring w = ear::Widen(nativePath, ear::kFileSystemCodePage);
  if (w.starts_with(L"\\\\?\\")) return w;
  if (w.size() >= 3 && w[1] == L':' && w[2] == L'\\') return L"\\\\?\\" + w;
  if (w.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + w.substr(2);
  return w;
}

HANDLE AsHandle(std::intptr_t h) { return reinterpret_cast<HANDLE>(h); }

}  // namespace

OutputFile::OutputFile(std::string fullFile)
    : file_(std::move(fullFile)), handle_(reinterpret_cast<std::intptr_t>(INVALID_HANDLE_VALUE)) {
  for (int attempt = 1; attempt < 1000; ++attempt) {
    temp_ = TemporaryName(file_, GetCurrentProcessId(), attempt);
    // CREATE_NEW also refuses a link of that name: nothing but a new file is written.
    const HANDLE h = CreateFileW(WidePath(temp_).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      handle_ = reinterpret_cast<std::intptr_t>(h);
      open_ = true;
      return;
    }
    if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  Fail();
}

OutputFile::~OutputFile() { Discard(); }

void OutputFile::Fail() {
  if (!reason_.empty()) return;
  const DWORD code = GetLastError();
  reason_ = ear::SystemMessage(code);
  if (reason_.empty()) reason_ = "システムエラー " + std::to_string(code);
}

void OutputFile::Close() {
  if (AsHandle(handle_) == INVALID_HANDLE_VALUE) return;
  if (!CloseHandle(AsHandle(handle_))) Fail();
  handle_ = reinterpret_cast<std::intptr_t>(INVALID_HANDLE_VALUE);
}

void OutputFile::Discard() {
  Close();
  if (open_) DeleteFileW(WidePath(temp_).c_str());
  open_ = false;
}

bool OutputFile::Write(std::string_view bytes) {
  while (Ok() && !bytes.empty()) {
    const DWORD part = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 24));
    DWORD written = 0;
    if (!WriteFile(AsHandle(handle_), bytes.data(), part, &written, nullptr) || written == 0) {
      if (written == 0 && GetLastError() == ERROR_SUCCESS) SetLastError(ERROR_WRITE_FAULT);
      Fail();
      break;
    }
    bytes.remove_prefix(written);
  }
  return Ok();
}

void OutputFile::Flush() {
  if (!FlushFileBuffers(AsHandle(handle_))) Fail();
}

void OutputFile::Replace() {
  if (!MoveFileExW(WidePath(temp_).c_str(), WidePath(file_).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    Fail();
  }
}

namespace {

struct FileId {
  DWORD volume = 0, high = 0, low = 0;
  bool operator==(const FileId&) const = default;
};

// The identity of what the path names, links followed; none when it cannot be opened.
std::optional<FileId> IdOf(const std::wstring& path, bool* folder = nullptr) {
  const ear::FileHandle h(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info;
  if (!h || !GetFileInformationByHandle(h.Get(), &info)) return std::nullopt;
  if (folder) *folder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  return FileId{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

// Any file under `folder` with the identity `want`. Every file is opened: the size in a hard
// link's directory entry may be stale, so no size can pass one over. Folders are walked, never
// through a link.
bool Holds(const std::wstring& folder, const FileId& want, int depth) {
  if (depth > 64) return false;
  WIN32_FIND_DATAW found;
  const ear::FindHandle find(FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &found,
                                              FindExSearchNameMatch, nullptr, 0));
  if (!find) return false;
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    const std::wstring path = folder + L"\\" + name;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      const bool link = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
      if (!link && Holds(path, want, depth + 1)) return true;
    } else if (IdOf(path) == want) {
      return true;
    }
  } while (FindNextFileW(find.Get(), &found));
  return false;
}

}  // namespace

bool IsPackageFile(const std::string& fullFile, const std::string& packageNativePath) {
  const std::wstring file = WidePath(fullFile);
  bool folder = false;
  const std::optional<FileId> want = IdOf(file, &folder);
  if (!want || folder) return false;
  return Holds(WidePath(packageNativePath), *want, 0);
}

}  // namespace earcheck
