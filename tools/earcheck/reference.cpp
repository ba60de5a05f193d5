#include "tools/earcheck/reference.h"

#include "package/package_pictures.h"
#include "package/package_settings.h"
#include "tools/earcheck/findings.h"
#include "tools/earcheck/report.h"

namespace earcheck {

std::string ReferenceText() {
  std::string out;
  for (const ear::SettingKey& row : ear::kSettingKeys) {
    out += std::string("ini\t") + ear::SettingsFileInPackage(row.file) + "\t" + row.section + "\t" + row.key + "\n";
  }
  for (const ear::PackagePicture& row : ear::kPackagePictures) {
    // A keyed picture's value carries its own dot (".png"), appended to the name as it is.
    out += std::string("picture\tsystem\\Image\\") + row.name + (row.extKey ? ".<ext>" : "") + "\t" +
           (row.extKey ? row.extKey->key : "") + "\n";
  }
  for (const FindingKindRow& row : kFindingKinds) {
    out += std::string("finding\t") + row.id + "\t" + SeverityName(row.severity) + "\n";
  }
  return out;
}

}  // namespace earcheck
