#include "package/candidate_folder.h"

#include <algorithm>

#include "base/sjis.h"

namespace ear {

CandidateValues ValuesForMode(RegistrationMode mode, std::string_view kaiCd, std::string_view juBan,
                              std::string_view sei, std::string_view mei) {
  if (mode == RegistrationMode::Venue) return {kaiCd, juBan};
  return {sei, mei};
}

std::string CandidateFolderName(std::string_view parentFolder, std::string_view prefix, std::string_view first,
                                std::string_view second, std::string_view key) {
  std::string name;
  name.reserve(parentFolder.size() + prefix.size() + first.size() + second.size() + key.size() + 5);
  name.append(parentFolder).append(prefix).append(first).append("_").append(second);
  name.append("［").append(key).append("］");
  return name;
}

std::string CandidateExamProgramPath(std::string_view candidateFolder, std::string_view bushu) {
  std::string path(candidateFolder);
  path.append("\\[1]").append(bushu).append(".exe");
  return path;
}

bool IsExistingDirectory(std::uint32_t fileAttributes) {
  return fileAttributes != 0xFFFFFFFFu && (fileAttributes & 0x10u) != 0;  // FILE_ATTRIBUTE_DIRECTORY
}

RandomKeyMaker::RandomKeyMaker(std::uint64_t seed) : engine_(seed) {}

std::string RandomKeyMaker::MakeRandomKey(std::size_t length) {
  std::uniform_int_distribution<std::size_t> pick(0, kRandomKeyAlphabet.size() - 1);
  std::string key;
  key.reserve(length);
  while (key.size() < length) key.push_back(kRandomKeyAlphabet[pick(engine_)]);
  return key;
}

std::string MakeRandomKey(std::size_t length) {
  static RandomKeyMaker maker([] {
    std::random_device device;
    return (static_cast<std::uint64_t>(device()) << 32) ^ device();
  }());
  return maker.MakeRandomKey(length);
}

CandidateFolder ChooseCandidateFolder(std::string_view parentFolder, std::string_view prefix,
                                      const CandidateValues& values, const std::function<std::string()>& nextKey,
                                      const std::function<bool(const std::string&)>& directoryExists) {
  for (;;) {
    CandidateFolder folder;
    folder.key = nextKey();
    folder.path = CandidateFolderName(parentFolder, prefix, values.first, values.second, folder.key);
    if (!directoryExists(folder.path)) return folder;
  }
}

std::size_t FindForbiddenFileNameChar(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); i += CharLength(text, i)) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (CharLength(text, i) == 2) continue;
    if (c < 0x20 || std::string_view("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos) {
      return i;
    }
  }
  return std::string_view::npos;
}

std::size_t LongestCandidatePath(std::string_view parentFolder, const PackageSettings& settings,
                                 std::size_t longestInside, std::string_view first, std::string_view second) {
  const std::size_t folder =
      CandidateFolderName(parentFolder, settings.Prefix(), first, second, std::string(kRandomKeyLength, 'k')).size();
  // "\[1]" + 部種名称 + ".exe", and every other path, follow the folder after one "\".
  const std::size_t exam = CandidateExamProgramPath("", settings.examKindName).size() - 1;
  return folder + 1 + std::max({exam, kShikenIniInPackage.size(), longestInside});
}

long long BytesLeftForValues(std::string_view parentFolder, const PackageSettings& settings,
                             std::size_t longestInside) {
  return static_cast<long long>(kMaxPathBytes) -
         static_cast<long long>(LongestCandidatePath(parentFolder, settings, longestInside, "", ""));
}

const char* ForbiddenPackageValueKey(const PackageSettings& settings) {
  if (HasForbiddenFileNameChar(settings.examKindName)) return "部種名称";
  if (HasForbiddenFileNameChar(settings.Prefix())) return settings.PrefixKey();
  return nullptr;
}

}  // namespace ear
