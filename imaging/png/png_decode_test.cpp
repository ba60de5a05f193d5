#include "imaging/png/png_decode.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "imaging/png/png_test_writer.h"

namespace ear {
namespace {

using pngtest::Bytes;
using pngtest::TestPng;

std::uint32_t PixelAt(const DecodedImage& image, int x, int y) {
  const unsigned char* p = image.Row(y) + 4 * x;
  return std::uint32_t{p[3]} << 24 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[1]} << 8 | p[0];
}

std::optional<DecodedImage> Decode(const Bytes& bytes) { return DecodePng(bytes.data(), bytes.size()); }

void ExpectPixels(const DecodedImage& image, int width, int height, const std::vector<std::uint32_t>& expected) {
  ASSERT_EQ(image.width, width);
  ASSERT_EQ(image.height, height);
  ASSERT_EQ(image.bytesPerPixel, 4);
  ASSERT_EQ(image.stride, static_cast<std::size_t>(width) * 4);
  ASSERT_EQ(image.pixels.size(), image.stride * height);
  int wrong = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t want = expected[static_cast<std::size_t>(y) * width + x];
      if (PixelAt(image, x, y) != want && ++wrong <= 3) {
        ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << PixelAt(image, x, y) << " instead of " << want;
      }
    }
  }
  EXPECT_EQ(wrong, 0);
}

TEST(DecodePng, EveryKindDepthFilterAndInterlaceGivesTheSamplesPixels) {
  for (const auto& [name, png] : pngtest::AcceptedPictures()) {
    SCOPED_TRACE(name);
    const auto image = Decode(pngtest::WritePng(png));
    ASSERT_TRUE(image.has_value());
    ExpectPixels(*image, png.width, png.height, pngtest::ExpectedPixels(png));
  }
}

