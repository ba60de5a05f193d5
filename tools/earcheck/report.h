#pragma once
// earcheck's two outputs: the text report for people and the JSON document.
#include <string>
#include <vector>

#include "tools/earcheck/check.h"

namespace earcheck {

// Text in Shift-JIS bytes (the caller converts it for the terminal); the package
// path is given in the terminal's form.
std::string TextReport(const PackageReport& report, const std::string& shownPath);

// A severity's name in the JSON document and in the page's markup: "error", "warning", "info".
const char* SeverityName(Severity s);

// The words that the text report and the report page share (Shift-JIS).
const char* SeverityLabel(Severity s);                  // "エラー", "警告", "情報"
std::string ModeWords(const PackageReport& report);     // "会場モード（会場コードと受験番号）"
std::string ExamTypeWords(const PackageReport& report);  // "「1」（標準のレイアウト）"
const char* Verdict(const PackageReport& report);        // "配布できます"
std::string ResultWords(const PackageReport& report);    // "エラー 0 件、警告 0 件、情報 3 件（配布できます）"

// One JSON document, UTF-8: {"packages": [...]}.
std::string JsonReport(const std::vector<PackageReport>& reports);

}  // namespace earcheck
