#include "shell/self_removal_win.h"

#include <vector>

#include "base/error.h"
#include "base/handle.h"
#include "base/system_error.h"
#include "forms/dialogs.h"
#include "package/batch.h"
#include "package/batch_win.h"
#include "package/paths.h"

namespace ear {

void DeleteFolderTree(const std::string& folder) {
  if (folder.empty()) return;
  struct Folder {
    std::string path;
    bool link;  // a junction or symbolic link
  };
  std::vector<Folder> folders;
  std::vector<std::string> files;
  {
    WIN32_FIND_DATAA entry;
    FindHandle find(FindFirstFileA(JoinPath(folder, "*.*").c_str(), &entry));
    if (find) {
      do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..") continue;
        const bool isFolder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        const bool isLink = (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        if (isFolder) {
          folders.push_back({JoinPath(folder, name), isLink});
        } else {
          files.push_back(JoinPath(folder, name));
        }
      } while (FindNextFileA(find.Get(), &entry));
    }
  }
  for (const Folder& sub : folders) {
    // A link is removed itself: what it points to is not the launcher's to delete.
    if (sub.link) {
      if (!RemoveDirectoryA(sub.path.c_str())) ThrowLastError();
    } else {
      DeleteFolderTree(sub.path);
    }
  }
  for (const std::string& file : files) {
    if (!DeleteFileA(file.c_str())) ThrowLastError();
  }
  if (!RemoveDirectoryA(folder.c_str())) ThrowLastError();
}

void RunSelfRemoval(const SelfRemovalContext& context) {
  const PackagePaths paths = PackagePathsFor(context.exePath);
  WriteBatchFile(paths.batch, CleanupBatchText(context.exePath, SystemFolder()));
  if (context.debugMode) {
    forms::ShowInformation(context.owner, "デバッグ中は削除できません．　");
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
