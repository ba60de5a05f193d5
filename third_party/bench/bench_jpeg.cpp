// Decodes JPEG files the way the launcher does (libjpeg, RGB rows turned into BGR) and
// prints the fastest and the median time per picture:  bench_jpeg RUNS FILE...
// bench_jpeg.sh builds it against libjpeg-turbo with and without SIMD and prints the ratios.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include <jpeglib.h>

static void DecodeOnce(const std::vector<unsigned char>& data, std::vector<unsigned char>& out) {
  jpeg_decompress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, data.data(), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&cinfo, TRUE);
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  const size_t w = cinfo.output_width, stride = (w * 3 + 3) & ~size_t{3};
  out.assign(stride * cinfo.output_height, 0);
  std::vector<unsigned char> row(w * 3);
  while (cinfo.output_scanline < cinfo.output_height) {
    unsigned char* dst = out.data() + stride * cinfo.output_scanline;
    JSAMPROW rows[1] = {row.data()};
    jpeg_read_scanlines(&cinfo, rows, 1);
    for (size_t x = 0; x < w; ++x) {
      dst[3 * x] = row[3 * x + 2];
      dst[3 * x + 1] = row[3 * x + 1];
      dst[3 * x + 2] = row[3 * x];
    }
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
}

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: bench_jpeg RUNS FILE...\n");
    return 2;
  }
  const int runs = std::atoi(argv[1]);
  std::vector<unsigned char> out;
  for (int i = 2; i < argc; ++i) {
    std::ifstream f(argv[i], std::ios::binary);
    const std::vector<unsigned char> data{std::istreambuf_iterator<char>(f), {}};
    DecodeOnce(data, out);  // warm up
    std::vector<double> us;
    for (int r = 0; r < runs; ++r) {
      const auto start = std::chrono::steady_clock::now();
      DecodeOnce(data, out);
      us.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(us.begin(), us.end());
    std::printf("%s %.0f %.0f\n", argv[i], us.front(), us[us.size() / 2]);
  }
  return 0;
}
