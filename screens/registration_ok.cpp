#include "screens/registration_ok.h"

#include "base/sjis.h"
#include "package/batch.h"
#include "package/candidate_folder.h"
#include "package/paths.h"

namespace ear {

namespace {

CheckResult CheckEntries(RegistrationMode mode, const Entries& e, std::string_view parentFolder,
                         const PackageSettings& settings, std::size_t longestInside) {
  if (mode == RegistrationMode::Name) return CheckNames(e.sei, e.mei, parentFolder, settings, longestInside);
  const CheckResult venueCode = CheckVenueCode(e.kaiCd);
  return venueCode.ok ? CheckCandidateNumber(e.juBan) : venueCode;
}

}  // namespace

HandoverPlan PlanHandover(const PackageSettings& settings, const Entries& entries, const HandoverPlace& place,
                          const KeySource& nextKey, const DirExists& directoryExists) {
  const PackagePaths paths = PackagePathsFor(place.exePath);
  const RegistrationMode mode = settings.Mode();
  HandoverPlan plan;
  plan.check = CheckEntries(mode, entries, paths.parentFolder, settings, place.longestInPackage);
  if (!plan.check.ok) return plan;

  const CandidateValues values = ValuesForMode(mode, entries.kaiCd, entries.juBan, entries.sei, entries.mei);
  if (ForbiddenPackageValueKey(settings) != nullptr) {
    plan.refusal = kMsgDeployFailed;
    return plan;
  }
  // The venue code is five bytes: only the candidate number can be made shorter.
  if (LongestCandidatePath(paths.parentFolder, settings, place.longestInPackage, values.first, values.second) >
      kMaxPathBytes) {
    plan.check = {false, RegistrationEdit::JuBanEdt, kMsgDeployFailed};
    return plan;
  }

  const CandidateFolder folder =
      ChooseCandidateFolder(paths.parentFolder, settings.Prefix(), values, nextKey, directoryExists);
  plan.candidateFolder = folder.path;
  plan.key = folder.key;
  const auto write = [&](const SettingKey& row, std::string_view value) {
    plan.iniWrites.push_back({SettingsFilePath(paths, row.file), row.section, row.key, std::string(value)});
  };
  const bool venue = mode == RegistrationMode::Venue;
  write(kUniqueKeyKey, folder.key);
  write(venue ? kVenueCodeKey : kSurnameKey, values.first);
  write(venue ? kCandidateNumberKey : kGivenNameKey, values.second);
  plan.systemFolder = paths.systemFolder;
  plan.package = paths.package;
  plan.examProgram = CandidateExamProgramPath(folder.path, settings.examKindName);
  plan.batchPath = paths.batch;
  plan.batchText = LaunchBatchText(plan.examProgram, place.exePath, paths.exeFolder, place.systemFolder);
  return plan;
}

ExamWindowWait WaitForExamWindow(const std::function<bool()>& windowShown,
                                 const std::function<void()>& pauseAndProcess,
                                 const std::function<std::uint64_t()>& nowMs, std::uint64_t timeoutMs) {
  const std::uint64_t start = nowMs();
  for (;;) {
    if (windowShown()) return ExamWindowWait::Shown;
    if (nowMs() - start >= timeoutMs) return windowShown() ? ExamWindowWait::Shown : ExamWindowWait::TimedOut;
    pauseAndProcess();
  }
}

std::string PathWithoutExtension(std::string_view path) {
  std::size_t dot = std::string_view::npos;
  for (std::size_t i = 0; i < path.size(); i += CharLength(path, i)) {
    if (path[i] == '.') dot = i;
    if (path[i] == '\\' || path[i] == ':') dot = std::string_view::npos;
  }
  return std::string(path.substr(0, dot));
}

bool IsExecutableItself(std::string_view path, std::string_view exePath) {
  return PathWithoutExtension(path) == PathWithoutExtension(exePath);
}

}  // namespace ear
