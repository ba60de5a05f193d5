#include "package/package_settings.h"

#include "base/sjis.h"

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

PackageSettings ReadPackageSettings(const SettingsReader& read) {
  PackageSettings s;
  const auto system = [&](const char* key) { return read(SettingsFile::System, key); };
  s.title.examName = system("試験名");
  s.title.examPictureExt = system("試験画像拡張子");
  s.title.makerPictureExt = system("メーカー画像拡張子");
  s.title.gradePictureExt = system("級TOP画像拡張子");
  s.title.gradeName = system("級名");
  s.abb = system("ABB");
  s.devCode = system("開発コード");
  s.fileName = system("ファイル名称");
  s.examType = read(SettingsFile::Setup, kExamTypeKey);
  s.examKindName = read(SettingsFile::Setup, "部種名称");
  return s;
}

}  // namespace ear
