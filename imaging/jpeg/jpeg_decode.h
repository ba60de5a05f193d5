#pragma once
// JPEG decoding into rows ready for a 24-bit Windows DIB.
#include <cstddef>
#include <vector>

namespace ear {

struct DecodedImage {
  int width = 0;
  int height = 0;
  std::size_t stride = 0;               // bytes per row, a multiple of 4
  std::vector<unsigned char> pixels;    // height rows, top row first, B G R per pixel

  const unsigned char* Row(int y) const { return pixels.data() + stride * static_cast<std::size_t>(y); }
};

// Throws ear::Error with libjpeg's message when the data is not a complete, valid JPEG
// (truncated and corrupt entropy data included).
DecodedImage DecodeJpeg(const unsigned char* data, std::size_t size);

}  // namespace ear
