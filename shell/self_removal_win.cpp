#include "shell/self_removal_win.h"

#include <vector>

#include "base/error.h"
#include "base/handle.h"
#include "base/system_error.h"
#include "base/text_win.h"
#include "forms/dialogs.h"
#include "package/batch.h"
#include "package/batch_win.h"
#include "package/paths.h"
#include "screens/registration_ok.h"
#include "shell/folder_removal.h"

namespace ear {

static_assert(kAttributeReadOnly == FILE_ATTRIBUTE_READONLY && kAttributeDirectory == FILE_ATTRIBUTE_DIRECTORY &&
              kAttributeNormal == FILE_ATTRIBUTE_NORMAL && kAttributeReparsePoint == FILE_ATTRIBUTE_REPARSE_POINT);

namespace {

struct Listed {
  std::wstring path;
  DWORD attributes;
  EntryAction action;
};

Listed Entry(const std::wstring& folder, const WIN32_FIND_DATAW& found) {
  return {JoinWide(folder, found.cFileName), found.dwFileAttributes,
          ActionFor(found.cFileName, found.dwFileAttributes, found.dwReserved0)};
}

// Deletes the link (junction, symbolic link) at path itself: opened as the link, never as what
// it points to, and deleted through that handle. Returns 0 or the system error code.
DWORD RemoveLink(const std::wstring& path) {
  FileHandle link(CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!link) return GetLastError();
  FILE_ATTRIBUTE_TAG_INFO opened = {};
  if (!GetFileInformationByHandleEx(link.Get(), FileAttributeTagInfo, &opened, sizeof opened)) {
    return GetLastError();
  }
  // A system that opened the target instead (Wine does, for a Unix symbolic link) would delete
  // the target: refuse.
  if ((opened.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return ERROR_NOT_A_REPARSE_POINT;
  // A read-only link is made writable through the same handle, so only the link changes.
  if (const DWORD writable = WritableAttributes(opened.FileAttributes)) {
    FILE_BASIC_INFO basic = {};
    basic.FileAttributes = writable;
    if (!SetFileInformationByHandle(link.Get(), FileBasicInfo, &basic, sizeof basic)) return GetLastError();
  }
  FILE_DISPOSITION_INFO dispose = {TRUE};
  if (!SetFileInformationByHandle(link.Get(), FileDispositionInfo, &dispose, sizeof dispose)) {
    return GetLastError();
  }
  return 0;
}

// Deletes a plain file, read-only or not. Returns 0 or the system error code.
DWORD DeleteFilePath(const std::wstring& path, DWORD attributes) {
  if (const DWORD writable = WritableAttributes(attributes)) SetFileAttributesW(path.c_str(), writable);
  return DeleteFileW(path.c_str()) ? 0 : GetLastError();
}

// Empties folder and removes it, going on past every failure, each counted in tally. Returns
// whether the folder is gone; a folder that still holds what could not go is not counted itself.
bool RemoveTree(const Listed& folder, RemovalTally& tally) {
  std::vector<Listed> folders, files;
  {
    WIN32_FIND_DATAW found;
    FindHandle find(FindFirstFileW(JoinWide(folder.path, L"*").c_str(), &found));
    if (find) {
      do {
        const Listed entry = Entry(folder.path, found);
        if (entry.action == EntryAction::kSkip) continue;
        ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? folders : files).push_back(entry);
      } while (FindNextFileW(find.Get(), &found));
    }
  }
  bool empty = true;
  for (const std::vector<Listed>* list : {&folders, &files}) {
    for (const Listed& entry : *list) {
      DWORD error = 0;
      switch (entry.action) {
        case EntryAction::kDeleteFolder:
          empty &= RemoveTree(entry, tally);
          continue;
        case EntryAction::kRemoveLink:
          error = RemoveLink(entry.path);
          break;
        default:
          error = DeleteFilePath(entry.path, entry.attributes);
          break;
      }
      if (error != 0) {
        tally.Failed(error);
        empty = false;
      }
    }
  }
  if (!empty) return false;
  if (const DWORD writable = WritableAttributes(folder.attributes)) SetFileAttributesW(folder.path.c_str(), writable);
  if (RemoveDirectoryW(folder.path.c_str())) return true;
  tally.Failed(GetLastError());
  return false;
}

// The folder's own path, absolute, in the long-path form: converted from bytes once, here.
std::wstring WidePath(const std::string& folder) {
  const std::wstring wide = Widen(folder, kFileSystemCodePage);
  const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (size == 0) ThrowLastError();
  std::wstring full(size, L'\0');
  const DWORD length = GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
  if (length == 0 || length >= size) ThrowLastError();
  full.resize(length);
  if (full.size() > 3 && full.back() == L'\\') full.pop_back();  // the folder's own name, not its listing
  return LongPathForm(full);
}

}  // namespace

void DeleteFolderTree(const std::string& folder) {
  if (folder.empty()) return;
  const std::wstring path = WidePath(folder);
  // The folder's own entry, with its reparse tag: a missing folder is the failure itself.
  WIN32_FIND_DATAW found;
  {
    FindHandle find(FindFirstFileW(path.c_str(), &found));
    if (!find) ThrowLastError();
  }
  const Listed top = {path, found.dwFileAttributes,
                      ActionFor(L"", found.dwFileAttributes, found.dwReserved0)};
  RemovalTally tally;
  if (top.action == EntryAction::kRemoveLink) {
    // A link is removed itself, whatever it points to: that is not the launcher's to delete.
    if (const DWORD error = RemoveLink(path)) tally.Failed(error);
  } else {
    RemoveTree(top, tally);
  }
  if (tally.Count() != 0) {
    throw Error(RemovalFailureText(tally.FirstCode(), SystemMessage(tally.FirstCode()), tally.Count()));
  }
}

void RunSelfRemoval(const SelfRemovalContext& context) {
  const PackagePaths paths = PackagePathsFor(context.exePath);
  WriteBatchFile(paths.batch, CleanupBatchText(context.exePath, SystemFolder()));
  if (context.debugMode) {
    forms::ShowInformation(context.owner, kDebugNotice);
    return;
  }
  // The package beside the executable, whatever the current directory is.
  DeleteFolderTree(paths.package);
  StartBatch(paths.batch, {.left = context.clientLeft,
                           .top = context.clientTop,
                           .width = context.clientWidth,
                           .height = context.clientHeight});
  if (context.closeMainForm) context.closeMainForm();
}

}  // namespace ear
