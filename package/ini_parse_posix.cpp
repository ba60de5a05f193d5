// Off Windows the C library's CP932 table stands in for the system's conversion; it
// has the same round-trip characters (and "\" for the yen sign) but none of the
// system's look-alikes, so such characters read as "?" here.
#include <cerrno>
#include <iconv.h>

#include "package/ini_parse.h"

namespace ear {

std::string SjisFromUtf16(std::u16string_view units) {
  std::string bytes;
  bytes.reserve(units.size() * 2);
  for (const char16_t u : units) {
    bytes += static_cast<char>(u & 0xFF);
    bytes += static_cast<char>(u >> 8);
  }
  std::string out;
  iconv_t cd = iconv_open("CP932", "UTF-16LE");
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(units.size(), '?');
  char buffer[4096];
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    char* src = bytes.data() + pos;
    std::size_t left = bytes.size() - pos;
    char* dst = buffer;
    std::size_t room = sizeof buffer;
    const std::size_t rc = iconv(cd, &src, &left, &dst, &room);
    const int error = errno;
    out.append(buffer, static_cast<std::size_t>(dst - buffer));
    pos = static_cast<std::size_t>(src - bytes.data());
    if (rc == static_cast<std::size_t>(-1) && error != E2BIG) {
      // One unit at a time, as the system does: a pair of surrogates gives "??".
      out += '?';
      pos += 2;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(cd);
  return out;
}

}  // namespace ear
