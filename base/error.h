#pragma once
// The program's one error kind: a message text in Shift-JIS bytes.
#include <stdexcept>
#include <string>

namespace ear {

class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
  std::string Message() const { return what(); }
};

}  // namespace ear
