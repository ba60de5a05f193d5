#pragma once
// Batch file text: escaping of paths and the cleanup batch that removes the launcher.
#include <string>
#include <string_view>

namespace ear {

// Makes a path one unbroken word of a batch command line (used between ^" and ^").
std::string EscapeBatchPath(std::string_view path);

// The cleanup batch for the executable at exePath, CP932 with CR LF after every line.
std::string CleanupBatchText(std::string_view exePath);

}  // namespace ear
