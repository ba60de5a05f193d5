#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "tools/earcheck/output_file.h"

namespace earcheck {

OutputFile::OutputFile(std::string fullFile) : file_(std::move(fullFile)), handle_(-1) {
  for (int attempt = 1; attempt < 1000; ++attempt) {
    temp_ = TemporaryName(file_, static_cast<unsigned long>(::getpid()), attempt);
    // O_EXCL also refuses a link of that name: nothing but a new file is written.
    const int fd = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      handle_ = fd;
      open_ = true;
      return;
    }
    if (errno != EEXIST) break;
  }
  Fail();
}

OutputFile::~OutputFile() { Discard(); }

void OutputFile::Fail() {
  if (reason_.empty()) reason_ = std::strerror(errno);
}

void OutputFile::Close() {
  if (handle_ < 0) return;
  if (::close(static_cast<int>(handle_)) != 0) Fail();
  handle_ = -1;
}

void OutputFile::Discard() {
  Close();
  if (open_) ::unlink(temp_.c_str());
  open_ = false;
}

bool OutputFile::Write(std::string_view bytes) {
  while (Ok() && !bytes.empty()) {
    const ssize_t n = ::write(static_cast<int>(handle_), bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      Fail();
      break;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return Ok();
}

void OutputFile::Flush() {
  if (::fsync(static_cast<int>(handle_)) != 0 && errno != EINVAL) Fail();
}

void OutputFile::Replace() {
  if (::rename(temp_.c_str(), file_.c_str()) != 0) Fail();
}

namespace {

struct DirCloser {
  void operator()(DIR* d) const { ::closedir(d); }
};

// Any entry under `folder` (links followed, folders walked but never through a link) with the
// identity `want`.
bool Holds(const std::string& folder, const struct stat& want, int depth) {
  if (depth > 64) return false;
  std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.c_str()));
  if (!dir) return false;
  while (const dirent* e = ::readdir(dir.get())) {
    const std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    const std::string path = folder + "/" + name;
    struct stat st;
    if (::stat(path.c_str(), &st) == 0 && st.st_dev == want.st_dev && st.st_ino == want.st_ino) return true;
    struct stat own;
    if (::lstat(path.c_str(), &own) == 0 && S_ISDIR(own.st_mode) && Holds(path, want, depth + 1)) return true;
  }
  return false;
}

}  // namespace

bool IsPackageFile(const std::string& fullFile, const std::string& packageNativePath) {
  struct stat want;
  if (::stat(fullFile.c_str(), &want) != 0 || S_ISDIR(want.st_mode)) return false;
  return Holds(packageNativePath, want, 0);
}

}  // namespace earcheck
