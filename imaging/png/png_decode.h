#pragma once
// PNG decoding into straight-alpha B G R A rows, for the files whose pixels we know GDI+
// gives alike; everything else is left to GDI+.
#include <cstddef>
#include <optional>

#include "imaging/decoded_image.h"

namespace ear {

// B G R A per pixel (alpha not premultiplied), top row first, stride width * 4.
// Returns std::nullopt for any file it does not take on exactly as the system's decoder
// would (16-bit samples, colour management chunks, any damage): the caller then hands the
// file to GDI+. Never reads outside data[0, size).
std::optional<DecodedImage> DecodePng(const unsigned char* data, std::size_t size);

}  // namespace ear
