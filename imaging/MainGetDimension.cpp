#include "imaging/MainGetDimension.h"

#include <algorithm>
#include <cstring>

#include "base/error.h"
#include "base/sjis.h"
#include "imaging/file_reader.h"

namespace ear {
namespace {

using u8 = unsigned char;

std::uint16_t Le16(const u8* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t Le32(const u8* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::uint16_t Be16(const u8* p) { return SwapWord(Le16(p)); }
std::uint32_t Be32(const u8* p) { return SwapLong(Le32(p)); }
std::uint16_t Word(const u8* p, bool bigEndian) { return bigEndian ? Be16(p) : Le16(p); }
std::uint32_t Long(const u8* p, bool bigEndian) { return bigEndian ? Be32(p) : Le32(p); }

bool BytesAre(const u8* p, const char* text) { return std::memcmp(p, text, std::strlen(text)) == 0; }

// The bytes of one open picture file. At(position, count, ahead) returns the count
// bytes at position; when they are not in hand it reads max(count, ahead) bytes
// there. The fixed-offset probes read their header in one read of at most 44 bytes
// at offset 0 (BMP: 26 bytes, the table's 18 and its 2 + 2 or 4 + 4 more); the JPEG
// and TIFF walks read ahead kWalkAhead bytes, so that a typical walk costs one or
// two system calls rather than one per marker, length and entry. A needed byte that
// the file does not have (a short read) rejects the file with the format's
// invalid-file error: the probe never uses bytes that it did not obtain.
constexpr std::size_t kWalkAhead = 256;

class Header {
 public:
  Header(const std::string& fileName, const char* typeName)
      : file_(fileName), fileName_(fileName), typeName_(typeName) {}

  const u8* At(std::int64_t position, std::size_t count, std::size_t ahead) {
    if (position >= start_ && position + static_cast<std::int64_t>(count) <= start_ + static_cast<std::int64_t>(got_))
      return buffer_ + (position - start_);
    start_ = position;
    got_ = file_.ReadAt(position, buffer_, std::min(std::max(count, ahead), sizeof buffer_));
    if (got_ < count) RaiseInvalidFile(fileName_, typeName_);
    return buffer_;
  }

 private:
  FileReader file_;  // owned: closed when the probe returns or throws
  const std::string& fileName_;
  const char* typeName_;
  u8 buffer_[kWalkAhead];
  std::int64_t start_ = 0;
  std::size_t got_ = 0;
};

}  // namespace

std::string UnsupportedTypeMessage(const std::string& fileName) {
  return fileName + "\r\nには対応していません。 対応しているファイルは\r\n"
         "*.bmp, *.jpg, *.jpeg, *.png, *.psd, *.wmf, *.emf, *.gif, *.tif, *.tiff のみです。";
}

std::string InvalidFileMessage(const std::string& fileName, const std::string& typeName) {
  return fileName + " \r\n不正な " + typeName + " ファイルです。";
}

std::string SizeFailureMessage(const std::string& fileName) {
  return fileName + " \r\nサイズの取得に失敗しました。";
}

std::string ZeroSizeMessage(const std::string& fileName) {
  return fileName + "\r\n画像サイズがゼロです。";
}

void RaiseInvalidFile(const std::string& fileName, const std::string& typeName) {
  throw Error(InvalidFileMessage(fileName, typeName));
}

std::uint16_t WmfChecksum(const unsigned char* header) {
  std::uint16_t sum = 0;
  for (int i = 0; i < 10; ++i) sum ^= Le16(header + 2 * i);
  return sum;
}

void ReadTifValue(const unsigned char* entry, bool bigEndian, std::uint32_t& value) {
  switch (Word(entry + 2, bigEndian)) {
    case 3: value = Word(entry + 8, bigEndian); break;
    case 4: value = Long(entry + 8, bigEndian); break;
    default: break;
  }
}

std::string PictureExtension(std::string_view fileName) {
  const std::string ext = FileExtension(fileName);
  if (ext == ".jpeg") return ".jpg";
  if (ext == ".tiff") return ".tif";
  return ext;
}

bool GetDimension(const std::string& fileName, std::uint32_t& width, std::uint32_t& height) {
  using Probe = bool (*)(const std::string&, std::uint32_t&, std::uint32_t&);
  struct Row { const char* extension; Probe probe; };
  static constexpr Row kProbes[] = {
      {".bmp", GetBmpDimension}, {".jpg", GetJpgDimension}, {".wmf", GetWmfDimension},
      {".emf", GetEmfDimension}, {".gif", GetGifDimension}, {".png", GetPngDimension},
      {".psd", GetPsdDimension}, {".tif", GetTifDimension},
  };
  width = 0;
  height = 0;
  const std::string extension = PictureExtension(fileName);
  for (const Row& row : kProbes) {
    if (extension != row.extension) continue;
    if (row.probe(fileName, width, height) && (width == 0 || height == 0))
      throw Error(ZeroSizeMessage(fileName));
    return true;
  }
  throw Error(UnsupportedTypeMessage(fileName));
}

bool GetBmpDimension(const std::string& fileName, std::uint32_t& width, std::uint32_t& height) {
  Header file(fileName, "BMP");
  const u8* h = file.At(0, 18, 26);
  const std::uint32_t headerSize = Le32(h + 14);
  if (!BytesAre(h, "BM") || headerSize < 12) RaiseInvalidFile(fileName, "BMP");
  if (headerSize == 12) {
    const u8* size = file.At(18, 4, 4);
    width = Le16(size);
    height = Le16(size + 2);
  } else {
    const u8* size = file.At(18, 8, 8);
    width = Le32(size);
    const std::uint32_t stored = Le32(size + 4);
    // A negative height marks a top-down picture; unsigned negation keeps 0x80000000 defined.
    height = (stored & 0x80000000u) ? 0u - stored : stored;
  }
  return true;
}

// The marker walk compares the position with the file size minus 1 before it
// reads a marker or a length; with fewer than 2 bytes left that read comes up short
// and rejects the file all the same, so the size itself is never asked for.
bool GetJpgDimension(const std::string& fileName, std::uint32_t& width, std::uint32_t& height) {
  Header file(fileName, "JPG");
  if (Be16(file.At(0, 2, kWalkAhead)) != 0xFFD8) RaiseInvalidFile(fileName, "JPG");
  std::int64_t position = 2;
  for (;;) {
    const std::uint16_t marker = Be16(file.At(position, 2, kWalkAhead));
    position += 2;
    if (marker >= 0xFFC0 && marker <= 0xFFCF && marker != 0xFFC4 && marker != 0xFFC8 && marker != 0xFFCC) {
      const u8* size = file.At(position + 3, 4, kWalkAhead);  // past the length and the precision
      height = Be16(size);
      width = Be16(size + 2);
      return true;
    }
    if (marker == 0xFFD9) RaiseInvalidFile(fileName, "JPG");
    const std::uint16_t length = Be16(file.At(position, 2, kWalkAhead));
    position += length;  // the length counts its own two bytes
  }
}

bool GetWmfDimension(const std::string& fileName, std::uint32_t& width, std::uint32_t& height) {
  Header file(fileName, "WMF");
  const u8* h = file.At(0, 22, 22);
  if (Le32(h) != 0x9AC6CDD7u || WmfChecksum(h) != Le16(h + 20)) RaiseInvalidFile(fileName, "WMF");
  width = static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<std::int16_t>(Le16(h + 10))));
  height = static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<std::int16_t>(Le16(h + 12))));
  return true;
}

