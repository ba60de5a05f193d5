#include "screens/candidate_folder.h"

namespace ear {

RegistrationMode ModeFromAbb(std::string_view abb) {
  return abb.empty() ? RegistrationMode::Name : RegistrationMode::Venue;
}

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

}  // namespace ear
