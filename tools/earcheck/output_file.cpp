#include "tools/earcheck/output_file.h"

#include "base/sjis.h"
#include "tools/earcheck/platform.h"

namespace earcheck {

std::string TemporaryName(const std::string& fullFile, unsigned long process, int attempt) {
  // On Windows a "\" that is the second byte of a two-byte character does not end the folder.
  const std::size_t cut = NativeSeparator() == '\\' ? ear::LastSeparator(fullFile) : fullFile.rfind('/');
  const std::string folder = cut == std::string::npos ? std::string() : fullFile.substr(0, cut + 1);
  return folder + ".earcheck-" + std::to_string(process) + "-" + std::to_string(attempt) + ".tmp";
}

bool OutputFile::Commit() {
  if (Ok()) Flush();
  Close();
  // The rename replaces the destination's own entry: a link is replaced, never followed.
  if (Ok()) Replace();
  if (!Ok()) {
    Discard();
    return false;
  }
  open_ = false;
  return true;
}

bool WriteWholeFile(const std::string& fullFile, std::string_view bytes, std::string& reason) {
  OutputFile out(fullFile);
  if (out.Write(bytes) && out.Commit()) return true;
  reason = out.Reason();
  return false;
}

}  // namespace earcheck
