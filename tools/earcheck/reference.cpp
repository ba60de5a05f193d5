#include "tools/earcheck/reference.h"

#include "package/package_pictures.h"
#include "package/package_settings.h"
#include "tools/earcheck/findings.h"
#include "tools/earcheck/platform.h"
#include "tools/earcheck/report.h"

namespace earcheck {

namespace {

// A table text (Shift-JIS, no control characters) as a JSON string.
std::string Json(const char* sjis) {
  std::string out = "\"";
  for (const char c : Utf8FromSjis(sjis)) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

std::string Json(int v) { return std::to_string(v); }

const char* FileName(ear::SettingsFile file) {
  switch (file) {
    case ear::SettingsFile::System: return "system";
    case ear::SettingsFile::Setup: return "setup";
    case ear::SettingsFile::Shiken: break;
  }
  return "shiken";
}

std::string Takers(unsigned takers) {
  static constexpr struct { unsigned bit; const char* name; } kNames[] = {
      {ear::kBackdrop, "backdrop"}, {ear::kTitle, "title"}, {ear::kProcedure, "procedure"},
      {ear::kRegistration, "registration"}, {ear::kHandover, "handover"}};
  std::string out = "[";
  for (const auto& n : kNames) {
    if (takers & n.bit) out += std::string(out.size() > 1 ? ", " : "") + "\"" + n.name + "\"";
  }
  return out + "]";
}

const char* PlacementName(ear::Placement p) {
  switch (p) {
    case ear::Placement::Tiled: return "tiled";
    case ear::Placement::TopLeftCut: return "top-left-cut";
    case ear::Placement::CentredCut: return "centred-cut";
    case ear::Placement::KeyedScaled: break;
  }
  return "keyed-scaled";
}

const char* MissingName(ear::WhenMissing m) {
  switch (m) {
    case ear::WhenMissing::Silent: return "silent";
    case ear::WhenMissing::Optional: return "optional";
    case ear::WhenMissing::ErrorBox: return "error-box";
    case ear::WhenMissing::HidesText: break;
  }
  return "hides-text";
}

}  // namespace

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

std::string TableJson() {
  std::string out = "{\"settingsFiles\": {";
  for (const ear::SettingsFile file : {ear::SettingsFile::System, ear::SettingsFile::Setup, ear::SettingsFile::Shiken}) {
    out += std::string(file == ear::SettingsFile::System ? "" : ", ") + "\"" + FileName(file) +
           "\": " + Json(ear::SettingsFileInPackage(file));
  }
  out += "},\n \"keys\": [";
  bool first = true;
  for (const ear::SettingKey& row : ear::kSettingKeys) {
    out += std::string(first ? "\n" : ",\n") + "  {\"file\": \"" + FileName(row.file) + "\", \"section\": " +
           Json(row.section) + ", \"key\": " + Json(row.key) + ", \"read\": " + (row.Read() ? "true" : "false") +
           ", \"takers\": " + Takers(row.takers) + "}";
    first = false;
  }
  out += "],\n \"pictures\": [";
  first = true;
  for (const ear::PackagePicture& row : ear::kPackagePictures) {
    out += std::string(first ? "\n" : ",\n") + "  {\"name\": " + Json(row.name) +
           ", \"extKey\": " + (row.extKey ? Json(row.extKey->key) : "null") + ", \"takers\": " + Takers(row.takers) +
           ", \"control\": " + Json(row.control) + ", \"placement\": \"" + PlacementName(row.placement) +
           "\", \"box\": [" + Json(row.box.width) + ", " + Json(row.box.height) + "], \"top\": " + Json(row.top) +
           ", \"centreOn\": " + Json(row.centreOn) + ", \"left\": \"" +
           (row.left == ear::KeyedLeft::Centred ? "centred" : "exam-name-left") + "\", \"missing\": \"" +
           MissingName(row.missing) + "\", \"probed\": " + (row.Probed() ? "true" : "false") + "}";
    first = false;
  }
  return out + "]}\n";
}

}  // namespace earcheck
