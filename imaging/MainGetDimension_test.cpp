#include "imaging/MainGetDimension.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>

#include <unistd.h>

#include "base/error.h"
#include "imaging/file_reader.h"
#include "imaging/test_pictures.h"

namespace ear {
namespace {

using test::Bytes;
namespace fs = std::filesystem;

// The four error texts, spelled out here rather than taken from the code.
std::string Unsupported(const std::string& f) {
  return f + "\r\nには対応していません。 対応しているファイルは\r\n"
             "*.bmp, *.jpg, *.jpeg, *.png, *.psd, *.wmf, *.emf, *.gif, *.tif, *.tiff のみです。";
}
std::string Invalid(const std::string& f, const char* type) { return f + " \r\n不正な " + type + " ファイルです。"; }
std::string SizeFailure(const std::string& f) { return f + " \r\nサイズの取得に失敗しました。"; }
std::string Zero(const std::string& f) { return f + "\r\n画像サイズがゼロです。"; }

class TempFolder {
 public:
  TempFolder() : path_(fs::temp_directory_path() / ("ear_probe_" + std::to_string(::getpid()))) {
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~TempFolder() { fs::remove_all(path_); }
  std::string Write(const std::string& name, const std::string& bytes) const {
    const std::string file = (path_ / name).string();
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
  }
  std::string Path(const std::string& name) const { return (path_ / name).string(); }

 private:
  fs::path path_;
};

// Runs GetDimension: "WxH" on success, else the error's message.
std::string Probe(const std::string& file) {
  std::uint32_t w = 123, h = 456;
  try {
    const bool ok = GetDimension(file, w, h);
    return (ok ? "" : "false:") + std::to_string(w) + "x" + std::to_string(h);
  } catch (const Error& e) {
    return e.Message();
  }
}

enum class Kind { Size, Invalid, SizeFailure, Zero, Unsupported };
struct Case {
  const char* name;   // the file name; its extension picks the probe
  std::string bytes;
  Kind kind;
  std::uint32_t width = 0, height = 0;  // for Kind::Size
};

const char* TypeOf(const std::string& name) {
  const std::string ext = PictureExtension(name);
  if (ext == ".bmp") return "BMP";
  if (ext == ".jpg") return "JPG";
  if (ext == ".wmf") return "WMF";
  if (ext == ".emf") return "EMF";
  if (ext == ".gif") return "GIF";
  if (ext == ".png") return "PNG";
  if (ext == ".psd") return "PSD";
  return "TIF";
}

std::string Expected(const Case& c, const std::string& file) {
  switch (c.kind) {
    case Kind::Size: return std::to_string(c.width) + "x" + std::to_string(c.height);
    case Kind::Invalid: return Invalid(file, TypeOf(c.name));
    case Kind::SizeFailure: return SizeFailure(file);
    case Kind::Zero: return Zero(file);
    case Kind::Unsupported: return Unsupported(file);
  }
  return {};
}

std::string Cut(std::string s, std::size_t n) { return s.substr(0, n); }
std::string Patch(std::string s, std::size_t at, const std::string& bytes) { return s.replace(at, bytes.size(), bytes); }

std::vector<Case> ProbeTable() {
  using test::Bmp; using test::Emf; using test::Gif; using test::Jfif; using test::Jpg; using test::JpgFrame;
  using test::JpgSegment; using test::Png; using test::PngChunk; using test::Psd; using test::Tif; using test::Wmf;
  const std::string soi = Bytes().be16(0xFFD8).s;
  return {
      // BMP
      {"info.bmp", Bmp(7, 5), Kind::Size, 7, 5},
      {"core12.bmp", Bmp(300, 200, 12), Kind::Size, 300, 200},
      {"core12max.bmp", Bmp(0xFFFF, 0x8000, 12), Kind::Size, 65535, 32768},
      {"v5.bmp", Bmp(640, 480, 124), Kind::Size, 640, 480},
      {"topdown.bmp", Bmp(100, -100), Kind::Size, 100, 100},
      {"minheight.bmp", Bmp(1, INT32_MIN), Kind::Size, 1, 0x80000000u},
      {"negwidth.bmp", Bmp(-2, 3), Kind::Size, 0xFFFFFFFEu, 3},
      {"hugeheader.bmp", Patch(Bmp(9, 8), 14, Bytes().le32(0xFFFFFFF0)), Kind::Size, 9, 8},
      {"header8.bmp", Patch(Bmp(9, 8), 14, Bytes().le32(8)), Kind::Invalid},
      {"header11.bmp", Patch(Bmp(9, 8), 14, Bytes().le32(11)), Kind::Invalid},
      {"magic.bmp", Patch(Bmp(9, 8), 0, "BA"), Kind::Invalid},
      {"lowercase.bmp", Patch(Bmp(9, 8), 0, "bm"), Kind::Invalid},
      {"zerowidth.bmp", Bmp(0, 8), Kind::Zero},
      {"zeroheight.bmp", Bmp(8, 0), Kind::Zero},
      {"empty.bmp", "", Kind::Invalid},
      {"short17.bmp", Cut(Bmp(9, 8), 17), Kind::Invalid},
      {"short18.bmp", Cut(Bmp(9, 8), 18), Kind::Invalid},
      {"short25.bmp", Cut(Bmp(9, 8), 25), Kind::Invalid},
      {"exact26.bmp", Cut(Bmp(9, 8), 26), Kind::Size, 9, 8},
      {"core21.bmp", Cut(Bmp(9, 8, 12), 21), Kind::Invalid},
      {"core22.bmp", Cut(Bmp(9, 8, 12), 22), Kind::Size, 9, 8},
      // JPEG
      {"baseline.jpg", Jpg(640, 480), Kind::Size, 640, 480},
      {"PHOTO.JPEG", Jpg(33, 44), Kind::Size, 33, 44},
      {"progressive.jpg", soi + JpgFrame(0xFFC2, 800, 600) + "\xFF\xD9", Kind::Size, 800, 600},
      {"sof1.jpg", Jpg(5, 6, 0xFFC1), Kind::Size, 5, 6},
      {"sof15.jpg", Jpg(5, 6, 0xFFCF), Kind::Size, 5, 6},
      {"dhtfirst.jpg", soi + JpgSegment(0xFFC4, std::string(30, '\x02')) + JpgFrame(0xFFC0, 7, 9), Kind::Size, 7, 9},
      {"dacfirst.jpg", soi + JpgSegment(0xFFCC, "\x01\x02") + JpgFrame(0xFFC0, 7, 9), Kind::Size, 7, 9},
      {"jpgext.jpg", soi + JpgSegment(0xFFC8, "") + JpgFrame(0xFFC3, 7, 9), Kind::Size, 7, 9},
      {"eoi.jpg", soi + Jfif() + "\xFF\xD9" + JpgFrame(0xFFC0, 7, 9), Kind::Invalid},
      {"noframe.jpg", soi + Jfif() + JpgSegment(0xFFDB, std::string(65, 1)), Kind::Invalid},
      {"soionly.jpg", soi, Kind::Invalid},
      {"notsoi.jpg", Patch(Jpg(7, 9), 1, "\xD9"), Kind::Invalid},
      {"onebyte.jpg", "\xFF", Kind::Invalid},
      {"framecut.jpg", Cut(soi + JpgFrame(0xFFC0, 7, 9), 10), Kind::Invalid},
      {"frameexact.jpg", Cut(soi + JpgFrame(0xFFC0, 7, 9), 11), Kind::Size, 7, 9},
      {"markeratend.jpg", soi + Jfif() + "\xFF", Kind::Invalid},
      {"lengthpastend.jpg", soi + Bytes().be16(0xFFE1).be16(0x4000).text("abc").s, Kind::Invalid},
      {"lengthzero.jpg", soi + Bytes().be16(0xFFE1).be16(0).zeros(2).text(JpgFrame(0xFFC0, 3, 4)).s, Kind::Invalid},
      {"lengthtwo.jpg", soi + Bytes().be16(0xFFE1).be16(2).text(JpgFrame(0xFFC0, 3, 4)).s, Kind::Size, 3, 4},
      {"fill.jpg", soi + "\xFF" + JpgFrame(0xFFC0, 3, 4), Kind::Invalid},
      {"zero.jpg", Jpg(0, 9), Kind::Zero},
      {"straddle.jpg", test::LongJpg(250, 11, 12), Kind::Size, 11, 12},
      {"pastwindow.jpg", test::LongJpg(600, 13, 14), Kind::Size, 13, 14},
      {"straddlecut.jpg", Cut(test::LongJpg(250, 11, 12), 256), Kind::Invalid},
      // WMF
      {"placeable.wmf", Wmf(100, 50), Kind::Size, 100, 50},
      {"offset.wmf", Wmf(100, 50, 20, 10), Kind::Size, 100, 50},
      {"negative.wmf", Wmf(-1, 50), Kind::Size, 0xFFFFFFFFu, 50},
      {"checksum.wmf", Patch(Wmf(100, 50), 20, std::string(1, Wmf(100, 50)[20] ^ 1)), Kind::Invalid},
      {"plain.wmf", Wmf(100, 50).substr(22), Kind::Invalid},
      {"zero.wmf", Wmf(0, 50), Kind::Zero},
      {"short21.wmf", Cut(Wmf(100, 50), 21), Kind::Invalid},
      {"exact22.wmf", Cut(Wmf(100, 50), 22), Kind::Size, 100, 50},
      // EMF
      {"bounds.emf", Emf(99, 49), Kind::Size, 100, 50},
      {"type2.emf", Patch(Emf(99, 49), 0, "\x02"), Kind::Invalid},
      {"signature.emf", Patch(Emf(99, 49), 40, " emf"), Kind::Invalid},
      {"minusone.emf", Emf(-1, 49), Kind::Zero},
      {"short43.emf", Cut(Emf(99, 49), 43), Kind::Invalid},
      {"exact44.emf", Cut(Emf(99, 49), 44), Kind::Size, 100, 50},
      // GIF
      {"v89.gif", Gif(320, 240), Kind::Size, 320, 240},
      {"v87.gif", Gif(1, 2, "87a"), Kind::Size, 1, 2},
      {"v89b.gif", Gif(1, 2, "89b"), Kind::Invalid},
      {"v87A.gif", Gif(1, 2, "87A"), Kind::Invalid},
      {"magic.gif", Patch(Gif(1, 2), 0, "GIf"), Kind::Invalid},
      {"zero.gif", Gif(5, 0), Kind::Zero},
      {"short9.gif", Cut(Gif(1, 2), 9), Kind::Invalid},
      {"exact10.gif", Cut(Gif(1, 2), 10), Kind::Size, 1, 2},
      // PNG
      {"plain.png", Png(1024, 768), Kind::Size, 1024, 768},
      {"big.png", Png(0x80000001u, 3), Kind::Size, 0x80000001u, 3},
      {"ihdrlater.png", "\x89PNG\r\n\x1A\n" + PngChunk("gAMA", "abcd") + Png(5, 5).substr(8), Kind::Invalid},
      {"byte0.png", Patch(Png(5, 5), 0, "\x88"), Kind::Invalid},
      {"crcr.png", Patch(Png(5, 5), 5, "\r"), Kind::Invalid},
      {"eof.png", Patch(Png(5, 5), 7, "\x0B"), Kind::Invalid},
      {"ihdrcase.png", Patch(Png(5, 5), 12, "IHDr"), Kind::Invalid},
      {"zero.png", Png(0, 5), Kind::Zero},
      {"short23.png", Cut(Png(5, 6), 23), Kind::Invalid},
      {"exact24.png", Cut(Png(5, 6), 24), Kind::Size, 5, 6},
      // PSD
      {"plain.psd", Psd(640, 480), Kind::Size, 640, 480},
      {"psb.psd", Psd(640, 480, 2), Kind::Invalid},
      {"magic.psd", Patch(Psd(640, 480), 0, "8BPX"), Kind::Invalid},
      {"zero.psd", Psd(0, 480), Kind::Zero},
      {"short21.psd", Cut(Psd(6, 7), 21), Kind::Invalid},
      {"exact22.psd", Cut(Psd(6, 7), 22), Kind::Size, 6, 7},
      // TIFF
      {"le_short.tif", Tif(false, 640, 480), Kind::Size, 640, 480},
      {"be_short.tif", Tif(true, 640, 480), Kind::Size, 640, 480},
      {"le_long.tif", Tif(false, 70000, 3, 4), Kind::Size, 70000, 3},
      {"be_long.TIFF", Tif(true, 70000, 3, 4), Kind::Size, 70000, 3},
      {"heightfirst.tif", Tif(false, {{257, 3, 9}, {256, 3, 8}}), Kind::Size, 8, 9},
      {"nowidth.tif", Tif(false, {{254, 4, 0}, {257, 3, 9}, {258, 3, 8}}), Kind::SizeFailure},
      {"noentries.tif", Tif(true, {}), Kind::SizeFailure},
      {"bytewidth.tif", Tif(false, {{256, 1, 8}, {257, 3, 9}}), Kind::Zero},
      {"twowidths.tif", Tif(false, {{256, 3, 8}, {256, 3, 9}, {257, 3, 9}}), Kind::Zero},
      {"order.tif", Patch(Tif(false, 6, 7), 0, "IM"), Kind::Invalid},
      {"magic43.tif", Patch(Tif(false, 6, 7), 2, "\x2B"), Kind::Invalid},
      {"mixed.tif", Patch(Tif(false, 6, 7), 0, "MM"), Kind::Invalid},
      {"short7.tif", Cut(Tif(false, 6, 7), 7), Kind::Invalid},
      {"ifdpastend.tif", Patch(Tif(false, 6, 7), 4, Bytes().le32(0xFFFFFFF0)), Kind::Invalid},
      {"countcut.tif", Cut(Tif(false, 6, 7), 9), Kind::Invalid},
      {"entrycut.tif", Cut(Tif(false, 6, 7), 10 + 12 + 11), Kind::Invalid},
      {"exactentries.tif", Cut(Tif(false, 6, 7), 10 + 36), Kind::Size, 6, 7},
      {"straddle.tif", test::LongTif(false, 20, 21, 22), Kind::Size, 21, 22},
      {"straddle_be.tif", test::LongTif(true, 20, 21, 22), Kind::Size, 21, 22},
      {"longdir.tif", test::LongTif(true, 60, 23, 24), Kind::Size, 23, 24},
      {"longdircut.tif", Cut(test::LongTif(true, 60, 23, 24), 10 + 12 * 61 - 1), Kind::Invalid},
      // Extensions
      {"picture.jpe", Jpg(1, 1), Kind::Unsupported},
      {"picture.tga", Jpg(1, 1), Kind::Unsupported},
      {"noextension", Jpg(1, 1), Kind::Unsupported},
      {"trailingdot.", Jpg(1, 1), Kind::Unsupported},
      {"UPPER.PNG", Png(2, 3), Kind::Size, 2, 3},
      {"\x83\x5C\x83\x74\x83\x67.Gif", Gif(4, 5), Kind::Size, 4, 5},  // ソフト.Gif
  };
}

TEST(GetDimension, ProbeTable) {
  TempFolder folder;
  for (const Case& c : ProbeTable()) {
    const std::string file = folder.Write(c.name, c.bytes);
    EXPECT_EQ(Probe(file), Expected(c, file)) << c.name;
  }
}

TEST(GetDimension, MessagesAreTheExactCp932Bytes) {
  EXPECT_EQ(InvalidFileMessage("a.bmp", "BMP"),
            "a.bmp \r\n\x95\x73\x90\xB3\x82\xC8\x20" "BMP" "\x20\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xC5\x82\xB7\x81\x42");
  EXPECT_EQ(SizeFailureMessage("t.tif"),
            "t.tif \r\n\x83\x54\x83\x43\x83\x59\x82\xCC\x8E\xE6\x93\xBE\x82\xC9\x8E\xB8\x94\x73\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81\x42");
  EXPECT_EQ(ZeroSizeMessage("z.gif"), "z.gif\r\n\x89\xE6\x91\x9C\x83\x54\x83\x43\x83\x59\x82\xAA\x83\x5B\x83\x8D\x82\xC5\x82\xB7\x81\x42");
  EXPECT_EQ(UnsupportedTypeMessage("x.tga"),
            "x.tga\r\n\x82\xC9\x82\xCD\x91\xCE\x89\x9E\x82\xB5\x82\xC4\x82\xA2\x82\xDC\x82\xB9\x82\xF1\x81\x42\x20"
            "\x91\xCE\x89\x9E\x82\xB5\x82\xC4\x82\xA2\x82\xE9\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCD\r\n"
            "*.bmp, *.jpg, *.jpeg, *.png, *.psd, *.wmf, *.emf, *.gif, *.tif, *.tiff\x20\x82\xCC\x82\xDD\x82\xC5\x82\xB7\x81\x42");
}

TEST(GetDimension, EachProbeRaisesWithItsTypeName) {
  TempFolder folder;
  const std::string file = folder.Write("junk.bin", std::string(64, 'x'));
  using ProbeFn = bool (*)(const std::string&, std::uint32_t&, std::uint32_t&);
  const std::pair<ProbeFn, const char*> probes[] = {
      {GetBmpDimension, "BMP"}, {GetJpgDimension, "JPG"}, {GetWmfDimension, "WMF"}, {GetEmfDimension, "EMF"},
      {GetGifDimension, "GIF"}, {GetPngDimension, "PNG"}, {GetPsdDimension, "PSD"}, {GetTifDimension, "TIF"}};
  for (const auto& [probe, type] : probes) {
    std::uint32_t w = 0, h = 0;
    try {
      probe(file, w, h);
      ADD_FAILURE() << type;
    } catch (const Error& e) {
      EXPECT_EQ(e.Message(), Invalid(file, type));
    }
  }
  try {
    RaiseInvalidFile("f", "XYZ");
    ADD_FAILURE();
  } catch (const Error& e) {
    EXPECT_EQ(e.Message(), "f \r\n不正な XYZ ファイルです。");
  }
}

TEST(PictureExtension, TheFileExtensionWithTheLongFormsShortened) {
  struct Row { std::string name; std::string expected; };
  const Row rows[] = {
      {"a.bmp", ".bmp"},
      {"C:\\dir\\PHOTO.JPEG", ".jpg"},
      {"x.TiFf", ".tif"},
      {"x.tiff.bak", ".bak"},
      {"x.jpe", ".jpe"},
      {"noext", ""},
      {"C:\\\x83\x5C.JPEG", ".jpg"},                   // ソ.JPEG
      {"pic.bmp\x83\x5Cnoext", ".bmp\x83\x5Cnoext"},   // the 0x5C of ソ is no separator
  };
  for (const auto& r : rows) EXPECT_EQ(PictureExtension(r.name), r.expected) << r.name;
}

TEST(GetDimension, StartsBothOutputsAtZero) {
  TempFolder folder;
  const std::string file = folder.Write("bytewidth.tif", test::Tif(false, {{256, 1, 8}, {257, 3, 9}}));
  std::uint32_t w = 77, h = 88;
  EXPECT_THROW(GetDimension(file, w, h), Error);
  EXPECT_EQ(w, 0u);
  EXPECT_EQ(h, 9u);
}

TEST(GetDimension, MissingFileRaisesTheOpenError) {
  TempFolder folder;
  for (const char* name : {"missing.bmp", "missing.jpg", "missing.tiff", "missing.EMF"}) {
    const std::string file = folder.Path(name);
    EXPECT_EQ(Probe(file), FileOpenErrorText(file, std::strerror(ENOENT)));
  }
  // The extension is checked before the file is opened.
  EXPECT_EQ(Probe(folder.Path("missing.txt")), Unsupported(folder.Path("missing.txt")));
}

TEST(GetDimension, FolderNamedLikeAPictureRaisesTheOpenError) {
  TempFolder folder;
  for (const char* name : {"d.bmp", "d.jpg", "d.wmf", "d.emf", "d.gif", "d.png", "d.psd", "d.tif"}) {
    const std::string path = folder.Path(name);
    fs::create_directory(path);
    EXPECT_EQ(Probe(path), FileOpenErrorText(path, std::strerror(EISDIR))) << name;
  }
}

std::size_t OpenDescriptors() {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator()));
}

TEST(GetDimension, ClosesTheFileOnEveryPath) {
  TempFolder folder;
  std::vector<std::string> files;
  for (const Case& c : ProbeTable()) files.push_back(folder.Write(c.name, c.bytes));
  fs::create_directory(folder.Path("folder.png"));
  files.push_back(folder.Path("folder.png"));
  files.push_back(folder.Path("missing.gif"));
  const std::size_t before = OpenDescriptors();
  for (int round = 0; round < 20; ++round)
    for (const std::string& f : files) Probe(f);
  EXPECT_EQ(OpenDescriptors(), before);
}

TEST(GetDimension, FifoNamedLikeAPictureDoesNotBlock) {
  TempFolder folder;
  const std::string path = folder.Path("pipe.jpg");
  ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
  EXPECT_EQ(Probe(path), Invalid(path, "JPG"));
}

TEST(SwapAndChecksum, Values) {
  EXPECT_EQ(SwapLong(0x11223344u), 0x44332211u);
  EXPECT_EQ(SwapWord(0xA1B2), 0xB2A1);
  const std::string wmf = test::Wmf(100, 50);
  const auto* p = reinterpret_cast<const unsigned char*>(wmf.data());
  EXPECT_EQ(WmfChecksum(p), static_cast<std::uint16_t>(p[20] | p[21] << 8));
  const unsigned char words[20] = {1, 0, 2, 0, 4, 0, 0, 0x80};
  EXPECT_EQ(WmfChecksum(words), 0x8007);
}

TEST(ReadTifValue, ByType) {
  struct Row { std::string entry; bool big; std::uint32_t expected; };
  const Row rows[] = {
      {Bytes().le16(256).le16(3).le32(1).le16(640).le16(0x7777), false, 640},
      {Bytes().be16(256).be16(3).be32(1).be16(640).be16(0x7777), true, 640},
      {Bytes().le16(256).le16(4).le32(1).le32(0x12345678), false, 0x12345678},
      {Bytes().be16(256).be16(4).be32(1).be32(0x12345678), true, 0x12345678},
      {Bytes().le16(256).le16(1).le32(1).le32(9), false, 999},  // BYTE: unchanged
      {Bytes().le16(256).le16(5).le32(1).le32(9), false, 999},  // RATIONAL: unchanged
  };
  for (const auto& r : rows) {
    std::uint32_t v = 999;
    ReadTifValue(reinterpret_cast<const unsigned char*>(r.entry.data()), r.big, v);
    EXPECT_EQ(v, r.expected);
  }
}

}  // namespace
}  // namespace ear
