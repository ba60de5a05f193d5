#pragma once
// Decisions of the exam title screen that need no window: the grade split (the exam-name
// label is centred by imaging's CenteredLeft).
#include <string>
#include <string_view>

namespace ear {

// The grade name "級名" split for the two grade labels.
struct GradeSplit {
  std::string first;  // caption of KyuName1Lbl: the first character
  std::string rest;   // caption of KyuLbl2Lbl: characters 2 to 1000
};

// Characters, never bytes: a two-byte Shift-JIS character counts as one, and the
// rest keeps at most kGradeRestMaxChars of them.
inline constexpr std::size_t kGradeRestMaxChars = 999;
GradeSplit SplitGradeName(std::string_view gradeName);

}  // namespace ear
