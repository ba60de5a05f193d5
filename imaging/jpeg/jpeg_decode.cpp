#include "imaging/jpeg/jpeg_decode.h"

#include <csetjmp>
#include <cstdio>
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

std::size_t PaddedStride(int width) { return (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3}; }

// Adobe CMYK JPEGs store inverted ink values; K scales each channel.
void CmykRowToBgr(const unsigned char* in, unsigned char* out, int width, bool inverted) {
  for (int x = 0; x < width; ++x, in += 4, out += 3) {
    int c = in[0], m = in[1], y = in[2], k = in[3];
    if (!inverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
    out[2] = static_cast<unsigned char>(c * k / 255);
    out[1] = static_cast<unsigned char>(m * k / 255);
    out[0] = static_cast<unsigned char>(y * k / 255);
  }
}

// Only C frames of libjpeg lie between setjmp and longjmp here, and no object with a
// destructor is created after setjmp; `row` and `out` belong to the caller.
bool Decode(jpeg_decompress_struct& cinfo, ErrorManager& err, const unsigned char* data,
            std::size_t size, DecodedImage& out, std::vector<unsigned char>& row) {
  if (setjmp(err.jump)) return false;
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, const_cast<unsigned char*>(data), static_cast<unsigned long>(size));
  jpeg_read_header(&cinfo, TRUE);
  const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_start_decompress(&cinfo);
  out.width = static_cast<int>(cinfo.output_width);
  out.height = static_cast<int>(cinfo.output_height);
  out.stride = PaddedStride(out.width);
  out.pixels.assign(out.stride * cinfo.output_height, 0);
  row.resize(static_cast<std::size_t>(cinfo.output_width) * cinfo.output_components);
  while (cinfo.output_scanline < cinfo.output_height) {
    unsigned char* dst = out.pixels.data() + out.stride * cinfo.output_scanline;
    JSAMPROW rows[1] = {row.data()};
    jpeg_read_scanlines(&cinfo, rows, 1);
    if (cmyk) {
      CmykRowToBgr(row.data(), dst, out.width, cinfo.saw_Adobe_marker);
    } else {
      for (int x = 0; x < out.width; ++x) {
        dst[3 * x] = row[3 * x + 2];
        dst[3 * x + 1] = row[3 * x + 1];
        dst[3 * x + 2] = row[3 * x];
      }
    }
  }
  jpeg_finish_decompress(&cinfo);
  return true;
}

}  // namespace

DecodedImage DecodeJpeg(const unsigned char* data, std::size_t size) {
  if (data == nullptr || size == 0) throw Error("JPEG: empty data");
  jpeg_decompress_struct cinfo;
  std::memset(&cinfo, 0, sizeof cinfo);
  ErrorManager err;
  std::memset(&err, 0, sizeof err);
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = ErrorExit;
  err.pub.emit_message = EmitMessage;
  err.pub.output_message = OutputMessage;
  DecodedImage out;
  std::vector<unsigned char> row;
  const bool ok = Decode(cinfo, err, data, size, out, row);
  jpeg_destroy_decompress(&cinfo);
  if (!ok) throw Error(std::string("JPEG: ") + err.message);
  return out;
}

}  // namespace ear
