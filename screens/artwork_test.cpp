// The artwork's JPEGs against the sizes that the screens are laid out for, and the
// resource script against the names that the screens load.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <iterator>
#include <sstream>
#include <string>

#include "screens/artwork.h"

namespace ear {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

struct JpegFrame { int marker = 0; int width = 0; int height = 0; int components = 0; };

// The first start-of-frame segment (walks the marker segments from SOI).
JpegFrame FirstFrame(const std::string& b) {
  JpegFrame f;
  auto at = [&](std::size_t i) { return static_cast<unsigned char>(b[i]); };
  if (b.size() < 4 || at(0) != 0xFF || at(1) != 0xD8) return f;
  std::size_t i = 2;
  while (i + 9 < b.size() && at(i) == 0xFF) {
    const int m = at(i + 1);
    const std::size_t len = (at(i + 2) << 8) | at(i + 3);
    if (m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC) {
      f.marker = m;
      f.height = (at(i + 5) << 8) | at(i + 6);
      f.width = (at(i + 7) << 8) | at(i + 8);
      f.components = at(i + 9);
      return f;
    }
    i += 2 + len;
  }
  return f;
}

TEST(Artwork, BaselineJpegsOfTheLaidOutSizes) {
  for (const ArtworkResource& a : kAllArtwork) {
    const std::string bytes = ReadFile(std::string(EAR_SOURCE_ROOT "/resources/artwork/") + a.file);
    ASSERT_FALSE(bytes.empty()) << a.file;
    EXPECT_LT(bytes.size(), 100u * 1024u) << a.file;
    const JpegFrame f = FirstFrame(bytes);
    EXPECT_EQ(f.marker, 0xC0) << a.file << ": not baseline";
    EXPECT_EQ(f.components, 3) << a.file;
    EXPECT_EQ(f.width, a.width) << a.file;
    EXPECT_EQ(f.height, a.height) << a.file;
  }
}

TEST(Artwork, ResourceScriptEmbedsEveryPictureUnderItsName) {
  std::istringstream rc(ReadFile(EAR_SOURCE_ROOT "/resources/ExamAutoRunner.rc"));
  std::set<std::string> lines;
  for (std::string line; std::getline(rc, line);) lines.insert(line);
  for (const ArtworkResource& a : kAllArtwork) {
    const std::string expected = std::string(a.name) + " RCDATA \"artwork/" + a.file + "\"";
    EXPECT_EQ(lines.count(expected), 1u) << expected;
  }
}

TEST(Artwork, CopyrightNoticesDifferAndStayShort) {
  const std::string standard = kCopyrightNotice;
  const std::string alternative = kCopyrightNotice3;
  EXPECT_NE(standard, alternative);
  EXPECT_EQ(standard.rfind("(C) ", 0), 0u);
  EXPECT_EQ(alternative.rfind("(C) ", 0), 0u);
  // 12 px bold: about 6 px per byte, so 48 bytes stay inside the 308 px footer label.
  EXPECT_LE(alternative.size(), 48u);
}

}  // namespace
}  // namespace ear
