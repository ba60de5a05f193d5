#include "imaging/png/png_decode.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

namespace ear {
namespace {

constexpr unsigned char kSignature[8] = {137, 'P', 'N', 'G', 13, 10, 26, 10};
constexpr std::uint32_t kMaxSide = 16384;
constexpr std::uint64_t kMaxPixelBytes = 256u << 20;
// Deflate cannot expand better than about 1032:1: more image than that from the IDAT bytes
// at hand is refused before anything that size is allocated.
constexpr std::uint64_t kMaxInflateRatio = 1040;

std::uint32_t BigEndian32(const unsigned char* p) {
  return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}
unsigned BigEndian16(const unsigned char* p) { return unsigned{p[0]} << 8 | p[1]; }

struct Png {
  int width = 0, height = 0, depth = 0, colourType = 0;
  bool interlaced = false;
  int channels = 0;
  std::array<unsigned char, 256 * 4> palette{};  // B G R A
  int paletteSize = 0;
  bool hasKey = false;
  unsigned key[3] = {};  // grey, or red green blue, that is transparent
  std::vector<unsigned char> idat;
};

bool ReadHeader(const unsigned char* d, std::uint32_t length, Png& png) {
  if (length != 13) return false;
  const std::uint32_t width = BigEndian32(d), height = BigEndian32(d + 4);
  png.depth = d[8];
  png.colourType = d[9];
  if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide) return false;
  if (std::uint64_t{width} * height * 4 > kMaxPixelBytes) return false;
  if (d[10] != 0 || d[11] != 0 || d[12] > 1) return false;  // compression, filter, interlace
  const bool lowDepth = png.depth == 1 || png.depth == 2 || png.depth == 4 || png.depth == 8;
  switch (png.colourType) {
    case 0: png.channels = 1; break;
    case 2: png.channels = 3; break;
    case 3: png.channels = 1; break;
    case 4: png.channels = 2; break;
    case 6: png.channels = 4; break;
    default: return false;
  }
  const bool grey = png.colourType == 0 || png.colourType == 3;
  if (!(grey ? lowDepth : png.depth == 8)) return false;  // 16-bit samples are GDI+'s
  png.width = static_cast<int>(width);
  png.height = static_cast<int>(height);
  png.interlaced = d[12] == 1;
  return true;
}

bool ReadPalette(const unsigned char* d, std::uint32_t length, Png& png) {
  if (png.colourType == 0 || png.colourType == 4) return false;
  if (length == 0 || length % 3 != 0 || length / 3 > 256) return false;
  if (png.colourType != 3) return true;  // a suggestion for RGB pictures: not used
  png.paletteSize = static_cast<int>(length / 3);
  if (png.paletteSize > 1 << png.depth) return false;
  for (int i = 0; i < png.paletteSize; ++i) {
    unsigned char* entry = &png.palette[i * 4];
    entry[0] = d[i * 3 + 2];
    entry[1] = d[i * 3 + 1];
    entry[2] = d[i * 3];
    entry[3] = 255;
  }
  return true;
}

bool ReadTransparency(const unsigned char* d, std::uint32_t length, Png& png) {
  const unsigned maxSample = (1u << png.depth) - 1;
  switch (png.colourType) {
    case 0:
      if (length != 2) return false;
      png.key[0] = BigEndian16(d);
      // A key beyond the depth is masked by some decoders and never matched by others.
      if (png.key[0] > maxSample) return false;
      png.hasKey = true;
      return true;
    case 2:
      if (length != 6) return false;
      for (int i = 0; i < 3; ++i) {
        png.key[i] = BigEndian16(d + 2 * i);
        if (png.key[i] > maxSample) return false;
      }
      png.hasKey = true;
      return true;
    case 3:
      // An empty one is ignored by some decoders and refused by others.
      if (png.paletteSize == 0 || length == 0 || length > static_cast<std::uint32_t>(png.paletteSize)) return false;
      for (std::uint32_t i = 0; i < length; ++i) png.palette[i * 4 + 3] = d[i];
      return true;
    default:
      return false;  // alpha pictures carry no key
  }
}

// Walks the chunks up to IEND, checking each CRC; false for anything refused.
bool ReadChunks(const unsigned char* data, std::size_t size, Png& png) {
  if (size < 8 || std::memcmp(data, kSignature, 8) != 0) return false;
  std::size_t at = 8;
  bool first = true, seenPalette = false, seenTransparency = false, seenIdat = false, idatEnded = false;
  while (true) {
    if (size - at < 12) return false;  // no IEND
    const std::uint32_t length = BigEndian32(data + at);
    if (length > 0x7fffffffu || length > size - at - 12) return false;
    const unsigned char* type = data + at + 4;
    const unsigned char* body = type + 4;
    if (crc32(crc32(0, nullptr, 0), type, length + 4) != BigEndian32(body + length)) return false;
    for (int i = 0; i < 4; ++i) {
      const unsigned char c = type[i] | 0x20;
      if (c < 'a' || c > 'z') return false;
    }
    at += std::size_t{length} + 12;
    const auto is = [type](const char* name) { return std::memcmp(type, name, 4) == 0; };
    if (first != is("IHDR")) return false;
    const bool idat = is("IDAT");
    if (seenIdat && !idat) idatEnded = true;
    if (is("IHDR")) {
      if (!ReadHeader(body, length, png)) return false;
      first = false;
    } else if (is("PLTE")) {
      if (seenPalette || seenTransparency || seenIdat || !ReadPalette(body, length, png)) return false;
      seenPalette = true;
    } else if (is("tRNS")) {
      if (seenTransparency || seenIdat || !ReadTransparency(body, length, png)) return false;
      seenTransparency = true;
    } else if (idat) {
      if (idatEnded) return false;
      if (png.colourType == 3 && png.paletteSize == 0) return false;
      png.idat.insert(png.idat.end(), body, body + length);
      seenIdat = true;
    } else if (is("IEND")) {
      return length == 0 && seenIdat;
    } else if (is("gAMA") || is("cHRM") || is("iCCP")) {
      return false;  // colour management GDI+ applies and we would not
    } else if ((type[0] & 0x20) == 0) {
      return false;  // an unknown critical chunk
    }
  }
}

std::size_t RowBytes(const Png& png, int width) {
  return (static_cast<std::size_t>(width) * png.channels * png.depth + 7) / 8;
}

unsigned char Paeth(int a, int b, int c) {
  const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  return static_cast<unsigned char>(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

// Undoes the row filters in place; rows are a filter byte and rowBytes of samples each.
bool Unfilter(unsigned char* rows, std::size_t rowBytes, int height, std::size_t bpp) {
  const unsigned char* prev = nullptr;
  for (int y = 0; y < height; ++y, rows += rowBytes + 1) {
    unsigned char* cur = rows + 1;
    const auto up = [prev](std::size_t i) -> int { return prev ? prev[i] : 0; };
    switch (rows[0]) {
      case 0: break;
      case 1: for (std::size_t i = bpp; i < rowBytes; ++i) cur[i] += cur[i - bpp]; break;
      case 2: for (std::size_t i = 0; i < rowBytes; ++i) cur[i] += up(i); break;
      case 3:
        for (std::size_t i = 0; i < rowBytes; ++i) cur[i] += ((i >= bpp ? cur[i - bpp] : 0) + up(i)) / 2;
        break;
      case 4:
        for (std::size_t i = 0; i < rowBytes; ++i)
          cur[i] += i >= bpp ? Paeth(cur[i - bpp], up(i), up(i - bpp)) : Paeth(0, up(i), 0);
        break;
      default: return false;
    }
    prev = cur;
  }
  return true;
}

// Turns one row of samples into B G R A pixels, `step` pixels apart.
bool ExpandRow(const Png& png, const unsigned char* s, int count, unsigned char* out, int step) {
  const unsigned maxSample = (1u << png.depth) - 1;
  for (int x = 0; x < count; ++x, out += 4 * step) {
    unsigned v = 0;  // the sample of grey and palette pictures
    if (png.depth < 8) {
      const std::size_t bit = static_cast<std::size_t>(x) * png.depth;
      v = (s[bit / 8] >> (8 - png.depth - bit % 8)) & maxSample;
    } else if (png.channels == 1) {
      v = s[x];
    }
    switch (png.colourType) {
      case 0: {
        const auto grey = static_cast<unsigned char>(v * 255 / maxSample);
        out[0] = out[1] = out[2] = grey;
        out[3] = png.hasKey && v == png.key[0] ? 0 : 255;
        break;
      }
      case 3:
        if (static_cast<int>(v) >= png.paletteSize) return false;
        std::memcpy(out, &png.palette[v * 4], 4);
        break;
      case 4:
        out[0] = out[1] = out[2] = s[2 * x];
        out[3] = s[2 * x + 1];
        break;
      default: {  // 2, 6
        const unsigned char* p = s + static_cast<std::size_t>(x) * png.channels;
        out[0] = p[2];
        out[1] = p[1];
        out[2] = p[0];
        out[3] = png.channels == 4 ? p[3]
                 : png.hasKey && p[0] == png.key[0] && p[1] == png.key[1] && p[2] == png.key[2] ? 0 : 255;
      }
    }
  }
  return true;
}

struct Pass { int x0, y0, dx, dy; };
constexpr Pass kWhole[] = {{0, 0, 1, 1}};
constexpr Pass kAdam7[] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                           {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};

// A pass's pixels across and down; a pass with none stores no rows at all, not even filter bytes.
struct PassSize { int width, height; };
PassSize SizeOf(const Png& png, const Pass& p) {
  const int w = (png.width - p.x0 + p.dx - 1) / p.dx, h = (png.height - p.y0 + p.dy - 1) / p.dy;
  return w > 0 && h > 0 ? PassSize{w, h} : PassSize{0, 0};
}

// Inflates exactly `out.size()` bytes: a stream that ends early, or holds more, is refused.
bool Inflate(const std::vector<unsigned char>& in, std::vector<unsigned char>& out) {
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return false;
  z.next_in = const_cast<unsigned char*>(in.data());
  z.avail_in = static_cast<uInt>(in.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  int status = inflate(&z, Z_FINISH);
  const bool full = z.avail_out == 0;
  if (full && status != Z_STREAM_END) {  // rows all there: only the stream's end may follow
    unsigned char extra;
    z.next_out = &extra;
    z.avail_out = 1;
    status = inflate(&z, Z_FINISH);
    if (z.avail_out == 0) status = Z_DATA_ERROR;
  }
  // Trailing bytes after the stream count as too much image data.
  const bool whole = status == Z_STREAM_END && full && z.avail_in == 0;
  inflateEnd(&z);
  return whole;
}

}  // namespace

std::optional<DecodedImage> DecodePng(const unsigned char* data, std::size_t size) {
  Png png;
  if (data == nullptr || !ReadChunks(data, size, png)) return std::nullopt;

  const std::size_t bpp = std::max<std::size_t>(1, png.channels * png.depth / 8);
  const auto passes = png.interlaced ? std::span<const Pass>(kAdam7) : std::span<const Pass>(kWhole);
  std::uint64_t rawSize = 0;
  for (const Pass& p : passes) {
    const auto [w, h] = SizeOf(png, p);
    rawSize += static_cast<std::uint64_t>(h) * (RowBytes(png, w) + 1);
  }
  if (rawSize > png.idat.size() * kMaxInflateRatio + 1024) return std::nullopt;
  std::vector<unsigned char> raw(rawSize);
  if (!Inflate(png.idat, raw)) return std::nullopt;

  DecodedImage image;
  image.width = png.width;
  image.height = png.height;
  image.bytesPerPixel = 4;
  image.stride = static_cast<std::size_t>(png.width) * 4;
  image.pixels.resize(image.stride * png.height);
  unsigned char* rows = raw.data();
  for (const Pass& p : passes) {
    const auto [w, h] = SizeOf(png, p);
    const std::size_t rowBytes = RowBytes(png, w);
    if (!Unfilter(rows, rowBytes, h, bpp)) return std::nullopt;
    for (int j = 0; j < h; ++j, rows += rowBytes + 1) {
      unsigned char* out = image.pixels.data() + image.stride * (p.y0 + j * p.dy) + 4 * p.x0;
      if (!ExpandRow(png, rows + 1, w, out, p.dx)) return std::nullopt;
    }
  }
  return image;
}

}  // namespace ear
