#include "tools/earcheck/jpeg_header.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

namespace earcheck {

namespace {

struct Errors {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

void Fail(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<Errors*>(cinfo->err)->jump, 1); }
void Quiet(j_common_ptr) {}

// No object with a destructor lives between setjmp and longjmp.
bool ReadHeader(jpeg_decompress_struct& cinfo, Errors& err, const unsigned char* data,
                std::size_t size) {
  if (setjmp(err.jump)) return false;
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, const_cast<unsigned char*>(data), static_cast<unsigned long>(size));
  jpeg_read_header(&cinfo, TRUE);
  return true;
}

}  // namespace

bool JpegFrameSize(const unsigned char* data, std::size_t size, unsigned& width, unsigned& height) {
  if (data == nullptr || size == 0) return false;
  jpeg_decompress_struct cinfo;
  std::memset(&cinfo, 0, sizeof cinfo);
  Errors err;
  std::memset(&err, 0, sizeof err);
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = Fail;
  err.pub.output_message = Quiet;
  const bool ok = ReadHeader(cinfo, err, data, size);
  if (ok) {
    width = cinfo.image_width;
    height = cinfo.image_height;
  }
  jpeg_destroy_decompress(&cinfo);
  return ok;
}

}  // namespace earcheck
