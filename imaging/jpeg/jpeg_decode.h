#pragma once
// JPEG decoding into rows ready for a 24-bit or 32-bit Windows DIB.
#include <cstddef>
#include <functional>

#include "imaging/decoded_image.h"

namespace ear {

// Where DecodeJpegInto writes: asked once, with the picture's size and the row stride
// (padded to 4 bytes), for a top-down buffer of that many rows with zeroed padding; returns
// its first row, or null when there is none (the decode then fails).
using JpegRowTarget = std::function<unsigned char*(int width, int height, std::size_t stride)>;

// Decodes straight into the caller's buffer (a DIB section's bits), with no copy between.
// Throws as DecodeJpeg does; the buffer may then hold part of the picture.
void DecodeJpegInto(const unsigned char* data, std::size_t size, PixelLayout layout, const JpegRowTarget& target);

// Throws ear::Error with libjpeg's message when the data is not a complete, valid JPEG
// (truncated and corrupt entropy data included).
DecodedImage DecodeJpeg(const unsigned char* data, std::size_t size, PixelLayout layout = PixelLayout::Bgr24);

}  // namespace ear
