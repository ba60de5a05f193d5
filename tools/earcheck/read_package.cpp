#include "tools/earcheck/read_package.h"

#include <cstdint>

#include "base/error.h"
#include "base/sjis.h"
#include "imaging/MainGetDimension.h"
#include "imaging/file_reader.h"
#include "imaging/jpeg/jpeg_decode.h"
#include "package/candidate_folder.h"
#include "package/package_pictures.h"
#include "package/paths.h"
#include "tools/earcheck/jpeg_header.h"
#include "tools/earcheck/rules.h"

namespace earcheck {

namespace {

std::string Number(unsigned long long v) { return std::to_string(v); }

// The JPEG decoder's verdict on a file's bytes.
void JudgeJpeg(const std::string& bytes, PictureFacts& p) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  unsigned w = 0, h = 0;
  if (!JpegFrameSize(data, bytes.size(), w, h)) {
    // The header alone fails: the decoder stops there too and gives libjpeg's reason.
    p.jpeg = PictureFacts::Jpeg::NoFrame;
    try {
      ear::DecodeJpeg(data, bytes.size());
    } catch (const ear::Error& e) {
      p.jpegMessage = e.Message();
    }
    return;
  }
  if (static_cast<unsigned long long>(w) * h > kMaxDecodePixels) {
    p.jpeg = PictureFacts::Jpeg::TooLarge;
    p.jpegWidth = w;
    p.jpegHeight = h;
    return;
  }
  try {
    const ear::DecodedImage image = ear::DecodeJpeg(data, bytes.size());
    p.jpeg = PictureFacts::Jpeg::Decoded;
    p.jpegWidth = static_cast<unsigned>(image.width);
    p.jpegHeight = static_cast<unsigned>(image.height);
  } catch (const ear::Error& e) {
    p.jpeg = PictureFacts::Jpeg::DecodeFailed;
    p.jpegMessage = e.Message();
  }
}

class Reader {
 public:
  Reader(const std::string& nativePackage, const std::string& exePath)
      : nativePackage_(nativePackage), paths_(ear::PackagePathsFor(exePath)) {}

  void ReadSettingsFile(const std::string& launcherPath, SettingsFileFacts& file) const {
    file.kind = KindAt(launcherPath);
    if (file.kind == Kind::File) file.read = ReadWhole(launcherPath, file.bytes, file.problem);
  }

  // The size probe where the launcher runs it, and the JPEG decoder's verdict on a ".jpg".
  void ReadPicture(const std::string& name, bool probed, PictureFacts& p) const {
    const std::string path = paths_.imageFolder + name;
    p.kind = KindAt(path);
    if (p.kind == Kind::Missing || p.kind == Kind::Folder) return;
    std::string native;
    Native(path, native);
    if (probed) {
      p.probed = true;
      try {
        ear::GetDimension(native, p.probedWidth, p.probedHeight);
      } catch (const ear::Error& e) {
        p.probeFailed = true;
        p.probeError = ShowPath(e.Message(), native, path);
        return;
      }
    }
    if (ear::PictureExtension(name) != ".jpg") return;
    std::string bytes;
    if (!ReadWhole(path, bytes, p.jpegMessage)) {
      p.jpeg = PictureFacts::Jpeg::Unread;
      return;
    }
    JudgeJpeg(bytes, p);
  }

  void ReadExamProgram(const std::string& examKindName, ExamProgramFacts& exam) const {
    // A name that would lead out of the package is refused by the launcher: nothing to read.
    if (ear::HasForbiddenFileNameChar(examKindName)) return;
    exam.looked = true;
    const std::string path = ear::ExamProgramPath(paths_, examKindName);
    exam.kind = KindAt(path);
    if (exam.kind != Kind::File) return;
    std::string native;
    Native(path, native);
    try {
      ear::FileReader reader(native);
      char dos[64] = {};
      exam.dosHeader.assign(dos, reader.ReadAt(0, dos, sizeof dos));
      if (exam.dosHeader.size() == sizeof dos && dos[0] == 'M' && dos[1] == 'Z') {
        const auto b = [&](int i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(dos[i])); };
        const std::uint32_t peAt = b(60) | b(61) << 8 | b(62) << 16 | b(63) << 24;
        char pe[24 + 72] = {};
        exam.peHeader.assign(pe, reader.ReadAt(peAt, pe, sizeof pe));
      }
    } catch (const ear::Error& e) {
      exam.unreadable = true;
      exam.problem = ShowPath(e.Message(), native, path);
    }
  }

