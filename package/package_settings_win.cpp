#include "package/ini.h"
#include "package/package_settings.h"
#include "package/paths.h"

namespace ear {

PackageSettings ReadPackageSettings(const PackagePaths& paths) {
  return ReadPackageSettings([&](SettingsFile file, const char* key) {
    return ReadIniString(file == SettingsFile::System ? paths.systemIni : paths.setupIni, kBasicSection, key);
  });
}

std::string ReadExamType(const PackagePaths& paths) {
  return ReadIniString(paths.setupIni, kBasicSection, kExamTypeKey);
}

}  // namespace ear
