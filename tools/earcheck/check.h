#pragma once
// earcheck's core: what the launcher will do with one exam package, as findings: the
// package read (read_package.h), then judged (rules.h).
// Texts are Shift-JIS bytes like every text of the launcher.
#include <optional>
#include <string>

#include "tools/earcheck/findings.h"

namespace earcheck {

// PATH is a launcher folder holding "##TMP##" or a package folder itself; nullopt
// when neither holds a "system" folder. Opens files for reading only.
std::optional<PackageReport> CheckPath(const std::string& nativePath);

}  // namespace earcheck
