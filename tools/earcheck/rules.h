#pragma once
// earcheck's rules: what the launcher will do with a package, judged from what was read
// of it (package_facts.h) alone, without touching a file.
#include "package/package_settings.h"
#include "tools/earcheck/findings.h"
#include "tools/earcheck/package_facts.h"

namespace earcheck {

// The findings on the package, errors first, then warnings, then infos.
PackageReport CheckPackage(const PackageFacts& package);

// The settings as the launcher reads them from the settings files held.
ear::PackageSettings SettingsOf(const PackageFacts& package);

// Pictures larger than this many pixels are not decoded (the decoder would need
// three bytes a pixel at once).
constexpr unsigned long long kMaxDecodePixels = 40ull * 1000 * 1000;

}  // namespace earcheck
