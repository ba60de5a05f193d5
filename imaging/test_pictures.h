#pragma once
// Test-only byte builders: the smallest headers of the eight formats that the
// probe reads, with the fields the probe table names.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace ear::test {

struct Bytes {
  std::string s;
  Bytes& u8(unsigned v) { s += static_cast<char>(v & 0xFF); return *this; }
  Bytes& le16(std::uint32_t v) { return u8(v).u8(v >> 8); }
  Bytes& le32(std::uint32_t v) { return le16(v).le16(v >> 16); }
  Bytes& be16(std::uint32_t v) { return u8(v >> 8).u8(v); }
  Bytes& be32(std::uint32_t v) { return be16(v >> 16).be16(v); }
  Bytes& w16(std::uint32_t v, bool big) { return big ? be16(v) : le16(v); }
  Bytes& w32(std::uint32_t v, bool big) { return big ? be32(v) : le32(v); }
  Bytes& text(const std::string& t) { s += t; return *this; }
  Bytes& zeros(std::size_t n) { s.append(n, '\0'); return *this; }
  operator std::string() const { return s; }
};

// BMP: file header and an info header of headerSize bytes (12: the core header).
inline std::string Bmp(std::int32_t width, std::int32_t height, std::uint32_t headerSize = 40) {
  Bytes b;
  b.text("BM").le32(14 + headerSize + 4).le32(0).le32(14 + headerSize).le32(headerSize);
  if (headerSize == 12) {
    b.le16(width).le16(height).le16(1).le16(24);
  } else {
    b.le32(width).le32(height).le16(1).le16(24);
    if (headerSize > 28) b.zeros(headerSize - 16);
  }
  return b.zeros(4);
}

// A JPEG segment: marker and a payload behind its length field.
inline std::string JpgSegment(std::uint16_t marker, const std::string& payload) {
  return Bytes().be16(marker).be16(payload.size() + 2).text(payload);
}
inline std::string JpgFrame(std::uint16_t marker, std::uint16_t width, std::uint16_t height) {
  return JpgSegment(marker, Bytes().u8(8).be16(height).be16(width).u8(1).u8(1).u8(0x11).u8(0));
}
inline std::string Jfif() {
  return JpgSegment(0xFFE0, Bytes().text(std::string("JFIF\0", 5)).u8(1).u8(1).u8(0).be16(72).be16(72).u8(0).u8(0));
}
inline std::string Jpg(std::uint16_t width, std::uint16_t height, std::uint16_t frame = 0xFFC0) {
  return Bytes().be16(0xFFD8).text(Jfif()).text(JpgSegment(0xFFDB, std::string(65, '\x01')))
      .text(JpgFrame(frame, width, height)).text(JpgSegment(0xFFDA, std::string(10, '\0')))
      .text("\x12\x34").be16(0xFFD9);
}

// Placeable WMF: the 22-byte placeable header (checksum fixed up) and a metafile header.
inline std::string Wmf(std::int16_t right, std::int16_t bottom, std::int16_t left = 0, std::int16_t top = 0) {
  Bytes b;
  b.le32(0x9AC6CDD7).le16(0).le16(left).le16(top).le16(right).le16(bottom).le16(1440).le32(0);
  std::uint16_t sum = 0;
  for (int i = 0; i < 10; ++i)
    sum ^= static_cast<std::uint16_t>(static_cast<unsigned char>(b.s[2 * i]) |
                                      static_cast<unsigned char>(b.s[2 * i + 1]) << 8);
  b.le16(sum);
  return b.le16(1).le16(9).le16(0x300).le32(12).le16(0).le32(3).le16(0).le16(3).le16(0).le16(0);
}

// EMF: the EMR_HEADER record up to its signature and a little more.
inline std::string Emf(std::int32_t right, std::int32_t bottom) {
  return Bytes().le32(1).le32(88).le32(0).le32(0).le32(right).le32(bottom)
      .le32(0).le32(0).le32(2540).le32(2540).text(" EMF").le32(0x10000).le32(108).le32(1)
      .le16(1).le16(0).le32(0).le32(0).le32(0).le32(1024).le32(768).le32(320).le32(240);
}

inline std::string Gif(std::uint16_t width, std::uint16_t height, const std::string& version = "89a") {
  return Bytes().text("GIF" + version).le16(width).le16(height).u8(0).u8(0).u8(0).text(";");
}

inline std::string PngChunk(const std::string& type, const std::string& data) {
  return Bytes().be32(data.size()).text(type).text(data).be32(0);
}
inline std::string Png(std::uint32_t width, std::uint32_t height) {
  return Bytes().text("\x89PNG\r\n\x1A\n")
      .text(PngChunk("IHDR", Bytes().be32(width).be32(height).u8(8).u8(2).u8(0).u8(0).u8(0)))
      .text(PngChunk("IEND", ""));
}

inline std::string Psd(std::uint32_t width, std::uint32_t height, std::uint16_t version = 1) {
  return Bytes().text("8BPS").be16(version).zeros(6).be16(3).be32(height).be32(width).be16(8).be16(3).be32(0);
}

// TIFF: header, then the first directory at offset 8 with the given entries
// {tag, type, value}; a SHORT value sits in the first two bytes of the field.
struct TifEntry { std::uint16_t tag; std::uint16_t type; std::uint32_t value; };
inline std::string Tif(bool bigEndian, const std::vector<TifEntry>& entries) {
  Bytes b;
  b.text(bigEndian ? "MM" : "II").w16(42, bigEndian).w32(8, bigEndian).w16(entries.size(), bigEndian);
  for (const TifEntry& e : entries) {
    b.w16(e.tag, bigEndian).w16(e.type, bigEndian).w32(1, bigEndian);
    if (e.type == 3) b.w16(e.value, bigEndian).w16(0, bigEndian);
    else b.w32(e.value, bigEndian);
  }
  return b.le32(0);
}
// A directory whose size entries come after `before` other entries: with 20 the
// width entry straddles the probe's 256-byte read-ahead.
inline std::string LongTif(bool bigEndian, int before, std::uint32_t width, std::uint32_t height) {
  std::vector<TifEntry> entries;
  for (int i = 0; i < before; ++i) entries.push_back({static_cast<std::uint16_t>(254 - before + i), 3, 1});
  entries.push_back({256, 3, width});
  entries.push_back({257, 4, height});
  return Tif(bigEndian, entries);
}
// A JPEG whose frame header starts at offset `frameAt` (at least 6), behind one APP1
// segment: with 250 the height straddles the probe's 256-byte read-ahead.
inline std::string LongJpg(std::size_t frameAt, std::uint16_t width, std::uint16_t height) {
  return Bytes().be16(0xFFD8).text(JpgSegment(0xFFE1, std::string(frameAt - 6, 'e')))
      .text(JpgFrame(0xFFC0, width, height)).s;
}
inline std::string Tif(bool bigEndian, std::uint32_t width, std::uint32_t height, std::uint16_t type = 3) {
  return Tif(bigEndian, {{254, 4, 0}, {256, type, width}, {257, type, height}, {258, 3, 8}});
}

}  // namespace ear::test
