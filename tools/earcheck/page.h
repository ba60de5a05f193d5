#pragma once
// Writing the report page (--html, and the page of a drag-and-drop start) for the packages
// checked, one package's pictures at a time.
#include <string>
#include <vector>

#include "tools/earcheck/check.h"

namespace earcheck {

// Whether the page may go to `fullFile`: not a folder, and not into any of the packages
// (writing there would change it). Says why on standard error when not.
bool PageFileAllowed(const std::string& fullFile, const std::vector<PackageReport>& reports);

// Writes the page: the summary, then each package's card with its screens painted where this
// build can paint them. False, said on standard error, when the page or a picture could not
// be written.
bool WritePage(const std::string& fullFile, const std::vector<PackageReport>& reports,
               const std::vector<std::string>& skipped);

}  // namespace earcheck
