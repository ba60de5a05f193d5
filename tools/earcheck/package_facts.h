#pragma once
// A package as earcheck read it, held in memory: what lies at each path the launcher uses,
// the settings files' bytes, what the size probe and the JPEG decoder made of each picture,
// and the exam program's headers. The rules (rules.h) judge this alone; read_package.h fills it.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "tools/earcheck/platform.h"

namespace earcheck {

// A settings file.
struct SettingsFileFacts {
  Kind kind = Kind::Missing;
  bool read = false;     // bytes hold the whole file
  std::string bytes;
  std::string problem;   // why a file could not be read
};

// A picture in the package's picture folder.
struct PictureFacts {
  Kind kind = Kind::Missing;
  // The launcher's size probe, for pictures it probes.
  bool probed = false;
  bool probeFailed = false;
  std::string probeError;  // the probe's message, with the launcher's form of the path
  std::uint32_t probedWidth = 0, probedHeight = 0;
  // The JPEG decoder's verdict, for a ".jpg" name that the probe did not stop.
  enum class Jpeg { NotJpeg, Unread, NoFrame, TooLarge, DecodeFailed, Decoded };
  Jpeg jpeg = Jpeg::NotJpeg;
  std::string jpegMessage;  // why it was not read, or the decoder's message (may be empty for NoFrame)
  unsigned jpegWidth = 0, jpegHeight = 0;  // the frame's size (TooLarge) or the decoded size
};

// The exam program "[1]" + 部種名称 + ".exe".
struct ExamProgramFacts {
  bool looked = false;  // not for a 部種名称 the launcher refuses
  Kind kind = Kind::Missing;
  std::string dosHeader;  // the first bytes, at most 64
  std::string peHeader;   // at most 96 bytes at the offset the DOS header names; read after "MZ" only
  bool unreadable = false;
  std::string problem;
};

struct PackageFacts {
  std::string nativePath;   // the package folder as the file system names it
  std::string folderName;   // its own name, in the launcher's form
  std::string exePath;      // the launcher beside it, in the launcher's form
  SettingsFileFacts settingsFiles[3];           // by ear::SettingsFile
  std::map<std::string, PictureFacts> pictures;  // by file name in the picture folder
  ExamProgramFacts examProgram;
  // Bytes of the longest path of a file or folder inside the package, relative to it, as the
  // launcher's hand-over counts them (LongestPathInside).
  std::size_t longestPathInside = 0;
};

}  // namespace earcheck
