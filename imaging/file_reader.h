#pragma once
// The file layer of the size probe: one picture file opened read-only without
// sharing and read at given positions. Natively POSIX, on Windows CreateFileA
// (file_reader_posix.cpp / file_reader_win.cpp).
#include <cstddef>
#include <cstdint>
#include <string>

namespace ear {

class FileReader {
 public:
  // Throws ear::Error with the file layer's open error when the file cannot be opened.
  explicit FileReader(const std::string& fileName);
  ~FileReader();  // closes the file
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;

  // Reads up to count bytes at position (from the start of the file); returns the
  // number obtained: fewer at the end of the file, 0 past it or on a read error.
  std::size_t ReadAt(std::int64_t position, void* buffer, std::size_t count);

 private:
  std::string fileName_;
  std::intptr_t handle_;  // owned: fd natively, HANDLE on Windows; closed in the dtor
  bool readable_ = true;  // false for handles that are no disk file (a console, a pipe)
};

// The open error's text: 'ファイル "<name>". <reason> を開けません', the wording of
// the system's other file errors (the file-creation error).
inline std::string FileOpenErrorText(const std::string& fileName, const std::string& reason) {
  return "ファイル \"" + fileName + "\". " + reason + " を開けません";
}

}  // namespace ear
