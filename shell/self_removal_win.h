#pragma once
// Removing the package, the executable and its folder when the wizard is abandoned.
#include <windows.h>

#include <functional>
#include <string>

namespace ear {

struct SelfRemovalContext {
  std::string exePath;
  bool debugMode = false;
  HWND owner = nullptr;  // owner of the information box; not owned
  // The main form's client area on the screen, handed to the batch's start-up record.
  int clientLeft = 0;
  int clientTop = 0;
  int clientWidth = 0;
  int clientHeight = 0;
  std::function<void()> closeMainForm;
};

// Deletes folder with everything below it, by the entries' Unicode names; read-only entries are
// made writable first. A link (a name surrogate: junction, symbolic link), folder itself included,
// is removed itself, never followed. What cannot be deleted is left and the rest goes on; then one
// error tells the first failure's system error text and how many entries stayed. A missing folder
// throws its system error at once.
void DeleteFolderTree(const std::string& folder);

// Writes the cleanup batch, deletes the package, starts the batch and closes the main form;
// with debugMode only writes the batch and shows the information box. Throws ear::Error.
void RunSelfRemoval(const SelfRemovalContext& context);

}  // namespace ear
