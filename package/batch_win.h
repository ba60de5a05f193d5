#pragma once
// Writing the batch files and starting them in a windowless command interpreter.
#include <string>

namespace ear {

// The system folder, which holds cmd.exe and ping.exe (no trailing separator).
std::string SystemFolder();

// Writes text as the file path: whole, to a new file beside it that is renamed over any old
// one, so that a link of that name is replaced, never written through. Throws ear::Error with
// the file-creation text (the system's reason) when the file cannot be made or named so.
void WriteBatchFile(const std::string& path, const std::string& text);

// The screen area handed to the batch's start-up record: the owning form's client area.
struct BatchStartArea {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// Starts the batch without a window, in the caller's current directory, and waits for
// nothing. Returns whether a process was started.
bool StartBatch(const std::string& batchPath, const BatchStartArea& area);

}  // namespace ear