TEST(DecodePng, LowDepthsScaleToFullRangeAndKeysClearAlpha) {
  // The expectations written out, so the shared reference's own arithmetic is checked too.
  struct Case { const char* name; TestPng png; std::vector<std::uint32_t> expected; };
  const Case cases[] = {
      {"grey2", {.width = 4, .depth = 2, .colourType = 0, .samples = {0, 1, 2, 3}},
       {0xff000000, 0xff555555, 0xffaaaaaa, 0xffffffff}},
      {"grey4 key 7", {.width = 3, .depth = 4, .colourType = 0, .samples = {7, 8, 15}, .transparency = {0, 7}},
       {0x00777777, 0xff888888, 0xffffffff}},
      {"rgb key white", {.width = 2, .colourType = 2, .samples = {255, 255, 255, 255, 254, 255},
                         .transparency = {0, 255, 0, 255, 0, 255}},
       {0x00ffffff, 0xfffffeff}},
      {"palette short tRNS", {.width = 3, .depth = 2, .colourType = 3, .samples = {2, 1, 0},
                              .palette = {1, 2, 3, 4, 5, 6, 7, 8, 9}, .transparency = {0, 77}},
       {0xff070809, 0x4d040506, 0x00010203}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto image = Decode(pngtest::WritePng(c.png));
    ASSERT_TRUE(image.has_value());
    ExpectPixels(*image, c.png.width, 1, c.expected);
    EXPECT_EQ(pngtest::ExpectedPixels(c.png), c.expected);
  }
}

Bytes Valid() {
  return pngtest::WritePng({.width = 4, .height = 3, .colourType = 2, .samples = pngtest::Samples(36, 255, 5)});
}

// Chunk starting offsets of a written file: the signature, then IHDR at 8.
std::size_t ChunkAt(const Bytes& file, const char* type) {
  const std::string text(file.begin(), file.end());
  return text.find(type) - 4;
}

TEST(DecodePng, RefusesWhatGdiplusMustDecide) {
  const TestPng rgb{.width = 4, .height = 3, .colourType = 2, .samples = pngtest::Samples(36, 255, 5)};
  const auto with = [&rgb](auto change) { TestPng png = rgb; change(png); return pngtest::WritePng(png); };
  const Bytes valid = Valid();
  Bytes wrongCrc = Valid();
  wrongCrc[ChunkAt(wrongCrc, "IDAT") + 9] ^= 1;
  Bytes wrongCrcAncillary = with([](TestPng& p) { p.extraChunks = {{"tEXt", {'a', 0, 'b'}}}; });
  wrongCrcAncillary[ChunkAt(wrongCrcAncillary, "tEXt") + 8] ^= 0x40;
  Bytes noIend = Valid();
  noIend.resize(ChunkAt(noIend, "IEND"));
  Bytes badSignature = Valid();
  badSignature[1] = 'p';
  Bytes ihdrNotFirst = Valid();  // a private chunk moved before IHDR
  {
    Bytes chunk;
    pngtest::PutChunk(chunk, "prVt", {1});
    ihdrNotFirst.insert(ihdrNotFirst.begin() + 8, chunk.begin(), chunk.end());
  }
  Bytes noIdat = Valid();
  noIdat.erase(noIdat.begin() + ChunkAt(noIdat, "IDAT"), noIdat.begin() + ChunkAt(noIdat, "IEND"));
  Bytes hugeLength = Valid();
  hugeLength[ChunkAt(hugeLength, "IDAT")] = 0xff;
  const auto header = [&rgb](int width, int height, int depth, int type) {
    Bytes data;
    pngtest::Put32(data, static_cast<std::uint32_t>(width));
    pngtest::Put32(data, static_cast<std::uint32_t>(height));
    data.insert(data.end(), {static_cast<unsigned char>(depth), static_cast<unsigned char>(type), 0, 0, 0});
    Bytes file = pngtest::WritePng(rgb);
    Bytes chunk;
    pngtest::PutChunk(chunk, "IHDR", data);
    std::copy(chunk.begin(), chunk.end(), file.begin() + 8);
    return file;
  };
  const std::vector<unsigned> palette3(12, 1);

  struct Case { const char* name; Bytes file; };
  const std::vector<Case> cases = {
      {"empty", {}},
      {"signature only", Bytes(valid.begin(), valid.begin() + 8)},
      {"bad signature", badSignature},
      {"truncated", Bytes(valid.begin(), valid.end() - 20)},
      {"flipped CRC byte", wrongCrc},
      {"flipped CRC of an ancillary chunk", wrongCrcAncillary},
      {"no IEND", noIend},
      {"IHDR not first", ihdrNotFirst},
      {"chunk longer than the file", hugeLength},
      {"16-bit", header(4, 3, 16, 2)},
      {"rgb depth 4", header(4, 3, 4, 2)},
      {"grey depth 3", header(4, 3, 3, 0)},
      {"colour type 5", header(4, 3, 8, 5)},
      {"width 0", header(0, 3, 8, 2)},
      {"height 16385", header(4, 16385, 8, 2)},
      {"over 256 MB of pixels", header(16384, 16384, 8, 2)},
      {"gAMA", with([](TestPng& p) { p.extraChunks = {{"gAMA", {0, 0, 177, 143}}}; })},
      {"cHRM", with([](TestPng& p) { p.extraChunks = {{"cHRM", Bytes(32, 1)}}; })},
      {"iCCP", with([](TestPng& p) { p.extraChunks = {{"iCCP", {'a', 0, 0, 1}}}; })},
      {"unknown critical chunk", with([](TestPng& p) { p.extraChunks = {{"ABCD", {}}}; })},
      {"chunk type not letters", with([](TestPng& p) { p.extraChunks = {{"a1cd", {}}}; })},
      {"unknown filter", with([](TestPng& p) { p.filter = 6; })},
      {"a row short", with([](TestPng& p) { p.rawCut = 1; })},
      {"trailing data after the rows", with([](TestPng& p) { p.rawTail = {0}; })},
      {"interlaced with short data", with([](TestPng& p) { p.interlaced = true; p.rawCut = 2; })},
      {"no IDAT", noIdat},
      {"rgb key beyond 255", with([](TestPng& p) { p.transparency = {1, 0, 0, 0, 0, 0}; })},
      {"rgb key of the wrong length", with([](TestPng& p) { p.transparency = {0, 0}; })},
      {"tRNS on rgba", pngtest::WritePng({.width = 1, .samples = {1, 2, 3, 4}, .transparency = {0, 0}})},
      {"grey key beyond the depth", pngtest::WritePng({.width = 2, .depth = 2, .colourType = 0, .samples = {0, 1},
                                                       .transparency = {0, 4}})},
      {"palette missing", pngtest::WritePng({.width = 2, .depth = 8, .colourType = 3, .samples = {0, 0}})},
      {"index beyond the palette", pngtest::WritePng({.width = 2, .depth = 8, .colourType = 3, .samples = {0, 4},
                                                      .palette = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}})},
      {"palette larger than the depth", pngtest::WritePng({.width = 2, .depth = 1, .colourType = 3, .samples = {0, 1},
                                                           .palette = Bytes(9, 1)})},
      {"palette on grey", pngtest::WritePng({.width = 2, .colourType = 0, .samples = {0, 1}, .palette = Bytes(3, 1)})},
      {"empty palette tRNS", pngtest::WritePng({.width = 2, .depth = 8, .colourType = 3, .samples = {0, 1},
                                                .palette = Bytes(6, 1), .lateChunks = {{"tRNS", {}}}})},
      {"more tRNS than palette", pngtest::WritePng({.width = 2, .depth = 8, .colourType = 3, .samples = {0, 1},
                                                    .palette = Bytes(6, 1), .transparency = {1, 2, 3}})},
  };
  ASSERT_TRUE(Decode(valid).has_value());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(DecodePng(c.file.data(), c.file.size()).has_value());
  }
}

