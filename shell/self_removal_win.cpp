#include "shell/self_removal_win.h"

#include <vector>

#include "base/error.h"
#include "base/system_error.h"
#include "forms/dialogs.h"
#include "package/paths.h"
#include "shell/batch.h"

namespace ear {

#if defined(__i386__)
static_assert(sizeof(STARTUPINFOA) == 68, "the batch's start-up record is 68 bytes");
#endif

namespace {

class FileHandle {
 public:
  explicit FileHandle(HANDLE h) : h_(h) {}
  ~FileHandle() {
    if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  HANDLE get() const { return h_; }

 private:
  HANDLE h_;
};

class FindHandle {
 public:
  explicit FindHandle(HANDLE h) : h_(h) {}
  ~FindHandle() {
    if (h_ != INVALID_HANDLE_VALUE) FindClose(h_);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  HANDLE get() const { return h_; }

 private:
  HANDLE h_;
};

void WriteBatchFile(const std::string& path, const std::string& text) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) ThrowFileCreateError(path, GetLastError());
  DWORD written = 0;
  if (!WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
      written != text.size()) {
    ThrowLastError();
  }
}

std::string CommandInterpreterPath() {
  char folder[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  return JoinPath(std::string(folder, length < MAX_PATH ? length : 0), "cmd.exe");
}

void StartBatch(const std::string& batchPath, const SelfRemovalContext& context) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof(STARTUPINFOA);
  startup.dwX = static_cast<DWORD>(context.clientLeft);
  startup.dwY = static_cast<DWORD>(context.clientTop);
  startup.dwXSize = static_cast<DWORD>(context.clientWidth);
  startup.dwYSize = static_cast<DWORD>(context.clientHeight);
  startup.dwFlags = STARTF_USESIZE | STARTF_USEPOSITION;
  startup.wShowWindow = SW_SHOWDEFAULT;
  // Windows runs a batch named as the application through "cmd /c" without /s, which
  // unquotes paths holding "(" or "&" (as in "Program Files (x86)"); naming cmd with /s
  // keeps the batch path whole.
  const std::string application = CommandInterpreterPath();
  std::string commandLine = "cmd.exe /d /s /c \"\"" + batchPath + "\"\"";
  PROCESS_INFORMATION process = {};
  CreateProcessA(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                 CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
}

}  // namespace

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
    if (find.get() != INVALID_HANDLE_VALUE) {
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
      } while (FindNextFileA(find.get(), &entry));
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
  WriteBatchFile(paths.cleanupBatch, CleanupBatchText(context.exePath));
  if (context.debugMode) {
    forms::ShowInformation(context.owner, "デバッグ中は削除できません．　");
    return;
  }
  // The package beside the executable, whatever the current directory is.
  DeleteFolderTree(paths.package);
  StartBatch(paths.cleanupBatch, context);
  if (context.closeMainForm) context.closeMainForm();
}

}  // namespace ear
