#pragma once
// earcheck's core: what the launcher will do with one exam package, as findings.
// Texts are Shift-JIS bytes like every text of the launcher.
#include <optional>
#include <string>
#include <vector>

namespace earcheck {

enum class Severity { Error, Warning, Info };

struct Finding {
  Severity severity;
  std::string file;                // relative to the package, "\" separators; empty: none
  std::optional<std::string> key;  // the INI key concerned
  std::string message;
};

struct PackageReport {
  std::string nativePath;  // the package folder as the file system names it
  bool venueMode = false;  // "ABB" non-empty
  std::string examType;    // value of "受験タイプ"
  std::vector<Finding> findings;  // errors first, then warnings, then infos

  int Count(Severity s) const;
  bool Ok() const { return Count(Severity::Error) == 0; }
};

// PATH is a launcher folder holding "##TMP##" or a package folder itself; nullopt
// when neither holds a "system" folder. Opens files for reading only.
std::optional<PackageReport> CheckPath(const std::string& nativePath);

// Pictures larger than this many pixels are not decoded (the decoder would need
// three bytes a pixel at once).
constexpr unsigned long long kMaxDecodePixels = 40ull * 1000 * 1000;
// Files read whole (INI files, JPEGs) larger than this are not read.
constexpr unsigned long long kMaxReadBytes = 128ull * 1024 * 1024;

}  // namespace earcheck