TEST(DecodePng, EveryTruncationAndSingleByteDamageIsRefusedOrDecodedInBounds) {
  // Under the sanitizers: no read outside the data, whichever byte is cut or changed.
  const Bytes file = pngtest::WritePng(pngtest::AcceptedPictures()[6].png);
  for (std::size_t size = 0; size < file.size(); ++size) {
    const Bytes cut(file.begin(), file.begin() + size);  // its own allocation: overreads are caught
    EXPECT_FALSE(DecodePng(cut.data(), cut.size()).has_value()) << size;
  }
  for (std::size_t at = 0; at < file.size(); ++at) {
    Bytes damaged = file;
    damaged[at] ^= 0x5a;
    const auto image = Decode(damaged);
    if (image) {
      EXPECT_EQ(image->pixels.size(), image->stride * image->height) << at;
    }
  }
}

TEST(DecodePng, TinyFileClaimingAHugePictureIsRefusedBeforeAllocating) {
  // 16000 x 4000 RGBA promised by a few hundred bytes of deflate: refused without inflating.
  Bytes file = pngtest::WritePng({.width = 1, .samples = {1, 2, 3, 4}});
  Bytes header;
  pngtest::Put32(header, 16000);
  pngtest::Put32(header, 4000);
  header.insert(header.end(), {8, 6, 0, 0, 0});
  Bytes chunk;
  pngtest::PutChunk(chunk, "IHDR", header);
  std::copy(chunk.begin(), chunk.end(), file.begin() + 8);
  EXPECT_FALSE(Decode(file).has_value());
}

Bytes ReadFixture(const std::string& name) {
  std::ifstream in(std::string(EAR_PNG_TESTDATA) + "/" + name, std::ios::binary);
  EXPECT_TRUE(in.good()) << name;
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(DecodePng, FilesMadeByImageMagick) {
  // testdata/README says how each was made; the pixels are the drawing's colours.
  struct Case { const char* file; int width, height; int x, y; std::uint32_t argb; };
  const Case cases[] = {
      {"rgb.png", 12, 5, 0, 0, 0xffff0000},       {"rgb.png", 12, 5, 11, 4, 0xff0000ff},
      {"palette_keyed.png", 10, 4, 0, 0, 0x00ffffff}, {"palette_keyed.png", 10, 4, 9, 3, 0xffc81e1e},
      {"grey.png", 8, 2, 0, 0, 0xff000000},       {"grey.png", 8, 2, 7, 1, 0xffffffff},
      {"interlaced.png", 11, 9, 0, 0, 0xffff0000}, {"interlaced.png", 11, 9, 10, 8, 0xff00ff00},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.file) + " at " + std::to_string(c.x) + "," + std::to_string(c.y));
    const Bytes bytes = ReadFixture(c.file);
    const auto image = Decode(bytes);
    ASSERT_TRUE(image.has_value());
    ASSERT_EQ(image->width, c.width);
    ASSERT_EQ(image->height, c.height);
    EXPECT_EQ(PixelAt(*image, c.x, c.y), c.argb) << std::hex << PixelAt(*image, c.x, c.y);
  }
}

}  // namespace
}  // namespace ear