bool GetEmfDimension(const std::string& fileName, std::uint32_t& width, std::uint32_t& height) {
  Header file(fileName, "EMF");
  const u8* h = file.At(0, 44, 44);
  if (Le32(h) != 1 || !BytesAre(h + 40, " EMF")) RaiseInvalidFile(fileName, "EMF");
  width = Le32(h + 16) + 1;
  height = Le32(h + 20) + 1;
  return true;
}

bool GetGifDimension(const std::string& fileName, std::uint32_t& width, std::uint32_t& height) {
  Header file(fileName, "GIF");
  const u8* h = file.At(0, 10, 10);
  if (!BytesAre(h, "GIF") || !(BytesAre(h + 3, "87a") || BytesAre(h + 3, "89a")))
    RaiseInvalidFile(fileName, "GIF");
  width = Le16(h + 6);
  height = Le16(h + 8);
  return true;
}

bool GetPngDimension(const std::string& fileName, std::uint32_t& width, std::uint32_t& height) {
  Header file(fileName, "PNG");
  const u8* h = file.At(0, 24, 24);  // the table's 8, then 16 more
  if (h[0] != 0x89 || !BytesAre(h + 1, "PNG\r\n") || Be16(h + 6) != 0x1A0A || !BytesAre(h + 12, "IHDR"))
    RaiseInvalidFile(fileName, "PNG");
  width = Be32(h + 16);
  height = Be32(h + 20);
  return true;
}

bool GetPsdDimension(const std::string& fileName, std::uint32_t& width, std::uint32_t& height) {
  Header file(fileName, "PSD");
  const u8* h = file.At(0, 22, 22);
  if (!BytesAre(h, "8BPS") || Be16(h + 4) != 1) RaiseInvalidFile(fileName, "PSD");
  width = Be32(h + 18);
  height = Be32(h + 14);
  return true;
}

bool GetTifDimension(const std::string& fileName, std::uint32_t& width, std::uint32_t& height) {
  Header file(fileName, "TIF");
  const u8* h = file.At(0, 8, kWalkAhead);
  bool bigEndian;
  switch (Le32(h)) {
    case 0x002A4949u: bigEndian = false; break;
    case 0x2A004D4Du: bigEndian = true; break;
    default: RaiseInvalidFile(fileName, "TIF");
  }
  std::int64_t position = Long(h + 4, bigEndian);
  const std::uint16_t entries = Word(file.At(position, 2, kWalkAhead), bigEndian);
  position += 2;
  int wanted = 2;
  for (std::uint16_t i = 0; i < entries; ++i, position += 12) {
    const u8* entry = file.At(position, 12, kWalkAhead);
    const std::uint16_t tag = Word(entry, bigEndian);
    if (tag != 256 && tag != 257) continue;
    ReadTifValue(entry, bigEndian, tag == 256 ? width : height);
    if (--wanted == 0) return true;
  }
  throw Error(SizeFailureMessage(fileName));
}

}  // namespace ear
