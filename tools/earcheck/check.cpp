#include "tools/earcheck/check.h"

#include "base/sjis.h"
#include "tools/earcheck/platform.h"
#include "tools/earcheck/read_package.h"
#include "tools/earcheck/rules.h"

namespace earcheck {

std::optional<PackageReport> CheckPath(const std::string& nativePath) {
  const std::string full = FullPath(nativePath);
  const std::string sep(1, NativeSeparator());
  const std::string joint = full.back() == NativeSeparator() ? "" : sep;
  std::string package;
  if (KindOf(full + joint + "##TMP##" + sep + "system") == Kind::Folder) {
    package = full + joint + "##TMP##";
  } else if (KindOf(full + joint + "system") == Kind::Folder) {
    package = full;
  } else {
    return std::nullopt;
  }
  // The launcher's view: an executable beside the package folder.
  const std::string launcherPackage = LauncherForm(package);
  const std::size_t cut = ear::LastSeparator(launcherPackage);
  const std::string folder = cut == std::string::npos ? std::string() : launcherPackage.substr(0, cut + 1);
  const std::string name = cut == std::string::npos ? launcherPackage : launcherPackage.substr(cut + 1);
  return CheckPackage(ReadPackage(package, folder + "ExamAutoRunner.exe", name));
}

}  // namespace earcheck
