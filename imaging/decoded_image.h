#pragma once
// A decoded picture: rows of pixels ready for a 24-bit or 32-bit Windows DIB, as the JPEG
// and PNG decoders give them.
#include <cstddef>
#include <vector>

namespace ear {

// B G R per pixel, or B G R 255 (the display's own format: shown by a plain copy).
enum class PixelLayout { Bgr24, Bgra32 };
constexpr int BytesPerPixel(PixelLayout layout) { return layout == PixelLayout::Bgra32 ? 4 : 3; }

struct DecodedImage {
  int width = 0;
  int height = 0;
  int bytesPerPixel = 3;
  std::size_t stride = 0;               // bytes per row, a multiple of 4
  std::vector<unsigned char> pixels;    // height rows, top row first

  const unsigned char* Row(int y) const { return pixels.data() + stride * static_cast<std::size_t>(y); }
};

}  // namespace ear
