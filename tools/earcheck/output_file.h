#pragma once
// The files earcheck writes (the page, the preview pictures) are never written in place: the
// bytes go to a new temporary file in the destination's folder, which is renamed over the
// destination once all of them are written. A rename replaces a link, never what it points
// to; a write that fails leaves the old file (or none) and removes its temporary file.
#include <cstdint>
#include <string>
#include <string_view>

namespace earcheck {

class OutputFile {
 public:
  // Makes the temporary file beside `fullFile` (created exclusively, under a name no other
  // file has). Ok() says whether that worked, Reason() why not.
  explicit OutputFile(std::string fullFile);
  // Removes the temporary file unless Commit() has renamed it.
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // False from the first failure on; nothing later is written.
  bool Write(std::string_view bytes);
  // Closes the temporary file and renames it over the destination; false, with the reason,
  // when a write, the close or the rename failed (the destination is then as it was).
  bool Commit();

  bool Ok() const { return reason_.empty(); }
  // The system's reason for the first failure, for the terminal (Shift-JIS).
  const std::string& Reason() const { return reason_; }

 private:
  void Fail();
  void Close();
  void Discard();
  void Flush();    // the bytes on the disk before the rename
  void Replace();  // the temporary file renamed over the destination

  std::string file_, temp_, reason_;
  std::intptr_t handle_;
  bool open_ = false;
};

// The whole of `bytes` as the file `fullFile`, through OutputFile; false with the reason.
bool WriteWholeFile(const std::string& fullFile, std::string_view bytes, std::string& reason);

// Whether `fullFile`, links followed, is one of the files of the package folder
// `packageNativePath`: compared by identity (device and inode natively, volume serial and
// file index on Windows) with every file in it, so a hard link or a link to a file of the
// package counts. False when nothing is at `fullFile`.
bool IsPackageFile(const std::string& fullFile, const std::string& packageNativePath);

// The temporary file's name for `fullFile`: in its folder, named after this process and a
// number that is tried in turn (a name taken by another file is never used).
std::string TemporaryName(const std::string& fullFile, unsigned long process, int attempt);

}  // namespace earcheck
