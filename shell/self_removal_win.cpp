#include "shell/self_removal_win.h"

#include <vector>

#include "base/error.h"
#include "base/handle.h"
#include "base/system_error.h"
#include "forms/dialogs.h"
#include "package/batch.h"
#include "package/batch_win.h"
#include "package/paths.h"
#include "screens/registration_ok.h"

namespace ear {

namespace {

bool IsLink(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// Deletes the link (junction, symbolic link) at path itself: opened as the link, never as what
// it points to, and deleted through that handle.
void RemoveLink(const std::string& path) {
  FileHandle link(CreateFileA(path.c_str(), DELETE | FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!link) ThrowLastError();
  FILE_ATTRIBUTE_TAG_INFO opened = {};
  if (!GetFileInformationByHandleEx(link.Get(), FileAttributeTagInfo, &opened, sizeof opened)) {
    ThrowLastError();
  }
  // A system that opened the target instead (Wine does, for a Unix symbolic link) would delete
  // the target: refuse.
  if ((opened.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) ThrowSystemError(ERROR_NOT_A_REPARSE_POINT);
  FILE_DISPOSITION_INFO dispose = {TRUE};
  if (!SetFileInformationByHandle(link.Get(), FileDispositionInfo, &dispose, sizeof dispose)) {
    ThrowLastError();
  }
}

}  // namespace

void DeleteFolderTree(const std::string& folder) {
  if (folder.empty()) return;
  // A link is removed itself, whatever it points to: that is not the launcher's to delete.
  if (IsLink(GetFileAttributesA(folder.c_str()))) {
    RemoveLink(folder);
    return;
  }
  struct Entry {
    std::string path;
    bool link;
  };
  std::vector<std::string> folders;
  std::vector<Entry> files;
  {
    WIN32_FIND_DATAA entry;
    FindHandle find(FindFirstFileA(JoinPath(folder, "*.*").c_str(), &entry));
    if (find) {
      do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..") continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          folders.push_back(JoinPath(folder, name));  // a folder link is told apart there
        } else {
          files.push_back({JoinPath(folder, name), IsLink(entry.dwFileAttributes)});
        }
      } while (FindNextFileA(find.Get(), &entry));
    }
  }
  for (const std::string& sub : folders) DeleteFolderTree(sub);
  for (const Entry& file : files) {
    if (file.link) {
      RemoveLink(file.path);
    } else if (!DeleteFileA(file.path.c_str())) {
      ThrowLastError();
    }
  }
  if (!RemoveDirectoryA(folder.c_str())) ThrowLastError();
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
