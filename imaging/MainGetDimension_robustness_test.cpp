// Bounded randomised test: mutated and truncated headers of every format, fixed
// seed. Each probe must end with a size or exactly the message that an in-memory
// model of the probe rules (below, over the whole byte string) predicts.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>

#include <time.h>
#include <unistd.h>

#include "base/error.h"
#include "imaging/MainGetDimension.h"
#include "imaging/test_pictures.h"

namespace ear {
namespace {

namespace fs = std::filesystem;
using test::Bytes;

// The model: the probe table over an in-memory file; a field past the end means
// the file is too short and so invalid.
class Model {
 public:
  Model(const std::string& file, const std::string& data) : file_(file), d_(data) {}

  std::string Outcome(const std::string& ext) {
    std::uint32_t w = 0, h = 0;
    std::string error;
    if (ext == ".bmp") error = Bmp(w, h);
    else if (ext == ".jpg") error = Jpg(w, h);
    else if (ext == ".wmf") error = Wmf(w, h);
    else if (ext == ".emf") error = Emf(w, h);
    else if (ext == ".gif") error = Gif(w, h);
    else if (ext == ".png") error = Png(w, h);
    else if (ext == ".psd") error = Psd(w, h);
    else error = Tif(w, h);
    if (!error.empty()) return error;
    if (w == 0 || h == 0) return file_ + "\r\n画像サイズがゼロです。";
    return std::to_string(w) + "x" + std::to_string(h);
  }

 private:
  bool Has(std::uint64_t at, std::uint64_t n) const { return at + n <= d_.size(); }
  std::uint32_t B(std::uint64_t at) const { return static_cast<unsigned char>(d_[at]); }
  std::uint32_t L16(std::uint64_t at) const { return B(at) | B(at + 1) << 8; }
  std::uint32_t L32(std::uint64_t at) const { return L16(at) | L16(at + 2) << 16; }
  std::uint32_t B16(std::uint64_t at) const { return B(at) << 8 | B(at + 1); }
  std::uint32_t B32(std::uint64_t at) const { return B16(at) << 16 | B16(at + 2); }
  bool Is(std::uint64_t at, const std::string& t) const { return Has(at, t.size()) && d_.compare(at, t.size(), t) == 0; }
  std::string Bad(const char* type) const { return file_ + " \r\n不正な " + type + " ファイルです。"; }

