#pragma once
#include <cstddef>

namespace earcheck {

// The frame size that libjpeg reads from the data's header, before any pixel is
// decoded; false when libjpeg rejects the header.
bool JpegFrameSize(const unsigned char* data, std::size_t size, unsigned& width, unsigned& height);

}  // namespace earcheck
