#include "imaging/jpeg/jpeg_decode.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/error.h"

namespace ear {
namespace {

std::vector<unsigned char> ReadFixture(const std::string& name) {
  std::ifstream in(std::string(EAR_JPEG_TESTDATA) + "/" + name, std::ios::binary);
  EXPECT_TRUE(in.good()) << name;
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

DecodedImage DecodeFixture(const std::string& name) {
  const auto bytes = ReadFixture(name);
  return DecodeJpeg(bytes.data(), bytes.size());
}

TEST(DecodeJpeg, SizeStrideAndPixelsOfKnownPictures) {
  // Pictures drawn by imagemagick in solid 8x8 blocks at quality 100, so the colours survive.
  struct Case { const char* file; int width, height; std::size_t stride; int x, y; int r, g, b; };
  const Case cases[] = {
      {"blocks.jpg", 24, 16, 72, 3, 3, 255, 0, 0},
      {"blocks.jpg", 24, 16, 72, 12, 4, 0, 255, 0},
      {"blocks.jpg", 24, 16, 72, 23, 0, 0, 0, 255},
      {"blocks.jpg", 24, 16, 72, 0, 15, 255, 255, 255},
      {"blocks.jpg", 24, 16, 72, 11, 12, 0, 0, 0},
      {"blocks.jpg", 24, 16, 72, 20, 10, 255, 255, 0},
      {"odd13x5.jpg", 13, 5, 40, 12, 4, 200, 100, 50},
      {"gray.jpg", 8, 8, 24, 5, 5, 128, 128, 128},
      {"cmyk.jpg", 8, 8, 24, 1, 6, 0, 255, 255},
      {"progressive.jpg", 16, 8, 48, 2, 2, 255, 0, 0},
      {"progressive.jpg", 16, 8, 48, 13, 5, 0, 0, 255},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.file) + " at " + std::to_string(c.x) + "," + std::to_string(c.y));
    const DecodedImage img = DecodeFixture(c.file);
    ASSERT_EQ(img.width, c.width);
    ASSERT_EQ(img.height, c.height);
    ASSERT_EQ(img.stride, c.stride);
    ASSERT_EQ(img.pixels.size(), c.stride * c.height);
    const unsigned char* px = img.Row(c.y) + 3 * c.x;
    EXPECT_NEAR(px[0], c.b, 3);
    EXPECT_NEAR(px[1], c.g, 3);
    EXPECT_NEAR(px[2], c.r, 3);
  }
}

TEST(DecodeJpeg, RowsAreTopDown) {
  const DecodedImage img = DecodeFixture("blocks.jpg");
  EXPECT_NEAR(img.Row(0)[2], 255, 3);   // red block at the top left
  EXPECT_NEAR(img.Row(15)[2], 255, 3);  // white block at the bottom left
  EXPECT_NEAR(img.Row(15)[1], 255, 3);
  EXPECT_NEAR(img.Row(0)[1], 0, 3);
}

TEST(DecodeJpeg, DisplayLayoutHasTheSameColoursAndOpaqueAlpha) {
  for (const char* file : {"blocks.jpg", "odd13x5.jpg", "gray.jpg", "cmyk.jpg", "progressive.jpg", "big.jpg"}) {
    SCOPED_TRACE(file);
    const auto bytes = ReadFixture(file);
    const DecodedImage bgr = DecodeJpeg(bytes.data(), bytes.size(), PixelLayout::Bgr24);
    const DecodedImage bgra = DecodeJpeg(bytes.data(), bytes.size(), PixelLayout::Bgra32);
    ASSERT_EQ(bgra.width, bgr.width);
    ASSERT_EQ(bgra.height, bgr.height);
    EXPECT_EQ(bgr.bytesPerPixel, 3);
    ASSERT_EQ(bgra.bytesPerPixel, 4);
    ASSERT_EQ(bgra.stride, static_cast<std::size_t>(bgra.width) * 4);
    ASSERT_EQ(bgra.pixels.size(), bgra.stride * bgra.height);
    int differences = 0;
    for (int y = 0; y < bgr.height; ++y) {
      for (int x = 0; x < bgr.width; ++x) {
        const unsigned char* a = bgr.Row(y) + 3 * x;
        const unsigned char* b = bgra.Row(y) + 4 * x;
        if (a[0] != b[0] || a[1] != b[1] || a[2] != b[2] || b[3] != 255) ++differences;
      }
    }
    EXPECT_EQ(differences, 0);
  }
}

TEST(DecodeJpeg, PaddingBytesAreZero) {
  const DecodedImage img = DecodeFixture("odd13x5.jpg");
  for (int y = 0; y < img.height; ++y) EXPECT_EQ(img.Row(y)[39], 0) << y;
}

TEST(DecodeJpeg, DamagedDataThrowsInsteadOfEnding) {
  const auto good = ReadFixture("big.jpg");
  ASSERT_GT(good.size(), 1000u);
  struct Case { const char* what; std::vector<unsigned char> bytes; };
  std::vector<Case> cases;
  cases.push_back({"no JPEG at all", {'n', 'o', 't', ' ', 'j', 'p', 'e', 'g'}});
  cases.push_back({"only the start marker", {0xFF, 0xD8}});
  for (std::size_t keep : {std::size_t{20}, std::size_t{200}, good.size() / 2, good.size() - 2}) {
    cases.push_back({"truncated", std::vector<unsigned char>(good.begin(), good.begin() + keep)});
  }
  auto marker = good;  // a restart marker in the middle of the scan data
  marker[good.size() / 2] = 0xFF;
  marker[good.size() / 2 + 1] = 0xD3;
  cases.push_back({"stray marker in the scan", marker});
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.what) + ", " + std::to_string(c.bytes.size()) + " bytes");
    try {
      DecodeJpeg(c.bytes.data(), c.bytes.size());
      ADD_FAILURE() << "no error";
    } catch (const Error& e) {
      EXPECT_EQ(e.Message().rfind("JPEG: ", 0), 0u) << e.Message();
      EXPECT_GT(e.Message().size(), 6u);
    }
  }
  EXPECT_THROW(DecodeJpeg(nullptr, 0), Error);
  // The library stays usable after an error.
  EXPECT_EQ(DecodeJpeg(good.data(), good.size()).width, 64);
}