  std::string Bmp(std::uint32_t& w, std::uint32_t& h) const {
    if (!Has(0, 18) || !Is(0, "BM") || L32(14) < 12) return Bad("BMP");
    if (L32(14) == 12) {
      if (!Has(18, 4)) return Bad("BMP");
      w = L16(18), h = L16(20);
    } else {
      if (!Has(18, 8)) return Bad("BMP");
      const auto v = static_cast<std::int64_t>(static_cast<std::int32_t>(L32(22)));
      w = L32(18), h = static_cast<std::uint32_t>(v < 0 ? -v : v);
    }
    return {};
  }
  std::string Jpg(std::uint32_t& w, std::uint32_t& h) const {
    if (!Has(0, 2) || B16(0) != 0xFFD8) return Bad("JPG");
    const std::int64_t last = static_cast<std::int64_t>(d_.size()) - 1;
    std::int64_t p = 2;
    for (;;) {
      if (!Has(p, 2)) return Bad("JPG");
      const std::uint32_t m = B16(p);
      p += 2;
      if (m >= 0xFFC0 && m <= 0xFFCF && m != 0xFFC4 && m != 0xFFC8 && m != 0xFFCC) {
        if (!Has(p + 3, 4)) return Bad("JPG");
        h = B16(p + 3), w = B16(p + 5);
        return {};
      }
      if (m == 0xFFD9 || p >= last) return Bad("JPG");
      p += B16(p);
      if (p >= last) return Bad("JPG");
    }
  }
  std::string Wmf(std::uint32_t& w, std::uint32_t& h) const {
    if (!Has(0, 22) || L32(0) != 0x9AC6CDD7) return Bad("WMF");
    std::uint32_t sum = 0;
    for (int i = 0; i < 10; ++i) sum ^= L16(2 * i);
    if (sum != L16(20)) return Bad("WMF");
    w = static_cast<std::uint32_t>(static_cast<std::int16_t>(L16(10)));
    h = static_cast<std::uint32_t>(static_cast<std::int16_t>(L16(12)));
    return {};
  }
  std::string Emf(std::uint32_t& w, std::uint32_t& h) const {
    if (!Has(0, 44) || L32(0) != 1 || !Is(40, " EMF")) return Bad("EMF");
    w = L32(16) + 1, h = L32(20) + 1;
    return {};
  }
  std::string Gif(std::uint32_t& w, std::uint32_t& h) const {
    if (!Has(0, 10) || !Is(0, "GIF") || !(Is(3, "87a") || Is(3, "89a"))) return Bad("GIF");
    w = L16(6), h = L16(8);
    return {};
  }
  std::string Png(std::uint32_t& w, std::uint32_t& h) const {
    if (!Has(0, 24) || !Is(0, "\x89PNG\r\n\x1A\n") || !Is(12, "IHDR")) return Bad("PNG");
    w = B32(16), h = B32(20);
    return {};
  }
  std::string Psd(std::uint32_t& w, std::uint32_t& h) const {
    if (!Has(0, 22) || !Is(0, "8BPS") || B16(4) != 1) return Bad("PSD");
    w = B32(18), h = B32(14);
    return {};
  }
  std::string Tif(std::uint32_t& w, std::uint32_t& h) const {
    if (!Has(0, 8) || !(Is(0, std::string("II*\0", 4)) || Is(0, std::string("MM\0*", 4)))) return Bad("TIF");
    const bool big = d_[0] == 'M';
    auto u16 = [&](std::uint64_t at) { return big ? B16(at) : L16(at); };
    auto u32 = [&](std::uint64_t at) { return big ? B32(at) : L32(at); };
    std::uint64_t p = u32(4);
    if (!Has(p, 2)) return Bad("TIF");
    const std::uint32_t count = u16(p);
    p += 2;
    int wanted = 2;
    for (std::uint32_t i = 0; i < count; ++i, p += 12) {
      if (!Has(p, 12)) return Bad("TIF");
      const std::uint32_t tag = u16(p), type = u16(p + 2);
      if (tag != 256 && tag != 257) continue;
      std::uint32_t& out = tag == 256 ? w : h;
      if (type == 3) out = u16(p + 8);
      if (type == 4) out = u32(p + 8);
      if (--wanted == 0) return {};
    }
    return file_ + " \r\nサイズの取得に失敗しました。";
  }

