#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

#include "base/error.h"
#include "imaging/file_reader.h"

namespace ear {

// O_NONBLOCK: a FIFO or terminal named like a picture must not block the probe.
FileReader::FileReader(const std::string& fileName)
    : fileName_(fileName), handle_(::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)) {
  if (handle_ < 0) throw Error(FileOpenErrorText(fileName, std::strerror(errno)));
}

FileReader::~FileReader() { ::close(static_cast<int>(handle_)); }

std::size_t FileReader::ReadAt(std::int64_t position, void* buffer, std::size_t count) {
  if (!readable_ || position < 0) return 0;
  ssize_t got;
  do {
    got = ::pread(static_cast<int>(handle_), buffer, count, position);
  } while (got < 0 && errno == EINTR);
  if (got < 0) {
    // open() accepts a folder; Windows refuses it at the open, so fail the same way.
    if (errno == EISDIR) throw Error(FileOpenErrorText(fileName_, std::strerror(EISDIR)));
    readable_ = false;
    return 0;
  }
  return static_cast<std::size_t>(got);
}

}  // namespace ear