TEST(DecodeJpeg, RowsThatCannotAllFitInMemoryAreNeverAskedFor) {
  // 65500 x 16394 at four bytes a pixel is just over 4 GB: more than a 32-bit size can count.
  auto bytes = ReadFixture("gray.jpg");
  std::size_t sof = 0;
  for (std::size_t i = 0; i + 8 < bytes.size(); ++i) {
    if (bytes[i] == 0xFF && (bytes[i + 1] == 0xC0 || bytes[i + 1] == 0xC2)) {
      sof = i;
      break;
    }
  }
  ASSERT_NE(sof, 0u);
  bytes[sof + 5] = 16394 >> 8, bytes[sof + 6] = 16394 & 0xFF;  // height
  bytes[sof + 7] = 65500 >> 8, bytes[sof + 8] = 65500 & 0xFF;  // width
  bool asked = false;
  try {
    DecodeJpegInto(bytes.data(), bytes.size(), PixelLayout::Bgra32, [&](int width, int height, std::size_t stride) {
      asked = true;
      EXPECT_EQ(width, 65500);
      // Every row's start must be reachable without wrapping.
      EXPECT_LE(static_cast<std::uint64_t>(stride) * static_cast<std::uint64_t>(height), std::uint64_t{SIZE_MAX});
      return static_cast<unsigned char*>(nullptr);  // no room: ends the decode either way
    });
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.Message().rfind("JPEG: ", 0), 0u) << e.Message();
  }
  EXPECT_EQ(asked, sizeof(std::size_t) > 4) << "asked for the rows only where they fit";
}

}  // namespace
}  // namespace ear
