#pragma once
// The rules of removing the package beyond those of the walk (package/folder_entries.h): the
// tally of what stayed and the one error text of a removal that left entries behind.
#include <cstddef>
#include <string>
#include <string_view>

#include "package/folder_entries.h"

namespace ear {

// Counts the entries that could not be deleted and keeps the first one's system error code.
class RemovalTally {
 public:
  void Failed(unsigned long code) {
    if (failed_ == 0) firstCode_ = code;
    ++failed_;
  }
  std::size_t Count() const { return failed_; }
  unsigned long FirstCode() const { return firstCode_; }

 private:
  std::size_t failed_ = 0;
  unsigned long firstCode_ = 0;
};

// The first failure's system error text, then a line with how many entries stayed.
std::string RemovalFailureText(unsigned long firstCode, std::string_view systemMessage, std::size_t remaining);

}  // namespace ear
