#include "package/batch_win.h"

#include <windows.h>

#include <cwchar>
#include <iterator>
#include <string>

#include "base/handle.h"
#include "base/system_error.h"
#include "base/text_win.h"
#include "package/batch.h"
#include "package/paths.h"

namespace ear {

#if defined(__i386__)
static_assert(sizeof(STARTUPINFOA) == 68, "the batch's start-up record is 68 bytes");
#endif

namespace {

bool Start(const char* application, char* commandLine, const BatchStartArea& area) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof(STARTUPINFOA);
  startup.dwX = static_cast<DWORD>(area.left);
  startup.dwY = static_cast<DWORD>(area.top);
  startup.dwXSize = static_cast<DWORD>(area.width);
  startup.dwYSize = static_cast<DWORD>(area.height);
  startup.dwFlags = STARTF_USESIZE | STARTF_USEPOSITION;
  startup.wShowWindow = SW_SHOWDEFAULT;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(application, commandLine, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      nullptr, &startup, &process)) {
    return false;
  }
  // The new process's handles are not used: closed on return.
  const KernelHandle thread(process.hThread), child(process.hProcess);
  return true;
}

}  // namespace

std::string SystemFolder() {
  char folder[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  return std::string(folder, length < MAX_PATH ? length : 0);
}

void WriteBatchFile(const std::string& path, const std::string& text) {
  // Written whole to a new file beside it, then renamed over it: a rename replaces a link
  // of that name, never the file it points to, and a failed write leaves no half batch.
  const std::wstring wide = Widen(path, kFileSystemCodePage);
  // A name no longer than the batch's own ("~<process in hex>-<attempt>.tmp", at most 17
  // characters): where the batch's path fits the path limit, its temporary file's does too.
  const std::wstring folder = wide.substr(0, wide.find_last_of(L"\\/") + 1);
  std::wstring temp;
  FileHandle file;
  for (int attempt = 1; !file && attempt < 1000; ++attempt) {
    wchar_t name[24];
    std::swprintf(name, std::size(name), L"~%lx-%d.tmp", static_cast<unsigned long>(GetCurrentProcessId()), attempt);
    temp = folder + name;
    // CREATE_NEW also refuses a link of that name: nothing but a new file is written.
    file.Reset(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file && GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  if (!file) ThrowFileCreateError(path, GetLastError());
  DWORD written = 0;
  if (!WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
      written != text.size()) {
    const DWORD code = written != text.size() && GetLastError() == ERROR_SUCCESS ? ERROR_WRITE_FAULT : GetLastError();
    file.Reset();
    DeleteFileW(temp.c_str());
    ThrowSystemError(code);
  }
  file.Reset();
  if (!MoveFileExW(temp.c_str(), wide.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    // The batch's own name could not be taken (a folder of that name, a read-only place).
    const DWORD code = GetLastError();
    DeleteFileW(temp.c_str());
    ThrowFileCreateError(path, code);
  }
}

bool StartBatch(const std::string& batchPath, const BatchStartArea& area) {
  // Windows runs a batch named as the application through "cmd /c" without /s, which
  // unquotes paths holding "(" or "&" (as in "Program Files (x86)"): name cmd itself, by its
  // full path so that no cmd.exe of the current folder is taken.
  const std::string interpreter = JoinPath(SystemFolder(), "cmd.exe");
  std::string commandLine = BatchCommandLine(batchPath);
  if (Start(interpreter.c_str(), commandLine.data(), area)) return true;
  // Should the interpreter not start, the system may still know how to run the batch.
  return Start(batchPath.c_str(), nullptr, area);
}

}  // namespace ear
