#include "package/ini.h"
#include "package/package_settings.h"
#include "package/paths.h"

namespace ear {

PackageSettings ReadPackageSettings(const PackagePaths& paths) {
  return ReadPackageSettings([&](SettingsFile file, const char* section, const char* key) {
    return ReadIniString(SettingsFilePath(paths, file), section, key);
  });
}

std::string ReadExamType(const PackagePaths& paths) {
  return ReadIniString(SettingsFilePath(paths, kExamTypeKey.file), kExamTypeKey.section, kExamTypeKey.key);
}

}  // namespace ear
