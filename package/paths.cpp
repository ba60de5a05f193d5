#include "package/paths.h"

#include "base/sjis.h"

namespace ear {

namespace {

constexpr std::string_view kPackageName = "##TMP##";
constexpr std::string_view kBatchName = "ExamAutoRunner.BAT";

// Position after the last character that is a separator or a drive colon, or 0.
std::size_t AfterLastSeparatorOrColon(std::string_view path) {
  std::size_t end = 0;
  for (std::size_t i = 0; i < path.size(); i += CharLength(path, i)) {
    if (path[i] == '\\' || path[i] == ':') end = i + 1;
  }
  return end;
}

// Number of separators that are characters of their own.
std::size_t CountSeparators(std::string_view path) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < path.size(); i += CharLength(path, i)) {
    if (path[i] == '\\') ++count;
  }
  return count;
}

// The parent-folder rule as such: in a root folder only the drive designator ("C:") remains.
std::string CutParent(std::string_view exePath) {
  std::string folder = ExeFolder(exePath);
  if (!folder.empty()) folder.pop_back();
  folder.resize(AfterLastSeparatorOrColon(folder));
  return folder;
}

}  // namespace

std::string ExeFolder(std::string_view exePath) {
  const std::size_t sep = LastSeparator(exePath);
  if (sep == std::string_view::npos) return {};
  return std::string(exePath.substr(0, sep + 1));
}

std::string ParentFolder(std::string_view exePath) {
  // A bare "C:" names the drive's current directory: a root install keeps its root instead.
  return InRootFolder(exePath) ? ExeFolder(exePath) : CutParent(exePath);
}

bool InRootFolder(std::string_view exePath) {
  const std::string folder = ExeFolder(exePath);
  if (folder.empty()) return true;
  if (!EndsWithSeparator(CutParent(exePath))) return true;  // "C:\" leaves only "C:"
  // "\\server\share\" is the root of a share: its parent "\\server\" is no folder.
  return folder.starts_with("\\\\") && CountSeparators(folder) <= 4;
}

bool EndsWithSeparator(std::string_view path) {
  const std::size_t sep = LastSeparator(path);
  return sep != std::string_view::npos && sep + 1 == path.size();
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string joined(folder);
  if (!EndsWithSeparator(folder)) joined += '\\';
  joined += name;
  return joined;
}

PackagePaths PackagePathsFor(std::string_view exePath) {
  PackagePaths p;
  p.exeFolder = ExeFolder(exePath);
  p.parentFolder = ParentFolder(exePath);
  p.package = p.exeFolder + std::string(kPackageName);
  p.systemFolder = p.package + "\\system\\";
  p.systemIni = p.systemFolder + "system.ini";
  p.setupIni = p.systemFolder + "1\\setup.ini";
  p.shikenIni = p.systemFolder + "shiken.ini";
  p.imageFolder = p.systemFolder + "Image\\";
  p.batch = p.parentFolder + std::string(kBatchName);
  return p;
}

std::string ExamProgramPath(const PackagePaths& paths, std::string_view examKindName) {
  return paths.package + "\\[1]" + std::string(examKindName) + ".exe";
}

}  // namespace ear
