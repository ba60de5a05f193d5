#pragma once
// Writing the batch files and starting them in a windowless command interpreter.
#include <string>

namespace ear {

// The system folder, which holds cmd.exe and ping.exe (no trailing separator).
std::string SystemFolder();

// Creates or overwrites path with text; throws ear::Error with the file-creation text.
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
