#pragma once
// Decisions of the exam title screen that need no window: the grade split, the
// centring of the exam-name label and the exam-type test.
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

// Left edge of a self-sizing label centred in a screen: (screen - label) / 2,
// halves to the even neighbour.
int CenteredLeft(int screenWidth, int labelWidth);

// True only for the exam type "3" itself ("03", " 3" and "3 " are other types).
bool IsAlternativeExamType(std::string_view examType);

// What the title screen shows as the exam's file name, and what prefixes the
// candidate folder: the file name when set, else the development code.
std::string_view FileNameOrDevCode(std::string_view fileName, std::string_view devCode);

}  // namespace ear
