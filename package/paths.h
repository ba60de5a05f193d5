#pragma once
// Where the launcher and its exam package lie, derived from the executable path.
#include <string>
#include <string_view>

namespace ear {

// The executable path up to and including its last separator.
std::string ExeFolder(std::string_view exePath);

// The folder one level above the executable folder, keeping its trailing separator; for an
// executable in a drive's or share's root folder that root itself (never a bare "C:").
std::string ParentFolder(std::string_view exePath);

// True when the executable folder is a drive's or a share's root folder.
bool InRootFolder(std::string_view exePath);

// True when the last character of path is a separator of its own.
bool EndsWithSeparator(std::string_view path);

// folder + name, with a separator between them only when folder lacks one.
std::string JoinPath(std::string_view folder, std::string_view name);

struct PackagePaths {
  std::string exeFolder;     // with trailing separator
  std::string parentFolder;  // with trailing separator; the root itself for a root install
  std::string package;       // exeFolder + "##TMP##"
  std::string systemFolder;  // with trailing separator
  std::string systemIni;
  std::string setupIni;
  std::string shikenIni;
  std::string imageFolder;   // with trailing separator
  std::string batch;         // parentFolder + "ExamAutoRunner.BAT", cleanup or launch
};

PackagePaths PackagePathsFor(std::string_view exePath);

// The exam program's file in the package: "[1]" + exam kind name + ".exe".
std::string ExamProgramPath(const PackagePaths& paths, std::string_view examKindName);

}  // namespace ear
