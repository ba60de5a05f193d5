#pragma once
// What the PNG tests share: a small PNG writer that filters, interlaces, compresses and
// checksums exactly as told (and breaks files on purpose), and the table of pictures it
// makes with their expected pixels. Included by one test file per binary.
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace ear::pngtest {

using Bytes = std::vector<unsigned char>;

struct Chunk {
  std::string type;
  Bytes data;
};

struct TestPng {
  int width = 1, height = 1, depth = 8, colourType = 6;
  bool interlaced = false;
  std::vector<unsigned> samples;  // width * height * channels values, rows top first
  Bytes palette;                  // R G B triples; written as PLTE when not empty
  Bytes transparency;             // written as tRNS when not empty
  int filter = 0;                 // 0-4 for every row, 5 to cycle through them, above: written unfiltered
  int idatChunks = 1;             // the compressed data split over this many IDAT chunks
  std::vector<Chunk> extraChunks; // written after IHDR
  std::vector<Chunk> lateChunks;  // written just before the IDAT chunks
  Bytes rawTail;                  // appended to the filtered rows before compressing
  std::size_t rawCut = 0;         // bytes taken off the filtered rows' end
};

inline void Put32(Bytes& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<unsigned char>(v >> shift));
}

inline void PutChunk(Bytes& out, const std::string& type, const Bytes& data) {
  Put32(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t start = out.size();
  out.insert(out.end(), type.begin(), type.end());
  out.insert(out.end(), data.begin(), data.end());
  Put32(out, static_cast<std::uint32_t>(crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}

inline int Channels(int colourType) {
  return colourType == 2 ? 3 : colourType == 4 ? 2 : colourType == 6 ? 4 : 1;
}

inline int PaethPredictor(int a, int b, int c) {
  const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// Packs, filters and appends the rows of one pass (the pixels at x0 + i*dx, y0 + j*dy).
inline void PutPass(const TestPng& png, int x0, int y0, int dx, int dy, Bytes& raw) {
  const int channels = Channels(png.colourType);
  const int w = (png.width - x0 + dx - 1) / dx, h = (png.height - y0 + dy - 1) / dy;
  if (w <= 0 || h <= 0) return;
  const std::size_t rowBytes = (static_cast<std::size_t>(w) * channels * png.depth + 7) / 8;
  const std::size_t bpp = std::max(1, channels * png.depth / 8);
  Bytes prev(rowBytes, 0);
  for (int j = 0; j < h; ++j) {
    Bytes row(rowBytes, 0);
    int bit = 0;
    for (int i = 0; i < w; ++i) {
      for (int c = 0; c < channels; ++c, bit += png.depth) {
        const unsigned v = png.samples[((y0 + j * dy) * png.width + x0 + i * dx) * channels + c];
        row[bit / 8] |= static_cast<unsigned char>(v << (8 - png.depth - bit % 8));
      }
    }
    const int filter = png.filter == 5 ? j % 5 : png.filter;
    raw.push_back(static_cast<unsigned char>(filter));
    for (std::size_t k = 0; k < rowBytes; ++k) {
      const int a = k >= bpp ? row[k - bpp] : 0, b = prev[k], c = k >= bpp ? prev[k - bpp] : 0;
      const int predicted = filter == 1 ? a : filter == 2 ? b : filter == 3 ? (a + b) / 2
                            : filter == 4 ? PaethPredictor(a, b, c) : 0;
      raw.push_back(static_cast<unsigned char>(row[k] - predicted));
    }
    prev = row;
  }
}

inline Bytes WritePng(const TestPng& png) {
  Bytes raw;
  if (png.interlaced) {
    const int passes[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                              {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    for (const auto& p : passes) PutPass(png, p[0], p[1], p[2], p[3], raw);
  } else {
    PutPass(png, 0, 0, 1, 1, raw);
  }
  raw.resize(raw.size() - png.rawCut);
  raw.insert(raw.end(), png.rawTail.begin(), png.rawTail.end());
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  Bytes packed(packedSize);
  compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9);
  packed.resize(packedSize);

  Bytes out = {137, 'P', 'N', 'G', 13, 10, 26, 10};
  Bytes header;
  Put32(header, static_cast<std::uint32_t>(png.width));
  Put32(header, static_cast<std::uint32_t>(png.height));
  header.insert(header.end(), {static_cast<unsigned char>(png.depth), static_cast<unsigned char>(png.colourType),
                               0, 0, static_cast<unsigned char>(png.interlaced ? 1 : 0)});
  PutChunk(out, "IHDR", header);
  for (const Chunk& c : png.extraChunks) PutChunk(out, c.type, c.data);
  if (!png.palette.empty()) PutChunk(out, "PLTE", png.palette);
  if (!png.transparency.empty()) PutChunk(out, "tRNS", png.transparency);
  for (const Chunk& c : png.lateChunks) PutChunk(out, c.type, c.data);
  const std::size_t piece = (packed.size() + png.idatChunks - 1) / png.idatChunks;
  for (std::size_t at = 0; at < packed.size(); at += piece) {
    PutChunk(out, "IDAT", Bytes(packed.begin() + at, packed.begin() + std::min(packed.size(), at + piece)));
  }
  PutChunk(out, "IEND", {});
  return out;
}

// Pseudo-random samples of the given range, the same on every run.
inline std::vector<unsigned> Samples(std::size_t count, unsigned max, unsigned seed) {
  std::vector<unsigned> out(count);
  for (auto& v : out) {
    seed = seed * 1103515245u + 12345u;
    v = (seed >> 16) % (max + 1);
  }
  return out;
}

// The pixel each sample stands for, as 0xAARRGGBB, read straight from the samples.
inline std::vector<std::uint32_t> ExpectedPixels(const TestPng& png) {
  const int channels = Channels(png.colourType);
  const unsigned max = (1u << png.depth) - 1;
  const Bytes& t = png.transparency;
  std::vector<std::uint32_t> out;
  for (int i = 0; i < png.width * png.height; ++i) {
    const unsigned* s = &png.samples[static_cast<std::size_t>(i) * channels];
    unsigned a = 255, r, g, b;
    switch (png.colourType) {
      case 0:
        r = g = b = s[0] * (255 / max);
        if (t.size() == 2 && s[0] == (unsigned{t[0]} << 8 | t[1])) a = 0;
        break;
      case 3:
        r = png.palette[s[0] * 3], g = png.palette[s[0] * 3 + 1], b = png.palette[s[0] * 3 + 2];
        if (s[0] < t.size()) a = t[s[0]];
        break;
      case 4: r = g = b = s[0], a = s[1]; break;
      default:
        r = s[0], g = s[1], b = s[2];
        if (channels == 4) a = s[3];
        if (t.size() == 6 && r == t[1] && g == t[3] && b == t[5]) a = 0;
    }
    out.push_back(a << 24 | r << 16 | g << 8 | b);
  }
  return out;
}

struct NamedPng {
  std::string name;
  TestPng png;
};

// Every kind of picture the decoder takes on, each with pixels that tell its mistakes apart.
inline std::vector<NamedPng> AcceptedPictures() {
  std::vector<NamedPng> out;
  const auto add = [&out](std::string name, TestPng png) { out.push_back({std::move(name), std::move(png)}); };
  // Hand-made rows: every value of each low depth, and the transparency keys.
  add("grey1", {.width = 9, .height = 2, .depth = 1, .colourType = 0,
                .samples = {1, 0, 1, 1, 0, 0, 1, 0, 1, 0, 1, 0, 0, 1, 1, 0, 1, 0}});
  add("grey2", {.width = 5, .height = 1, .depth = 2, .colourType = 0, .samples = {0, 1, 2, 3, 2}});
  add("grey4 keyed", {.width = 5, .height = 1, .depth = 4, .colourType = 0, .samples = {0, 7, 15, 9, 7},
                      .transparency = {0, 7}});
  add("grey8 keyed", {.width = 4, .height = 1, .depth = 8, .colourType = 0, .samples = {0, 128, 255, 254},
                      .transparency = {0, 255}});
  add("rgb keyed white", {.width = 3, .height = 1, .colourType = 2,
                          .samples = {255, 255, 255, 255, 255, 254, 10, 20, 30}, .transparency = {0, 255, 0, 255, 0, 255}});
  add("palette1", {.width = 10, .height = 1, .depth = 1, .colourType = 3, .samples = {0, 1, 1, 0, 1, 0, 0, 0, 1, 1},
                   .palette = {255, 255, 255, 200, 0, 30}});
  add("palette2 part alpha", {.width = 6, .height = 1, .depth = 2, .colourType = 3, .samples = {0, 1, 2, 3, 1, 0},
                              .palette = {255, 255, 255, 1, 2, 3, 40, 50, 60, 250, 128, 0}, .transparency = {0, 128}});
  add("palette4", {.width = 3, .height = 2, .depth = 4, .colourType = 3, .samples = {0, 1, 2, 2, 1, 0},
                   .palette = {9, 8, 7, 100, 150, 200, 255, 0, 255}});
  add("grey alpha", {.width = 3, .height = 1, .colourType = 4, .samples = {0, 255, 128, 64, 255, 0}});
  // Bigger noise: each row filter, on each kind, whole and interlaced (odd sizes leave
  // interlace passes short or empty), over several IDAT chunks.
  struct Kind { const char* name; int depth, colourType; };
  for (const Kind k : {Kind{"rgba", 8, 6}, Kind{"rgb", 8, 2}, Kind{"grey alpha", 8, 4}, Kind{"grey1", 1, 0},
                       Kind{"grey2", 2, 0}, Kind{"grey4", 4, 0}, Kind{"palette4", 4, 3}, Kind{"palette8", 8, 3}}) {
    for (const bool interlaced : {false, true}) {
      for (int filter = 0; filter <= 5; ++filter) {
        TestPng png{.width = 13 + filter, .height = 11 - filter, .depth = k.depth, .colourType = k.colourType,
                    .interlaced = interlaced, .filter = filter, .idatChunks = 1 + filter % 3};
        const unsigned seed = static_cast<unsigned>(filter * 31 + k.colourType * 7 + k.depth);
        const unsigned max = k.colourType == 3 ? 11u : (1u << k.depth) - 1;  // palette entries 0-11
        png.samples = Samples(static_cast<std::size_t>(png.width) * png.height * Channels(k.colourType), max, seed);
        if (k.colourType == 3) {
          const auto entries = Samples(12 * 3, 255, seed + 1);
          png.palette.assign(entries.begin(), entries.end());
          png.transparency = {0, 90, 255, 17};
        }
        add(std::string(k.name) + (interlaced ? " interlaced" : "") + " filter " + std::to_string(filter),
            std::move(png));
      }
    }
  }
  // The smallest picture, and ancillary chunks (one private) to skip.
  add("1x1 interlaced", {.width = 1, .height = 1, .colourType = 6, .interlaced = true, .samples = {1, 2, 3, 4}});
  add("srgb text and time skipped",
      {.width = 2, .height = 1, .colourType = 2, .samples = {1, 2, 3, 4, 5, 6},
       .extraChunks = {{"sRGB", {0}}, {"tEXt", {'a', 0, 'b'}}, {"tIME", {7, 234, 1, 1, 0, 0, 0}},
                       {"prVt", {1, 2, 3}}}});
  return out;
}

}  // namespace ear::pngtest
