#pragma once
// earcheck's two outputs: the text report for people and the JSON document.
#include <string>
#include <vector>

#include "tools/earcheck/check.h"

namespace earcheck {

// Text in Shift-JIS bytes (the caller converts it for the terminal); the package
// path is given in the terminal's form.
std::string TextReport(const PackageReport& report, const std::string& shownPath);

// One JSON document, UTF-8: {"packages": [...]}.
std::string JsonReport(const std::vector<PackageReport>& reports);

}  // namespace earcheck
