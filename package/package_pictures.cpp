#include "package/package_pictures.h"

#include "package/paths.h"

namespace ear {

const std::string& PictureExtValue(const PackagePicture& picture, const PackageSettings& settings) {
  static const std::string none;
  return picture.extKey ? picture.extKey->Value(settings) : none;
}

std::optional<std::string> PictureFileName(const PackagePicture& picture, const PackageSettings& settings) {
  if (!picture.extKey) return std::string(picture.name);
  const std::string& ext = PictureExtValue(picture, settings);
  if (ext.empty()) return std::nullopt;
  return picture.name + ext;
}

std::string PicturePath(const PackagePaths& paths, const PackagePicture& picture, const PackageSettings& settings) {
  return paths.imageFolder + PictureFileName(picture, settings).value_or(picture.name);
}

std::string PicturePath(const PackagePaths& paths, const PackagePicture& picture) {
  return paths.imageFolder + picture.name;
}

}  // namespace ear
