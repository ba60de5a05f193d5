#pragma once
// Reading a package for the rules: every file the launcher takes, read only, into memory.
#include <string>

#include "tools/earcheck/package_facts.h"

namespace earcheck {

// The package at the native path, as the launcher at exePath (launcher form) would find it;
// folderName is the package folder's own name. Opens files for reading only.
PackageFacts ReadPackage(const std::string& nativePackage, const std::string& exePath, const std::string& folderName);

// Files read whole (INI files, JPEGs) larger than this are not read.
constexpr unsigned long long kMaxReadBytes = 128ull * 1024 * 1024;

}  // namespace earcheck
