#include "package/package_settings.h"

#include "base/sjis.h"
#include "package/paths.h"

namespace ear {

RegistrationMode ModeFromAbb(std::string_view abb) {
  return abb.empty() ? RegistrationMode::Name : RegistrationMode::Venue;
}

bool IsAlternativeExamType(std::string_view examType) { return examType == "3"; }

std::string_view FileNameOrDevCode(std::string_view fileName, std::string_view devCode) {
  return fileName.empty() ? devCode : fileName;
}

std::size_t PictureExtSeparator(std::string_view ext) {
  for (std::size_t i = 0; i < ext.size(); i += CharLength(ext, i)) {
    if (ext[i] == '\\' || ext[i] == '/') return i;
  }
  return std::string_view::npos;
}

const char* PackageSettings::PrefixKey() const { return fileName.empty() ? kDevCodeKey.key : kFileNameKey.key; }

const char* SettingsFileInPackage(SettingsFile file) {
  switch (file) {
    case SettingsFile::System: return "system\\system.ini";
    case SettingsFile::Setup: return "system\\1\\setup.ini";
    case SettingsFile::Shiken: return "system\\shiken.ini";
  }
  return "";
}

std::string SettingsFilePath(const PackagePaths& paths, SettingsFile file) {
  return paths.package + "\\" + SettingsFileInPackage(file);
}

PackageSettings ReadPackageSettings(const SettingsReader& read) {
  PackageSettings s;
  for (const SettingKey& row : kSettingKeys) {
    if (row.Read()) row.field(s) = read(row.file, row.section, row.key);
  }
  return s;
}

}  // namespace ear
