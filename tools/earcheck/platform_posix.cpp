#include <dirent.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include "package/candidate_folder.h"
#include "tools/earcheck/platform.h"

namespace earcheck {

namespace {

// One conversion with iconv; an unconvertible character becomes `bad` and the
// conversion goes on after it (one byte, or the whole Shift-JIS pair).
std::string Convert(std::string_view in, const char* to, const char* from, std::string_view bad,
                    bool* lossless = nullptr) {
  iconv_t cd = iconv_open(to, from);
  if (lossless) *lossless = true;
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
  std::string out;
  char buffer[256];
  std::size_t pos = 0;
  while (pos < in.size()) {
    char* src = const_cast<char*>(in.data() + pos);
    std::size_t left = in.size() - pos;
    char* dst = buffer;
    std::size_t room = sizeof buffer;
    const std::size_t rc = iconv(cd, &src, &left, &dst, &room);
    out.append(buffer, static_cast<std::size_t>(dst - buffer));
    pos = static_cast<std::size_t>(src - in.data());
    if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
      out += bad;
      if (lossless) *lossless = false;
      const unsigned char c = static_cast<unsigned char>(in[pos]);
      std::size_t skip = 1;
      if (std::string_view(from) == "UTF-8") {
        if (c >= 0xF0) skip = 4; else if (c >= 0xE0) skip = 3; else if (c >= 0xC0) skip = 2;
        // A character cut short is one bad byte: the "/" after it stays a separator.
        for (std::size_t k = 1; k < skip; ++k) {
          if (pos + k >= in.size() || (static_cast<unsigned char>(in[pos + k]) & 0xC0) != 0x80) skip = 1;
        }
      } else if (((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) && pos + 1 < in.size()) {
        const unsigned char t = static_cast<unsigned char>(in[pos + 1]);
        if ((t >= 0x40 && t <= 0x7E) || (t >= 0x80 && t <= 0xFC)) skip = 2;
      }
      pos += std::min(skip, in.size() - pos);
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(cd);
  return out;
}

}  // namespace

Kind KindOf(const std::string& nativePath) {
  struct stat st;
  if (::stat(nativePath.c_str(), &st) != 0) return Kind::Missing;
  if (S_ISDIR(st.st_mode)) return Kind::Folder;
  if (S_ISREG(st.st_mode)) return Kind::File;
  return Kind::Other;
}

std::string FullPath(const std::string& nativePath) {
  std::string full = nativePath;
  if (full.empty() || full[0] != '/') {
    char cwd[PATH_MAX];
    if (::getcwd(cwd, sizeof cwd)) full = std::string(cwd) + "/" + full;
  }
  // Drop "." components and trailing separators; ".." stays, the system resolves it.
  std::string cleaned;
  std::size_t i = 0;
  while (i < full.size()) {
    std::size_t j = full.find('/', i);
    if (j == std::string::npos) j = full.size();
    const std::string part = full.substr(i, j - i);
    if (!part.empty() && part != ".") cleaned += "/" + part;
    i = j + 1;
  }
  return cleaned.empty() ? "/" : cleaned;
}

std::size_t LongestPathInside(const std::string& nativeFolder) {
  std::size_t longest = 0;
  DIR* dir = ::opendir(nativeFolder.c_str());
  if (dir == nullptr) return 0;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    const std::size_t bytes =
        Convert(name, "CP932", "UTF-8", std::string(ear::kUnrepresentableCharBytes, '?')).size();
    longest = std::max(longest, bytes);
    const std::string path = nativeFolder + "/" + name;
    struct stat st;
    if (::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
      const std::size_t below = LongestPathInside(path);
      if (below > 0) longest = std::max(longest, bytes + 1 + below);
    }
  }
  ::closedir(dir);
  return longest;
}

char NativeSeparator() { return '/'; }

std::string LauncherForm(const std::string& nativePath) {
  std::string sjis = Convert(nativePath, "CP932", "UTF-8", "?");
  // "/" is never a second byte of Shift-JIS, so every one is a separator.
  for (char& c : sjis) {
    if (c == '/') c = '\\';
  }
  return sjis;
}

bool NativeName(std::string_view sjis, std::string& name) {
  bool lossless = true;
  name = Convert(sjis, "UTF-8", "CP932", "\xEF\xBF\xBD", &lossless);
  return lossless;
}

std::string Utf8FromSjis(std::string_view sjis) { return Convert(sjis, "UTF-8", "CP932", "\xEF\xBF\xBD"); }

std::string Utf8FromNative(const std::string& nativePath) { return nativePath; }

std::string ConsoleFromSjis(std::string_view sjis) { return Utf8FromSjis(sjis); }

std::string ConsoleFromNative(const std::string& nativePath) { return nativePath; }

bool StderrIsTerminal() { return ::isatty(2) == 1; }

void BinaryStdout() {}

}  // namespace earcheck
