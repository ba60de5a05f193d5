#pragma once
// Batch file texts: the escaping of paths, the cleanup batch and the launch batch.
#include <string>
#include <string_view>

namespace ear {

// Makes a path one unbroken word of a batch command line (used between ^" and ^").
std::string EscapeBatchPath(std::string_view path);

// The cleanup batch for the executable at exePath, CP932 with CR LF after every line.
// systemFolder is the folder that holds ping.exe, which paces the retries.
std::string CleanupBatchText(std::string_view exePath, std::string_view systemFolder);

// The launch batch: starts examProgramPath, then deletes the executable at exePath (trying for
// an hour), its folder exeFolder (with trailing separator) only if that is then empty, and
// itself. CP932, CR LF after every line.
std::string LaunchBatchText(std::string_view examProgramPath, std::string_view exePath,
                            std::string_view exeFolder, std::string_view systemFolder);

// The command line (program name first) that runs batchPath in the command interpreter.
std::string BatchCommandLine(std::string_view batchPath);

}  // namespace ear