  const std::string& file_;
  const std::string& d_;
};

struct Format {
  const char* extension;
  std::vector<std::string> seeds;
};

std::vector<Format> Formats() {
  using namespace test;
  const std::string soi = Bytes().be16(0xFFD8).s;
  return {
      {".bmp", {Bmp(7, 5), Bmp(300, 200, 12), Bmp(640, -480, 124), Bmp(1, 1, 108)}},
      {".jpg", {Jpg(640, 480), Jpg(3, 4, 0xFFC2),
                soi + JpgSegment(0xFFC4, std::string(20, 1)) + JpgSegment(0xFFCC, "ab") + JpgFrame(0xFFC1, 9, 8),
                soi + JpgSegment(0xFFFE, "comment") + JpgSegment(0xFFE1, std::string(40, 'x')) + JpgFrame(0xFFC0, 1, 2),
                LongJpg(250, 3, 4), LongJpg(400, 5, 6)}},
      {".wmf", {Wmf(100, 50), Wmf(-3, 7, 2, 2)}},
      {".emf", {Emf(99, 49), Emf(0, 0)}},
      {".gif", {Gif(320, 240), Gif(1, 2, "87a")}},
      {".png", {Png(1024, 768), Png(1, 1)}},
      {".psd", {Psd(640, 480)}},
      {".tif", {Tif(false, 640, 480), Tif(true, 640, 480), Tif(false, 70000, 3, 4), Tif(true, 5, 6, 4),
                Tif(true, {{257, 3, 9}, {300, 3, 1}, {256, 3, 8}}), LongTif(false, 20, 7, 8), LongTif(true, 30, 9, 10)}},
  };
}

std::string Mutate(std::string d, std::mt19937& rng) {
  auto pick = [&](std::uint32_t n) { return n == 0 ? 0u : std::uniform_int_distribution<std::uint32_t>(0, n - 1)(rng); };
  // Positions favour the header, where the probes look.
  auto position = [&]() { return d.empty() ? 0u : pick(pick(2) ? std::min<std::uint32_t>(d.size(), 48) : d.size()); };
  static const std::uint32_t kInteresting[] = {0, 1, 2, 3, 4, 7, 8, 11, 12, 0x7F, 0x80, 0xFF, 0x100,
                                               0xFFC0, 0xFFC4, 0xFFD9, 0x7FFF, 0x8000, 0xFFFF, 0x10000,
                                               0x7FFFFFFF, 0x80000000u, 0xFFFFFFFEu, 0xFFFFFFFFu};
  const std::uint32_t steps = 1 + pick(4);
  for (std::uint32_t s = 0; s < steps; ++s) {
    switch (pick(7)) {
      case 0: if (!d.empty()) d[position()] ^= static_cast<char>(1 << pick(8)); break;
      case 1: if (!d.empty()) d[position()] = static_cast<char>(pick(256)); break;
      case 2: d.resize(pick(d.size() + 1)); break;
      case 3: {  // a 16- or 32-bit field, either byte order
        const std::uint32_t v = pick(3) == 0 ? d.size() + pick(5) - 2 : kInteresting[pick(std::size(kInteresting))];
        const std::string field = pick(2) ? Bytes().le32(v).s : Bytes().be32(v).s;
        const std::size_t width = pick(2) ? 2 : 4;
        const std::size_t at = position();
        d.replace(at, std::min(width, d.size() - at), pick(2) ? field.substr(0, width) : field.substr(4 - width));
        break;
      }
      case 4: d.insert(position(), std::string(1 + pick(8), static_cast<char>(pick(256)))); break;
      case 5: if (!d.empty()) { const auto at = position(); d.erase(at, 1 + pick(8)); } break;
      case 6: for (std::uint32_t n = pick(16); n > 0; --n) d += static_cast<char>(pick(256)); break;
    }
  }
  return d;
}

TEST(GetDimensionRobustness, MutatedHeadersGiveASizeOrTheExpectedMessage) {
  const fs::path folder = fs::temp_directory_path() / ("ear_probe_fuzz_" + std::to_string(::getpid()));
  fs::create_directories(folder);
  // A walk that never ends would hang the test run: SIGALRM ends it as a failure.
  ::alarm(120);
  std::mt19937 rng(20261210);
  constexpr int kRoundsPerFormat = 3000;
  int failures = 0, sizes = 0, errors = 0;
  // <chrono> does not compile with -fexec-charset=CP932 (gcc 12): the POSIX clock instead.
  timespec start{}, end{};
  ::clock_gettime(CLOCK_MONOTONIC, &start);
  for (const Format& format : Formats()) {
    for (int round = 0; round < kRoundsPerFormat && failures < 5; ++round) {
      // A new name each round: truncating a file in place makes ext4 flush it to disk.
      const std::string file = (folder / ("fuzz" + std::to_string(round) + format.extension)).string();
      const std::string& seed = format.seeds[round % format.seeds.size()];
      const std::string data = round < static_cast<int>(format.seeds.size()) ? seed : Mutate(seed, rng);
      std::ofstream(file, std::ios::binary) << data;
      std::string outcome;
      try {
        std::uint32_t w = 0, h = 0;
        GetDimension(file, w, h);
        outcome = std::to_string(w) + "x" + std::to_string(h);
        ++sizes;
      } catch (const Error& e) {
        outcome = e.Message();
        ++errors;
      }
      const std::string expected = Model(file, data).Outcome(format.extension);
      if (outcome != expected) {
        ++failures;
        std::string hex;
        for (unsigned char c : data.substr(0, 96)) {
          char buf[4];
          std::snprintf(buf, sizeof buf, "%02X ", c);
          hex += buf;
        }
        ADD_FAILURE() << file << " round " << round << " (" << data.size() << " bytes): " << hex
                      << "\n  got:      " << outcome << "\n  expected: " << expected;
      }
      fs::remove(file);
    }
  }
  ::alarm(0);
  fs::remove_all(folder);
  ::clock_gettime(CLOCK_MONOTONIC, &end);
  const double seconds = static_cast<double>(end.tv_sec - start.tv_sec) + (end.tv_nsec - start.tv_nsec) * 1e-9;
  std::printf("%d probes: %d sizes, %d errors, %.2f s\n", sizes + errors, sizes, errors, seconds);
  EXPECT_GT(sizes, 1000);  // the mutations keep enough files valid to test the reads
}

}  // namespace
}  // namespace ear