  const ear::PackagePaths& Paths() const { return paths_; }

 private:
  std::string Rel(const std::string& launcherPath) const {
    return launcherPath.substr(std::min(launcherPath.size(), paths_.package.size() + 1));
  }

  // The native path of a path in the package; false when a name has no native form.
  bool Native(const std::string& launcherPath, std::string& native) const {
    native = nativePackage_;
    const std::string rest = Rel(launcherPath);
    std::size_t start = 0;
    while (start < rest.size()) {
      std::size_t end = start;
      while (end < rest.size() && rest[end] != '\\') end += ear::CharLength(rest, end);
      std::string name;
      if (!NativeName(std::string_view(rest).substr(start, end - start), name)) return false;
      native += NativeSeparator();
      native += name;
      start = end + 1;
    }
    return true;
  }

  Kind KindAt(const std::string& launcherPath) const {
    std::string native;
    return Native(launcherPath, native) ? KindOf(native) : Kind::Missing;
  }

  // The whole file through the probe's read-only file layer; false with a message.
  bool ReadWhole(const std::string& launcherPath, std::string& bytes, std::string& problem) const {
    std::string native;
    if (!Native(launcherPath, native)) {
      problem = "名前をこのシステムのファイル名に変換できません。";
      return false;
    }
    try {
      ear::FileReader reader(native);
      bytes.clear();
      char chunk[1 << 16];
      for (;;) {
        const std::size_t got = reader.ReadAt(static_cast<std::int64_t>(bytes.size()), chunk, sizeof chunk);
        bytes.append(chunk, got);
        if (got < sizeof chunk) break;
        if (bytes.size() > kMaxReadBytes) {
          problem = "ファイルが大きすぎます（" + Number(kMaxReadBytes / (1024 * 1024)) + " MiB を超えています）。";
          return false;
        }
      }
      return true;
    } catch (const ear::Error& e) {
      problem = ShowPath(e.Message(), native, launcherPath);
      return false;
    }
  }

  // Messages of the launcher's code name the file as passed in; show the
  // launcher's form of the path there.
  static std::string ShowPath(std::string message, const std::string& native, const std::string& launcher) {
    const std::size_t at = message.find(native);
    if (at != std::string::npos && native != launcher) message.replace(at, native.size(), launcher);
    return message;
  }

  std::string nativePackage_;
  ear::PackagePaths paths_;
};

}  // namespace

PackageFacts ReadPackage(const std::string& nativePackage, const std::string& exePath, const std::string& folderName) {
  PackageFacts facts;
  facts.nativePath = nativePackage;
  facts.folderName = folderName;
  facts.exePath = exePath;
  const Reader reader(nativePackage, exePath);
  for (const ear::SettingsFile file : {ear::SettingsFile::System, ear::SettingsFile::Setup, ear::SettingsFile::Shiken}) {
    reader.ReadSettingsFile(ear::SettingsFilePath(reader.Paths(), file), facts.settingsFiles[static_cast<int>(file)]);
  }
  const ear::PackageSettings settings = SettingsOf(facts);
  for (const ear::PackagePicture& row : ear::kPackagePictures) {
    // A name that leads out of the picture folder is never opened (the rules report the value).
    if (ear::PictureExtSeparator(ear::PictureExtValue(row, settings)) != std::string::npos) continue;
    const std::optional<std::string> name = ear::PictureFileName(row, settings);
    if (name && !facts.pictures.contains(*name)) reader.ReadPicture(*name, row.Probed(), facts.pictures[*name]);
  }
  reader.ReadExamProgram(settings.examKindName, facts.examProgram);
  facts.longestPathInside = LongestPathInside(nativePackage);
  return facts;
}

}  // namespace earcheck
