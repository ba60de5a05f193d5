#include "imaging/jpeg/jpeg_decode.h"

#include <csetjmp>
#include <cstdio>
#include <cstdint>
#include <cstring>
#include <string>

#include "base/error.h"

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

namespace ear {
namespace {

struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void ErrorExit(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

// A warning means damaged data (truncation, bad Huffman codes): a half-grey picture is no picture.
void EmitMessage(j_common_ptr cinfo, int level) {
  if (level < 0) ErrorExit(cinfo);
}

void OutputMessage(j_common_ptr) {}

std::size_t PaddedStride(int width, int bytesPerPixel) {
  return (static_cast<std::size_t>(width) * static_cast<std::size_t>(bytesPerPixel) + 3) & ~std::size_t{3};
}

// Adobe CMYK JPEGs store inverted ink values; K scales each channel.
void CmykRowToBgr(const unsigned char* in, unsigned char* out, int width, int bytesPerPixel, bool inverted) {
  for (int x = 0; x < width; ++x, in += 4, out += bytesPerPixel) {
    int c = in[0], m = in[1], y = in[2], k = in[3];
    if (!inverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
    out[2] = static_cast<unsigned char>(c * k / 255);
    out[1] = static_cast<unsigned char>(m * k / 255);
    out[0] = static_cast<unsigned char>(y * k / 255);
    if (bytesPerPixel == 4) out[3] = 255;
  }
}

// Only C frames of libjpeg lie between setjmp and longjmp here, and no object with a
// destructor is created after setjmp; `row` belongs to the caller, and whatever `target`
// makes lives outside this frame.
bool Decode(jpeg_decompress_struct& cinfo, ErrorManager& err, const unsigned char* data,
            std::size_t size, PixelLayout layout, const JpegRowTarget& target, std::vector<unsigned char>& row) {
  if (setjmp(err.jump)) return false;
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, const_cast<unsigned char*>(data), static_cast<unsigned long>(size));
  jpeg_read_header(&cinfo, TRUE);
  const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  const int bytesPerPixel = BytesPerPixel(layout);
  // The library writes the DIB's byte order itself, straight into the rows.
  cinfo.out_color_space = cmyk ? JCS_CMYK : layout == PixelLayout::Bgra32 ? JCS_EXT_BGRA : JCS_EXT_BGR;
  jpeg_start_decompress(&cinfo);
  const int width = static_cast<int>(cinfo.output_width);
  const std::size_t stride = PaddedStride(width, bytesPerPixel);
  // 65500 x 65500 at four bytes a pixel passes 4 GB: on a 32-bit system stride * height would
  // wrap, and the rows would be written past a buffer made from the wrapped size.
  if (cinfo.output_height != 0 && stride > SIZE_MAX / cinfo.output_height) {
    std::strcpy(err.message, "the picture is too large for this system's memory");
    return false;
  }
  unsigned char* const top = target(width, static_cast<int>(cinfo.output_height), stride);
  if (top == nullptr) {
    std::strcpy(err.message, "no room for the picture");
    return false;
  }
  if (cmyk) row.resize(static_cast<std::size_t>(cinfo.output_width) * cinfo.output_components);
  while (cinfo.output_scanline < cinfo.output_height) {
    unsigned char* dst = top + stride * cinfo.output_scanline;
    JSAMPROW rows[1] = {cmyk ? row.data() : dst};
    jpeg_read_scanlines(&cinfo, rows, 1);
    if (cmyk) CmykRowToBgr(row.data(), dst, width, bytesPerPixel, cinfo.saw_Adobe_marker);
  }
  jpeg_finish_decompress(&cinfo);
  return true;
}

}  // namespace

void DecodeJpegInto(const unsigned char* data, std::size_t size, PixelLayout layout, const JpegRowTarget& target) {
  if (data == nullptr || size == 0) throw Error("JPEG: empty data");
  jpeg_decompress_struct cinfo;
  std::memset(&cinfo, 0, sizeof cinfo);
  ErrorManager err;
  std::memset(&err, 0, sizeof err);
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = ErrorExit;
  err.pub.emit_message = EmitMessage;
  err.pub.output_message = OutputMessage;
  std::vector<unsigned char> row;
  const bool ok = Decode(cinfo, err, data, size, layout, target, row);
  jpeg_destroy_decompress(&cinfo);
  if (!ok) throw Error(std::string("JPEG: ") + err.message);
}

DecodedImage DecodeJpeg(const unsigned char* data, std::size_t size, PixelLayout layout) {
  DecodedImage out;
  out.bytesPerPixel = BytesPerPixel(layout);
  DecodeJpegInto(data, size, layout, [&out](int width, int height, std::size_t stride) {
    out.width = width;
    out.height = height;
    out.stride = stride;
    out.pixels.assign(stride * static_cast<std::size_t>(height), 0);
    return out.pixels.data();
  });
  return out;
}

}  // namespace ear
