// The decoder alone: reads and decodes each JPEG named on the command line, as
// earcheck does, and nothing else. The baseline of bench_earcheck.py.
#include <cstdio>
#include <vector>

#include "base/error.h"
#include "imaging/jpeg/jpeg_decode.h"

int main(int argc, char** argv) {
  unsigned long long pixels = 0;
  for (int i = 1; i < argc; ++i) {
    std::FILE* f = std::fopen(argv[i], "rb");
    if (!f) return 1;
    std::fseek(f, 0, SEEK_END);
    std::vector<unsigned char> bytes(static_cast<std::size_t>(std::ftell(f)));
    std::fseek(f, 0, SEEK_SET);
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    bytes.resize(got);
    try {
      const ear::DecodedImage image = ear::DecodeJpeg(bytes.data(), bytes.size());
      pixels += static_cast<unsigned long long>(image.width) * image.height;
    } catch (const ear::Error&) {
      return 1;
    }
  }
  std::printf("%llu\n", pixels);
  return 0;
}
