#include "screens/title_rules.h"

#include "base/sjis.h"

namespace ear {

GradeSplit SplitGradeName(std::string_view gradeName) {
  GradeSplit split;
  if (gradeName.empty()) return split;
  const std::size_t firstLength = CharLength(gradeName, 0);
  split.first = std::string(gradeName.substr(0, firstLength));
  std::size_t end = firstLength;
  for (std::size_t count = 0; end < gradeName.size() && count < kGradeRestMaxChars; ++count) {
    end += CharLength(gradeName, end);
  }
  split.rest = std::string(gradeName.substr(firstLength, end - firstLength));
  return split;
}

}  // namespace ear
